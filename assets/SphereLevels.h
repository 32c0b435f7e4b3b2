#pragma once
#include "assets/Mesh.h"
#include <cstdint>
#include <vector>

// Coarser versions of a latitude-longitude sphere, for where it is too small on
// screen for its detail to show: a salvo's hundreds of fireballs, each a few
// pixels across, would otherwise cost the renderer most of a frame. A mesh counts
// as such a sphere when it is laid out exactly as the asset generator lays one
// out (rows of vertices from the south pole to the north, each row once round
// with its seam repeated, the cells split into two triangles except at the poles)
// and every vertex is as far from the origin. A coarser level keeps every k-th
// row and column of the same vertices, so its points, normals and texture
// coordinates are exactly those of a sphere generated that coarse.
class SphereLevels {
public:
    struct Level {
        int segments = 0; // round the equator
        std::vector<std::uint32_t> indices;
    };

    explicit SphereLevels(const Mesh& mesh);

    // Round the equator of the mesh itself; 0 when it is no such sphere.
    int segments() const { return fineSegments; }
    // From fine to coarse, the mesh itself left out; none for other meshes.
    const std::vector<Level>& coarser() const { return levels; }

    // How far inside its circle an outline of `segments` sides falls, for a sphere
    // `pixels` in radius on screen.
    static float outlineError(float pixels, int segments);

private:
    int fineSegments = 0;
    std::vector<Level> levels;
};
