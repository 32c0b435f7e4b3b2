#pragma once
#include "world/Body.h"
#include "world/World.h"
#include <cstddef>
#include <cstdint>
#include <vector>

class Object;

// The earliest sphere pair contact of a step; `first` comes before `second` in
// the list. Without one both are null and the time is the whole step.
struct PairContact {
    Object* first = nullptr;
    Object* second = nullptr;
    float time = 0.0f;
};

// Finds the pair contact that testing every pair of a step would find, testing
// only the pairs whose swept boxes meet. Small boxes go into a grid over the
// world's box; large ones (growing explosions, and anything whose numbers the
// cull is not proven for) are tested against every object they may meet.
// Nothing is kept from one call to the next but the capacity of its buffers.
class PairSearch {
public:
    // `live`: the active objects in list order; `bodies` what they hold now.
    PairContact earliest(const std::vector<Object*>& live, const std::vector<Body>& bodies,
                         const WorldBox& box, float dt);

private:
    struct Bounds {
        float lo[3];
        float hi[3];
    };
    struct CellRange {
        std::uint8_t lo[3];
        std::uint8_t hi[3];
    };
    // What a pair test reads of an object, in one stretch.
    struct SweptBox {
        Bounds box;
        std::uint8_t flags;
    };
    // An object in a cell.
    struct Member {
        std::uint32_t object;  // in `live`
        std::uint8_t lowerOn;  // a bit an axis: the cell holds its box's lower corner there
    };

    void measure(const std::vector<Body>& bodies, const WorldBox& box, float dt);
    void bin();
    void searchCells();
    void searchLarge();
    bool meet(std::size_t i, std::size_t j) const;
    void consider(std::size_t i, std::size_t j);

    const std::vector<Body>* spheres = nullptr;
    float step = 0.0f;
    int cells[3] = {1, 1, 1}; // per axis
    float origin[3] = {0.0f, 0.0f, 0.0f};
    float perUnit[3] = {0.0f, 0.0f, 0.0f}; // cells per world unit

    // Per object, by position in `live`.
    std::vector<SweptBox> swept;
    std::vector<CellRange> ranges;
    std::vector<std::uint8_t> flags;

    std::vector<std::uint32_t> movers;    // not resting
    std::vector<std::uint32_t> large;     // not in the grid
    std::vector<std::uint32_t> cellStart; // per cell, movers first, then the resting
    std::vector<Member> entries;          // grouped by cellStart

    // The best so far, in the plain search's order.
    bool found = false;
    std::size_t bestFirst = 0;
    std::size_t bestSecond = 0;
    float bestTime = 0.0f;
};
