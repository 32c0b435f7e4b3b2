#include "world/Terrain.h"

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
    if (grid.width() == 0 || grid.height() == 0 || i1 >= grid.width() || j1 >= grid.height())
        return;
    for (std::uint32_t j = 0; j < grid.height(); ++j)
        for (std::uint32_t i = 0; i < grid.width(); ++i)
            levels.at(i, j) = 0;
    for (std::uint32_t i = i0; i < i1; ++i)
        for (std::uint32_t j = j0; j < j1; ++j)
            grid.at(i, j).texture = 0;

    // Neighbours outside the region never mark a corner.
    const auto levelIs = [&](std::int64_t i, std::int64_t j, std::uint32_t level) {
        return i >= i0 && i <= static_cast<std::int64_t>(i1) && j >= j0 &&
               j <= static_cast<std::int64_t>(j1) &&
               levels.at(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j)) == level;
    };

    for (std::size_t band = 0; band < bandList.size(); ++band) {
        const std::uint32_t pass = static_cast<std::uint32_t>(band) + 1;

        // Phase A: transition tiles from the band before.
        if (band > 0) {
            const TerrainBand& previous = bandList[band - 1];
            const std::uint32_t below = pass - 1;
            for (std::uint32_t i = i0; i <= i1; ++i)
                for (std::uint32_t j = j0; j <= j1; ++j) {
                    TerrainCell& cell = grid.at(i, j);
                    if (cell.texture != 0)
                        continue;
                    const std::int64_t x = i;
                    const std::int64_t z = j;
                    unsigned marked = 0;
                    if (levelIs(x - 1, z - 1, below) || levelIs(x - 1, z, below) ||
                        levelIs(x, z - 1, below))
                        marked |= cornerA;
                    if (levelIs(x - 1, z, below) || levelIs(x - 1, z + 1, below) ||
                        levelIs(x, z + 1, below))
                        marked |= cornerB;
                    if (levelIs(x, z + 1, below) || levelIs(x + 1, z + 1, below) ||
                        levelIs(x + 1, z, below))
                        marked |= cornerC;
                    if (levelIs(x, z - 1, below) || levelIs(x + 1, z - 1, below) ||
                        levelIs(x + 1, z, below))
                        marked |= cornerD;
                    if (marked == 0)
                        continue;
                    const Tile& tile = tileFor[marked];
                    cell.texture = previous.textures[tile.slot];
                    cell.orientation = tile.orientation;
                    levels.at(i, j) = pass;
                }
        }

        // Phase B: full tiles of this band; the last band takes whatever is left.
        const TerrainBand& current = bandList[band];
        const bool last = band + 1 == bandList.size();
        for (std::uint32_t i = i0; i < i1; ++i)
            for (std::uint32_t j = j0; j < j1; ++j) {
                TerrainCell& cell = grid.at(i, j);
                const double mean = (static_cast<double>(cell.height) + grid.at(i + 1, j).height +
                                     grid.at(i, j + 1).height + grid.at(i + 1, j + 1).height) /
                                    4.0;
                if ((mean < current.threshold || last) && cell.texture == 0) {
                    levels.at(i, j) = pass;
                    cell.texture = current.textures[0];
                    cell.orientation = 0;
                }
            }
    }
}
