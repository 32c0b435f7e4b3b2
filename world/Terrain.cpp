#include "world/Terrain.h"
#include "assets/TraceSink.h"
#include "world/GridIndex.h"
#include "world/Random.h"
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

// Heights are relative (0 upward, world height = height * size.y). The physics and
// the crater place vertex (i, j) at x = i * size.x / W, z = j * size.z / H, a
// spacing of size / W rather than size / (W - 1); normals use the same spacing so
// the lighting matches the ground the shells meet.

Terrain::Terrain(std::uint32_t width, std::uint32_t height, float sizeX, float heightScale,
                 float sizeZ)
    : grid(width, height), extent(sizeX, heightScale, sizeZ),
      upperNormals(static_cast<std::size_t>(width) * height),
      lowerNormals(static_cast<std::size_t>(width) * height),
      cellMeans(static_cast<std::size_t>(width) * height),
      paddedLevels((static_cast<std::size_t>(width) + 2) * (static_cast<std::size_t>(height) + 2)) {
    for (std::uint32_t j = 0; j < height; ++j)
        for (std::uint32_t i = 0; i < width; ++i) {
            TerrainCell& cell = grid.at(i, j);
            cell.height = 0.0f;
            cell.normal = Vector3(0.0f, 1.0f, 0.0f);
        }
}

void Terrain::setBands(const std::vector<TerrainBand>& newBands) {
    bandList = newBands;
    tilesCurrent = false;
    bandsNamed = std::all_of(bandList.begin(), bandList.end(), [](const TerrainBand& band) {
        return std::all_of(std::begin(band.textures), std::end(band.textures),
                           [](std::uint32_t name) { return name != 0; });
    });
}

Matrix<TerrainCell>& Terrain::cells() {
    normalsCurrent = false;
    tilesCurrent = false;
    return grid;
}

void Terrain::flatten() {
    for (std::uint32_t j = 0; j < grid.height(); ++j)
        for (std::uint32_t i = 0; i < grid.width(); ++i)
            grid.at(i, j).height = 0.0f;
}

void Terrain::generate(int iterations, float low, float high) {
    const std::uint32_t w = grid.width();
    const std::uint32_t h = grid.height();
    if (w == 0 || h == 0)
        return;
    Random random;

    // Hills: paraboloids of random place, radius and strength. The offsets stop one
    // short of +r; those would add nothing anyway.
    const int m = static_cast<int>(std::min(w, h));
    for (int n = 0; n < iterations; ++n) {
        const int cx = random.range(0, static_cast<int>(w));
        const int cz = random.range(0, static_cast<int>(h));
        const int r = random.range(2, m / 5);
        const int k = random.range(0, 101);
        const float s = static_cast<float>(k) / 100.0f;
        for (int dx = -r; dx < r; ++dx)
            for (int dz = -r; dz < r; ++dz) {
                const int x = cx + dx;
                const int z = cz + dz;
                const int d2 = dx * dx + dz * dz;
                if (x >= 0 && x < static_cast<int>(w) && z >= 0 && z < static_cast<int>(h) &&
                    d2 <= r * r)
                    grid.at(x, z).height += static_cast<float>(r * r - d2) * s;
            }
    }

    // Squaring sharpens the peaks and flattens the valleys before the rescale.
    float lowest = 0.0f;
    float highest = 0.0f;
    for (std::uint32_t j = 0; j < h; ++j)
        for (std::uint32_t i = 0; i < w; ++i) {
            float& height = grid.at(i, j).height;
            height = height * height;
            if ((i == 0 && j == 0) || height < lowest)
                lowest = height;
            if ((i == 0 && j == 0) || height > highest)
                highest = height;
        }

    // A grid without any relief has no range to map from: it all goes to low.
    const float range = highest - lowest;
    for (std::uint32_t j = 0; j < h; ++j)
        for (std::uint32_t i = 0; i < w; ++i) {
            float& height = grid.at(i, j).height;
            if (range > 0.0f)
                height = (height - lowest) / range * (high - low) + low;
            else
                height = low;
        }

    recomputeNormals(0, 0, w - 1, h - 1);
    assignTextures(0, 0, w - 1, h - 1);
}

void Terrain::recomputeNormals(std::uint32_t x0, std::uint32_t z0, std::uint32_t x1,
                               std::uint32_t z1) {
    const std::uint32_t w = grid.width();
    const std::uint32_t h = grid.height();
    if (w == 0 || h == 0)
        return;
    assert(x0 <= x1 && x1 < w && z0 <= z1 && z1 < h && "normals of a rectangle inside the grid");
    if (x0 > x1 || z0 > z1 || x1 >= w || z1 >= h)
        return;
    const Rect rect{x0, z0, x1, z1};
    normalsOver(rect, rect);
    normalsCurrent = x0 == 0 && z0 == 0 && x1 == w - 1 && z1 == h - 1;
}

