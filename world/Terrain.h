#pragma once
#include "world/Matrix.h"
#include "world/TerrainBand.h"
#include "world/Vector3.h"
#include <cstdint>
#include <vector>

// One vertex of the heightfield. `texture` and `orientation` belong to the cell
// whose lower-x, lower-z corner this vertex is.
struct TerrainCell {
    float height = 0.0f; // relative; world height is height * size().y
    Vector3 normal{0.0f, 0.0f, 0.0f};
    std::uint32_t texture = 0;    // 0 = none yet
    std::int32_t orientation = 0; // 0 to 3
};

// The battlefield: W x H vertices; vertex (i, j) stands at x = i * size.x / W,
// z = j * size.z / H for everything the physics does (the drawing stretches the
// surface to the full extent instead).
class Terrain {
public:
    Terrain(std::uint32_t width, std::uint32_t height, float sizeX, float heightScale, float sizeZ);

    void setBands(const std::vector<TerrainBand>& newBands);
    // Raises n random hills on the current ground, squares and rescales to low..high.
    void generate(int iterations, float low, float high);
    // Level ground everywhere: what generate raises on it then depends on the
    // seed alone, as machines that start a game together need.
    void flatten();
    // Over the vertex rectangle x0..x1, z0..z1: only triangles inside it count.
    void recomputeNormals(std::uint32_t x0, std::uint32_t z0, std::uint32_t x1, std::uint32_t z1);
    // Over the grid points i0..i1, j0..j1: neighbours outside mark nothing.
    void assignTextures(std::uint32_t i0, std::uint32_t j0, std::uint32_t i1, std::uint32_t j1);
    // Removes the ground inside the sphere, then brings normals and tiles up to
    // date: exactly what passes over the whole grid would give, but redone only
    // where they can change.
    void crater(const Vector3& centre, float radius);

    const Vector3& size() const { return extent; }
    // World height of vertex (i, j); callers clamp the indices first.
    float heightAt(std::uint32_t i, std::uint32_t j) const {
        return grid.at(i, j).height * extent.y;
    }
    std::uint32_t width() const { return grid.width(); }
    std::uint32_t height() const { return grid.height(); }
    const Matrix<TerrainCell>& cells() const { return grid; }
    // For editing the grid by hand. The next crater then redoes normals and tiles
    // over the whole grid, so the reference must not be kept past it.
    Matrix<TerrainCell>& cells();
    const std::vector<TerrainBand>& bands() const { return bandList; }

private:
    struct Rect {
        std::uint32_t x0, z0, x1, z1; // inclusive
    };
    // A stretch of the tile passes: the grid points it visits and the cells it
    // fills, cells x0 <= i < xEnd, z0 <= j < zEnd.
    struct TileSpan {
        Rect points;
        std::uint32_t cellX0, cellZ0, cellXEnd, cellZEnd;
    };

    void normalsOver(const Rect& vertices, const Rect& domain);
    void retileAround(const Rect* dug);
    void clearTiles(const TileSpan& span);
    void tilePasses(const TileSpan* spans, int count);
    void noteFirstEdgeTiles();

    Matrix<TerrainCell> grid;
    Vector3 extent;
    std::vector<TerrainBand> bandList;
    // Scratch kept between runs so that a crater allocates nothing. The hot loops
    // index these and the cell storage (row after row, as Matrix lays it out)
    // directly, after checking the rectangle once.
    std::vector<Vector3> upperNormals; // per cell: triangle (i, j + 1), (i + 1, j + 1), (i, j)
    std::vector<Vector3> lowerNormals; // per cell: triangle (i + 1, j), (i, j), (i + 1, j + 1)
    std::vector<double> cellMeans;     // per cell: mean corner height
    // Per grid point, the tile pass that textured it, with a border of one point
    // all round; points outside the region hold a value no pass has.
    std::vector<std::uint32_t> paddedLevels;

    // What lets a crater redo only what it changes. Normals and tiles are current
    // when they are what passes over the whole grid give for the heights (and, for
    // tiles, the levels left in paddedLevels are that pass's too).
    bool normalsCurrent = false;
    bool tilesCurrent = false;
    bool bandsNamed = true; // no band has a texture name 0 (see TerrainTextures.cpp)
    // Grid points of the last column and of the last row that the last tile pass
    // gave their first tile, as index ranges first..last (none: first > last).
    std::uint32_t columnFirst = 1, columnLast = 0;
    std::uint32_t rowFirst = 1, rowLast = 0;
};
