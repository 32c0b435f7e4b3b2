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
//
// A crater redoes the tiles only where they can change, and gets exactly what a
// run over the whole grid would. Why, when no band has a texture name 0 (with a 0
// a tiled cell still looks untiled and can be tiled again, so the crater takes the
// whole grid):
// - Every point is tiled at most once in a run, and its level is the pass that
//   tiled it. Within phase A of pass L the points of level L - 1 are fixed, so a
//   point's marks do not depend on the order of the walk; phase B looks at the
//   cell alone. A run thus computes, with b(p) the first band that takes cell p
//   in phase B: pass(p) = min(b(p), 1 + pass of a neighbour), at most the band
//   count n (a point of the last row or column has no b and can stay untiled;
//   one tiled in an earlier run is skipped and passes nothing on).
// - A cell's tile follows from its own pass and b and its neighbours' passes.
// - Between two runs only two things change: the means of the cells around the
//   dug points, and the points of the last row and column tiled for the first
//   time in the previous run, which are now skipped. A pass travels one point a
//   pass and passes are 1..n, so a pass can change within n - 1 points of those,
//   and a tile within n points.
// - So tiles, levels and the last row's and column's tiles outside that reach are
//   the previous run's, and a run over the points within reach, reading the
//   levels kept outside it, gives the whole run's result to the bit. The regions
//   may overlap: a point visited twice in a phase gets the same answer.

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

    // Levels start at 0 inside the region; the border and everything outside the
    // region never match, so a neighbour outside the region marks no corner.
    std::fill(paddedLevels.begin(), paddedLevels.end(), outside);
    const TileSpan region{Rect{i0, j0, i1, j1}, i0, j0, i1, j1};
    clearTiles(region);
    tilePasses(&region, 1);

    // Only a run over the whole grid leaves levels that a crater can build on.
    tilesCurrent = i0 == 0 && j0 == 0 && i1 == w - 1 && j1 == h - 1;
    if (tilesCurrent)
        noteFirstEdgeTiles();
}

// Tiles anew the points within reach of the dug points (none: null) and of the
// last run's first tiles in the last row and column (see the note at the top).
// With neither, a run over the whole grid would find everything as it is.
void Terrain::retileAround(const Rect* dug) {
    const std::int64_t w = grid.width();
    const std::int64_t h = grid.height();
    const std::int64_t reach = static_cast<std::int64_t>(bandList.size());
    const auto span = [&](std::int64_t x0, std::int64_t z0, std::int64_t x1, std::int64_t z1) {
        const auto clampTo = [](std::int64_t v, std::int64_t count) {
            return static_cast<std::uint32_t>(std::clamp<std::int64_t>(v, 0, count - 1));
        };
        const Rect points{clampTo(x0, w), clampTo(z0, h), clampTo(x1, w), clampTo(z1, h)};
        // Its cells are those of its points that start one.
        return TileSpan{points, points.x0, points.z0,
                        std::min(points.x1 + 1, static_cast<std::uint32_t>(w - 1)),
                        std::min(points.z1 + 1, static_cast<std::uint32_t>(h - 1))};
    };
    TileSpan spans[3];
    int count = 0;
    // The cells whose means changed have a corner among the dug points.
    const auto at = [](std::uint32_t v) { return static_cast<std::int64_t>(v); };
    if (dug != nullptr)
        spans[count++] = span(at(dug->x0) - 1 - reach, at(dug->z0) - 1 - reach, at(dug->x1) + reach,
                              at(dug->z1) + reach);
    if (columnFirst <= columnLast)
        spans[count++] =
            span(w - 1 - reach, at(columnFirst) - reach, w - 1, at(columnLast) + reach);
    if (rowFirst <= rowLast)
        spans[count++] = span(at(rowFirst) - reach, h - 1 - reach, at(rowLast) + reach, h - 1);
    if (count == 0)
        return;
    for (int k = 0; k < count; ++k)
        clearTiles(spans[k]);
    tilePasses(spans, count);
    noteFirstEdgeTiles();
}

// Levels 0 over the span's points; its cells lose their tiles and have their
// means formed (heights do not change during a run).
void Terrain::clearTiles(const TileSpan& span) {
    const std::uint32_t w = grid.width();
    const std::size_t stride = static_cast<std::size_t>(w) + 2;
    for (std::uint32_t j = span.points.z0; j <= span.points.z1; ++j)
        std::fill_n(paddedLevels.begin() + (j + 1) * stride + span.points.x0 + 1,
                    span.points.x1 - span.points.x0 + 1, 0u);
    TerrainCell* cells = &grid.at(0, 0);
    for (std::uint32_t i = span.cellX0; i < span.cellXEnd; ++i)
        for (std::uint32_t j = span.cellZ0; j < span.cellZEnd; ++j) {
            const std::size_t n = static_cast<std::size_t>(j) * w + i;
            cells[n].texture = 0;
            cellMeans[n] = (static_cast<double>(cells[n].height) + cells[n + 1].height +
                            cells[n + w].height + cells[n + w + 1].height) /
                           4.0;
        }
}

void Terrain::tilePasses(const TileSpan* spans, int count) {
    const std::uint32_t w = grid.width();
    TerrainCell* cells = &grid.at(0, 0);
    const std::size_t stride = static_cast<std::size_t>(w) + 2;
    const auto levelAt = [&](std::uint32_t i, std::uint32_t j) {
        return paddedLevels.data() + (j + 1) * stride + i + 1;
    };

    for (std::size_t band = 0; band < bandList.size(); ++band) {
        const std::uint32_t pass = static_cast<std::uint32_t>(band) + 1;

        // Phase A: transition tiles from the band before. Levels change as the walk
        // goes, so the order of the walk is kept.
        if (band > 0) {
            const TerrainBand& previous = bandList[band - 1];
            const std::uint32_t below = pass - 1;
            const std::ptrdiff_t s = static_cast<std::ptrdiff_t>(stride);
            for (int k = 0; k < count; ++k) {
                const Rect& r = spans[k].points;
                for (std::uint32_t i = r.x0; i <= r.x1; ++i)
                    for (std::uint32_t j = r.z0; j <= r.z1; ++j) {
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
        }

        // Phase B: full tiles of this band; the last band takes whatever is left.
        const TerrainBand& current = bandList[band];
        const bool last = band + 1 == bandList.size();
        for (int k = 0; k < count; ++k) {
            const TileSpan& r = spans[k];
            for (std::uint32_t i = r.cellX0; i < r.cellXEnd; ++i)
                for (std::uint32_t j = r.cellZ0; j < r.cellZEnd; ++j) {
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
}

// A point of the last row or column that has a level got its first tile in this
// run: from the next run on it is skipped.
void Terrain::noteFirstEdgeTiles() {
    const std::uint32_t w = grid.width();
    const std::uint32_t h = grid.height();
    const std::size_t stride = static_cast<std::size_t>(w) + 2;
    const auto level = [&](std::uint32_t i, std::uint32_t j) {
        return paddedLevels[(j + 1) * stride + i + 1];
    };
    // As first..last ranges; none is 1..0.
    const auto note = [](std::uint32_t k, std::uint32_t& first, std::uint32_t& last) {
        if (first > last)
            first = k;
        last = k;
    };
    columnFirst = rowFirst = 1;
    columnLast = rowLast = 0;
    for (std::uint32_t j = 0; j < h; ++j)
        if (level(w - 1, j) != 0)
            note(j, columnFirst, columnLast);
    for (std::uint32_t i = 0; i < w; ++i)
        if (level(i, h - 1) != 0)
            note(i, rowFirst, rowLast);
}
