#include "assets/SphereLevels.h"
#include <cmath>

namespace {

// The coarsest sphere: 4 round and 2 high, 8 triangles, for a sphere 3 pixels
// in radius, whose outline it keeps within a pixel.
constexpr int fewestSegments = 4;
constexpr int fewestStacks = 2;
constexpr float roundness = 1e-3f; // spread of the vertices' distances, of the radius

// The triangles of a grid of `slices` x `stacks` cells over rows of `row`
// vertices, taking every `step`-th row and column.
std::vector<std::uint32_t> gridIndices(int slices, int stacks, int row, int step) {
    std::vector<std::uint32_t> indices;
    indices.reserve(static_cast<std::size_t>(slices) * (2 * stacks - 2) * 3);
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const auto at = [&](int dj, int di) {
                return static_cast<std::uint32_t>(((j + dj) * row + (i + di)) * step);
            };
            if (j > 0) {
                indices.insert(indices.end(), {at(0, 0), at(1, 1), at(0, 1)});
            }
            if (j + 1 < stacks) {
                indices.insert(indices.end(), {at(0, 0), at(1, 0), at(1, 1)});
            }
        }
    return indices;
}

bool round(const std::vector<Vector3>& vertices) {
    float nearest = INFINITY, farthest = 0.0f;
    for (const Vector3& v : vertices) {
        const float r = std::sqrt(dot(v, v));
        nearest = std::fmin(nearest, r);
        farthest = std::fmax(farthest, r);
    }
    return farthest > 0.0f && farthest - nearest <= roundness * farthest;
}

} // namespace

SphereLevels::SphereLevels(const Mesh& mesh) {
    const std::size_t vertexCount = mesh.vertices.size();
    // Every (stacks + 1) x (slices + 1) layout the vertex count allows; the
    // triangle count rules out all but one before any index is compared.
    for (std::size_t rows = fewestStacks + 1; rows <= vertexCount / (fewestSegments + 1); ++rows) {
        if (vertexCount % rows != 0)
            continue;
        const std::size_t stacks = rows - 1, slices = vertexCount / rows - 1;
        if (slices < fewestSegments || mesh.indices.size() != slices * (2 * stacks - 2) * 3 ||
            mesh.indices != gridIndices(static_cast<int>(slices), static_cast<int>(stacks),
                                        static_cast<int>(slices + 1), 1) ||
            !round(mesh.vertices))
            continue;
        fineSegments = static_cast<int>(slices);
        for (std::size_t step = 2; slices / step >= fewestSegments && stacks / step >= fewestStacks;
             ++step)
            if (slices % step == 0 && stacks % step == 0) {
                Level level;
                level.segments = static_cast<int>(slices / step);
                level.indices = gridIndices(level.segments, static_cast<int>(stacks / step),
                                            static_cast<int>(slices + 1), static_cast<int>(step));
                levels.push_back(std::move(level));
            }
        return;
    }
}

float SphereLevels::outlineError(float pixels, int segments) {
    return pixels * (1.0f - std::cos(3.14159265f / static_cast<float>(segments)));
}