// Vertex normals over `vertices`, counting the triangles of the cells inside
// `domain` only. With the whole grid as the domain a vertex gets the normal the
// whole-grid pass gives it, to the bit, wherever it lies: the same triangles,
// formed and added in the same order.
void Terrain::normalsOver(const Rect& vertices, const Rect& domain) {
    const std::uint32_t w = grid.width();
    const TerrainCell* cells = &grid.at(0, 0);
    Vector3* upper = upperNormals.data();
    Vector3* lower = lowerNormals.data();
    const float dx = extent.x / static_cast<float>(w);
    const float dz = extent.z / static_cast<float>(grid.height());
    const float sy = extent.y;

    // Triangle normals of the domain's cells that touch the vertices. Both
    // triangles of a cell are built so that they face upward.
    const std::uint32_t i0 = std::max(vertices.x0, domain.x0 + 1) - 1;
    const std::uint32_t j0 = std::max(vertices.z0, domain.z0 + 1) - 1;
    const std::uint32_t i1 = std::min(vertices.x1 + 1, domain.x1); // one past the last
    const std::uint32_t j1 = std::min(vertices.z1 + 1, domain.z1);
    for (std::uint32_t j = j0; j < j1; ++j)
        for (std::uint32_t i = i0; i < i1; ++i) {
            const std::size_t n = static_cast<std::size_t>(j) * w + i;
            const float h00 = cells[n].height;
            const float h10 = cells[n + 1].height;
            const float h01 = cells[n + w].height;
            const float h11 = cells[n + w + 1].height;
            upper[n] = normalized(
                cross(Vector3(dx, (h11 - h01) * sy, 0.0f), Vector3(0.0f, (h00 - h01) * sy, -dz)));
            lower[n] = normalized(
                cross(Vector3(-dx, (h00 - h10) * sy, 0.0f), Vector3(0.0f, (h11 - h10) * sy, dz)));
        }

    // Each vertex averages the (up to six) triangles that meet at it: both of the
    // cells up-right and down-left of it, one each of the other two. The average is
    // deliberately not normalised again.
    TerrainCell* out = &grid.at(0, 0);
    for (std::uint32_t j = vertices.z0; j <= vertices.z1; ++j)
        for (std::uint32_t i = vertices.x0; i <= vertices.x1; ++i) {
            const std::size_t n = static_cast<std::size_t>(j) * w + i;
            const bool right = i < domain.x1; // cells (i, .) lie inside
            const bool left = i > domain.x0;  // cells (i - 1, .) lie inside
            const bool up = j < domain.z1;    // cells (., j) lie inside
            const bool down = j > domain.z0;  // cells (., j - 1) lie inside
            Vector3 sum(0.0f, 0.0f, 0.0f);
            int count = 0;
            if (right && up) {
                sum += upper[n];
                sum += lower[n];
                count += 2;
            }
            if (left && down) {
                sum += upper[n - w - 1];
                sum += lower[n - w - 1];
                count += 2;
            }
            if (left && up) {
                sum += lower[n - 1];
                ++count;
            }
            if (right && down) {
                sum += upper[n - w];
                ++count;
            }
            if (count != 0) {
                out[n].normal = sum / static_cast<float>(count);
            } else {
                TraceLine() << "No count";
                out[n].normal = sum;
            }
        }
}

void Terrain::crater(const Vector3& centre, float radius) {
    const std::uint32_t w = grid.width();
    const std::uint32_t h = grid.height();
    if (w == 0 || h == 0)
        return;
    const float dx = extent.x / static_cast<float>(w);
    const float dz = extent.z / static_cast<float>(h);
    const float sy = extent.y;

    // One vertex of margin on each side of the sphere's footprint.
    const std::uint32_t i0 =
        clampedGridIndex((centre.x - radius) / extent.x * static_cast<float>(w) - 1.0f, w);
    const std::uint32_t i1 =
        clampedGridIndex((centre.x + radius) / extent.x * static_cast<float>(w) + 1.0f, w);
    const std::uint32_t j0 =
        clampedGridIndex((centre.z - radius) / extent.z * static_cast<float>(h) - 1.0f, h);
    const std::uint32_t j1 =
        clampedGridIndex((centre.z + radius) / extent.z * static_cast<float>(h) + 1.0f, h);

    // The vertices whose height changed, as a rectangle (none while x0 > x1).
    Rect dug{w, h, 0, 0};
    for (std::uint32_t j = j0; j <= j1; ++j)
        for (std::uint32_t i = i0; i <= i1; ++i) {
            const float ox = static_cast<float>(i) * dx - centre.x;
            const float oz = static_cast<float>(j) * dz - centre.z;
            float& height = grid.at(i, j).height;
            const float before = height;
            const float ground = height * sy;
            const float q = radius * radius - ox * ox - oz * oz;
            if (q <= 0.0f)
                continue;
            // The sphere spans centre.y - s to centre.y + s above this vertex: ground
            // over its top loses the whole chord, ground inside drops to its bottom.
            const float s = std::sqrt(q);
            if (ground > centre.y + s)
                height += (ground - (centre.y + s)) / sy;
            if (ground > centre.y - s)
                height -= (ground - (centre.y - s)) / sy;
            if (height < 0.0f)
                height = 0.0f;
            if (std::memcmp(&before, &height, sizeof height) != 0) {
                dug.x0 = std::min(dug.x0, i);
                dug.z0 = std::min(dug.z0, j);
                dug.x1 = std::max(dug.x1, i);
                dug.z1 = std::max(dug.z1, j);
            }
        }

    // A normal reads the heights one vertex round it, so only the normals within
    // one vertex of the dug ones change; an explosion in the air changes none.
    // Grids without cells keep the whole pass, which reports their vertices.
    const bool local = w >= 2 && h >= 2;
    const bool anyDug = dug.x0 <= dug.x1;
    if (local && normalsCurrent) {
        if (anyDug)
            normalsOver(Rect{dug.x0 == 0 ? 0 : dug.x0 - 1, dug.z0 == 0 ? 0 : dug.z0 - 1,
                             std::min(dug.x1 + 1, w - 1), std::min(dug.z1 + 1, h - 1)},
                        Rect{0, 0, w - 1, h - 1});
    } else {
        recomputeNormals(0, 0, w - 1, h - 1);
    }
    if (local && tilesCurrent && bandsNamed)
        retileAround(anyDug ? &dug : nullptr);
    else
        assignTextures(0, 0, w - 1, h - 1);
}
