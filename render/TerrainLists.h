#pragma once
#include "world/Terrain.h"
#include "world/Vector3.h"
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The terrain's drawing compiled into display lists, one per strip of a few
// rows of cells (a range of i, every j), drawn in order each frame. Each strip
// keeps a copy of the grid points it was last drawn from and of the texture the
// walk over all cells has bound when it reaches the strip. A strip whose copy
// differs (a crater dug into it) is drawn call by call that frame, and compiled
// only once a frame finds it as it was, at most compilesPerFrame strips a frame:
// a crater's frame pays no compilation at all, the frames after it a bounded
// share, and ground that changes every frame is never compiled in vain.
// Drawing the strips issues exactly the calls of the walk over all cells, binds
// included. Owns the lists and deletes them when destroyed (with the GL context
// alive).
class TerrainLists {
public:
    static constexpr std::uint32_t rowsPerStrip = 4;
    static constexpr std::size_t compilesPerFrame = 2;

    // Fills a list with the calls that draw the cell rows [firstRow, endRow),
    // entering with the given texture bound by the walk (0 at the walk's
    // start); true when OpenGL built it without an error.
    using Compile = std::function<bool(std::uint32_t list, std::uint32_t firstRow,
                                       std::uint32_t endRow, std::uint32_t enteringTexture)>;
    // Draws the cell rows [firstRow, endRow) call by call, entering as above.
    using Walk = std::function<void(std::uint32_t firstRow, std::uint32_t endRow,
                                    std::uint32_t enteringTexture)>;

    TerrainLists() = default;
    ~TerrainLists();
    TerrainLists(const TerrainLists&) = delete;
    TerrainLists& operator=(const TerrainLists&) = delete;

    // Draws the whole terrain, strip by strip, from the lists where they match
    // it and through `walk` where not, compiling the strips that have settled.
    // False when a list could not be built: the terrain is drawn all the same,
    // every list is gone and the caller had better walk from then on.
    bool draw(const Terrain& terrain, const Compile& compile, const Walk& walk);
    void release();

private:
    struct Strip {
        std::uint32_t list = 0;
        bool listed = false; // the list draws the points below
        std::uint32_t enteringTexture = 0;
        std::vector<TerrainCell> points; // grid rows firstRow to endRow, both included
    };
    // Copies the strip's grid points from the terrain; true when any differed.
    static bool refresh(Strip& strip, const Matrix<TerrainCell>& cells, std::uint32_t firstRow,
                        std::uint32_t endRow);

    std::vector<Strip> strips;
    std::uint32_t width = 0; // of the grid the strips were laid out for
    std::uint32_t height = 0;
    Vector3 size{0.0f, 0.0f, 0.0f};
};
