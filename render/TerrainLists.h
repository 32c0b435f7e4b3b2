#pragma once
#include "world/Terrain.h"
#include "world/Vector3.h"
#include <cstdint>
#include <functional>
#include <vector>

// The terrain's drawing compiled into display lists, one per strip of a few
// rows of cells (a range of i, every j), called in order each frame. Each strip
// keeps a copy of the grid points it was compiled from and of the texture the
// walk over all cells has bound when it reaches the strip; a strip is compiled
// again only when one of these differs, so a crater costs the strips it dug
// into and the frame needs nothing from the terrain but its cells. Calling the
// lists issues exactly the calls of the walk over all cells, binds included.
// Owns the lists and deletes them when destroyed (with the GL context alive).
class TerrainLists {
public:
    static constexpr std::uint32_t rowsPerStrip = 4;

    // Fills a list with the calls that draw the cell rows [firstRow, endRow),
    // entering with the given texture bound by the walk (0 at the walk's
    // start); true when OpenGL built it without an error.
    using Compile = std::function<bool(std::uint32_t list, std::uint32_t firstRow,
                                       std::uint32_t endRow, std::uint32_t enteringTexture)>;

    TerrainLists() = default;
    ~TerrainLists();
    TerrainLists(const TerrainLists&) = delete;
    TerrainLists& operator=(const TerrainLists&) = delete;

    // Compiles the strips that no longer match the terrain. False when a list
    // could not be built: then every list is gone and the caller draws call by
    // call.
    bool update(const Terrain& terrain, const Compile& compile);
    // Calls the strips' lists in order.
    void call() const;
    void release();

private:
    struct Strip {
        std::uint32_t list = 0;
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
