#include "world/Terrain.h"
#include <algorithm>
#include <cassert>
#include <cstddef>

// Tile assignment. Each band takes the cells whose mean corner height lies below
// its threshold (phase B); before that, the untextured cells that touch ground of
// the band before get one of that band's transition tiles (phase A), turned so
// that its lower-band part faces those neighbours. A grid point's `levels` entry
// is the pass that textured it; the next pass looks for it.
//
// Texture corner (0, 0) lies at D, C, B, A of the cell for orientations 0, 1, 2, 3
// (A = (i, j), B = (i, j + 1), C = (i + 1, j + 1), D = (i + 1, j)).
//
// The last row and column of grid points start no cell and are never cleared, so
// in the first run after construction they can take a tile and mark corners of
// their drawn neighbours; later they keep that tile and stay unmarked. The drawn
// tiles of a freshly built terrain depend on that, so it is kept.

namespace {

constexpr std::uint32_t outside = 0xffffffffu; // a level no pass reaches

constexpr unsigned cornerA = 1;
constexpr unsigned cornerB = 2;
constexpr unsigned cornerC = 4;
constexpr unsigned cornerD = 8;

struct Tile {
    int slot; // index into TerrainBand::textures
    int orientation;
};

// The transition tile for each set of marked corners (slot -1: none marked).
constexpr Tile tileFor[16] = {
    {-1, 0}, // none
    {1, 3},  // A
    {1, 2},  // B
    {2, 3},  // A B
    {1, 1},  // C
    {4, 1},  // A C, opposite
    {2, 2},  // B C
    {3, 0},  // A B C: D unmarked
    {1, 0},  // D
    {2, 0},  // A D
    {4, 0},  // B D, opposite
    {3, 1},  // A B D: C unmarked
    {2, 1},  // C D
    {3, 2},  // A C D: B unmarked
    {3, 3},  // B C D: A unmarked
    {0, 0},  // all four
};

} // namespace

void Terrain::assignTextures(std::uint32_t i0, std::uint32_t j0, std::uint32_t i1,
                             std::uint32_t j1) {
    const std::uint32_t w = grid.width();
    const std::uint32_t h = grid.height();
    if (w == 0 || h == 0)
        return;
    assert(i0 <= i1 && i1 < w && j0 <= j1 && j1 < h && "tiles of a region inside the grid");
    if (i0 > i1 || j0 > j1 || i1 >= w || j1 >= h)
        return;
    TerrainCell* cells = &grid.at(0, 0);

    // Levels start at 0 inside the region; the border and everything outside the
    // region never match, so a neighbour outside the region marks no corner.
    const std::size_t stride = static_cast<std::size_t>(w) + 2;
    std::fill(paddedLevels.begin(), paddedLevels.end(), outside);
    for (std::uint32_t j = j0; j <= j1; ++j)
        std::fill_n(paddedLevels.begin() + (j + 1) * stride + i0 + 1, i1 - i0 + 1, 0u);
    const auto levelAt = [&](std::uint32_t i, std::uint32_t j) {
        return paddedLevels.data() + (j + 1) * stride + i + 1;
    };

    // Heights do not change during the run: each cell's mean is formed once.
    for (std::uint32_t i = i0; i < i1; ++i)
        for (std::uint32_t j = j0; j < j1; ++j) {
            const std::size_t n = static_cast<std::size_t>(j) * w + i;
            cells[n].texture = 0;
            cellMeans[n] = (static_cast<double>(cells[n].height) + cells[n + 1].height +
                            cells[n + w].height + cells[n + w + 1].height) /
                           4.0;
        }

    for (std::size_t band = 0; band < bandList.size(); ++band) {
        const std::uint32_t pass = static_cast<std::uint32_t>(band) + 1;

        // Phase A: transition tiles from the band before. Levels change as the walk
        // goes, so the order of the walk is kept.
        if (band > 0) {
            const TerrainBand& previous = bandList[band - 1];
            const std::uint32_t below = pass - 1;
            const std::ptrdiff_t s = static_cast<std::ptrdiff_t>(stride);
            for (std::uint32_t i = i0; i <= i1; ++i)
                for (std::uint32_t j = j0; j <= j1; ++j) {
                    TerrainCell& cell = cells[static_cast<std::size_t>(j) * w + i];
                    if (cell.texture != 0)
                        continue;
                    std::uint32_t* p = levelAt(i, j);
                    const bool xMinus = p[-1] == below;
                    const bool xPlus = p[1] == below;
                    const bool zMinus = p[-s] == below;
                    const bool zPlus = p[s] == below;
                    unsigned marked = 0;
                    if (p[-s - 1] == below || xMinus || zMinus)
                        marked |= cornerA;
                    if (xMinus || p[s - 1] == below || zPlus)
                        marked |= cornerB;
                    if (zPlus || p[s + 1] == below || xPlus)
                        marked |= cornerC;
                    if (zMinus || p[-s + 1] == below || xPlus)
                        marked |= cornerD;
                    if (marked == 0)
                        continue;
                    const Tile& tile = tileFor[marked];
                    cell.texture = previous.textures[tile.slot];
                    cell.orientation = tile.orientation;
                    *p = pass;
                }
        }

        // Phase B: full tiles of this band; the last band takes whatever is left.
        const TerrainBand& current = bandList[band];
        const bool last = band + 1 == bandList.size();
        for (std::uint32_t i = i0; i < i1; ++i)
            for (std::uint32_t j = j0; j < j1; ++j) {
                const std::size_t n = static_cast<std::size_t>(j) * w + i;
                TerrainCell& cell = cells[n];
                if (cell.texture == 0 && (last || cellMeans[n] < current.threshold)) {
                    *levelAt(i, j) = pass;
                    cell.texture = current.textures[0];
                    cell.orientation = 0;
                }
            }
    }
}
