#include "render/TerrainLists.h"
#include <GL/gl.h>
#include <algorithm>
#include <cstring>

namespace {

// Bit for bit: a NaN is then equal to itself, and a changed sign of zero counts.
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool sameBits(const Vector3& a, const Vector3& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}
bool sameCell(const TerrainCell& a, const TerrainCell& b) {
    return sameBits(a.height, b.height) && sameBits(a.normal, b.normal) && a.texture == b.texture &&
           a.orientation == b.orientation;
}

} // namespace

TerrainLists::~TerrainLists() {
    release();
}

void TerrainLists::release() {
    for (const Strip& strip : strips)
        if (strip.list != 0)
            glDeleteLists(strip.list, 1);
    strips.clear();
    width = height = 0;
}

bool TerrainLists::refresh(Strip& strip, const Matrix<TerrainCell>& cells, std::uint32_t firstRow,
                           std::uint32_t endRow) {
    const std::uint32_t h = cells.height();
    strip.points.resize(static_cast<std::size_t>(endRow - firstRow + 1) * h);
    bool changed = false;
    std::size_t k = 0;
    for (std::uint32_t i = firstRow; i <= endRow; ++i)
        for (std::uint32_t j = 0; j < h; ++j, ++k) {
            const TerrainCell& now = cells.at(i, j);
            if (!sameCell(strip.points[k], now)) {
                strip.points[k] = now;
                changed = true;
            }
        }
    return changed;
}

bool TerrainLists::draw(const Terrain& terrain, const Compile& compile, const Walk& walk) {
    const Matrix<TerrainCell>& cells = terrain.cells();
    const std::uint32_t w = cells.width();
    const std::uint32_t h = cells.height();
    // Every vertex position depends on the grid's size and extent.
    if (w != width || h != height || !sameBits(terrain.size(), size)) {
        release();
        width = w;
        height = h;
        size = terrain.size();
        if (w >= 2 && h >= 2)
            strips.resize((w - 1 + rowsPerStrip - 1) / rowsPerStrip);
    }

    bool failed = false;
    std::size_t compiles = 0;
    std::uint32_t entering = 0; // what the walk has bound when it reaches the strip
    for (std::size_t s = 0; s < strips.size(); ++s) {
        Strip& strip = strips[s];
        const std::uint32_t firstRow = static_cast<std::uint32_t>(s) * rowsPerStrip;
        const std::uint32_t endRow = std::min(firstRow + rowsPerStrip, w - 1);
        const bool changed =
            refresh(strip, cells, firstRow, endRow) || strip.enteringTexture != entering;
        strip.enteringTexture = entering;
        if (changed)
            strip.listed = false;
        else if (!failed && !strip.listed && compiles < compilesPerFrame) {
            ++compiles;
            if (strip.list == 0)
                strip.list = glGenLists(1);
            failed = strip.list == 0 || !compile(strip.list, firstRow, endRow, entering);
            strip.listed = !failed;
        }
        if (strip.listed)
            glCallList(strip.list);
        else
            walk(firstRow, endRow, entering);
        // The walk binds each cell's texture unless it is bound already, so after
        // any cell its texture is the one bound.
        entering = cells.at(endRow - 1, h - 2).texture;
    }
    if (failed)
        release();
    return !failed;
}
