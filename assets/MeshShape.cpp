#include "assets/MeshShape.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

namespace {

// Each vertex's first vertex within `tolerance` of it. The meshes this serves
// have hundreds of vertices and are measured once, at load.
std::vector<std::uint32_t> weld(const std::vector<Vector3>& vertices, float tolerance) {
    std::vector<std::uint32_t> same(vertices.size());
    const float limit = tolerance * tolerance;
    for (std::uint32_t i = 0; i < vertices.size(); ++i) {
        same[i] = i;
        for (std::uint32_t k = 0; k < i; ++k) {
            const Vector3 d = vertices[i] - vertices[k];
            if (same[k] == k && d.x * d.x + d.y * d.y + d.z * d.z <= limit) {
                same[i] = k;
                break;
            }
        }
    }
    return same;
}

} // namespace

MeshShape MeshShape::measure(const Mesh& mesh, float weldDistance) {
    MeshShape shape;
    for (const Vector3& v : mesh.vertices)
        shape.reach = std::max(shape.reach, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    const std::size_t count = mesh.indices.size() / 3 * 3;
    if (count == 0)
        return shape;
    for (const std::uint32_t index : mesh.indices)
        if (index >= mesh.vertices.size())
            return shape;

    // Every directed edge once, and its reverse once: closed and consistently
    // wound. A triangle welded flat has no inside and is left out.
    const std::vector<std::uint32_t> same = weld(mesh.vertices, weldDistance * shape.reach);
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
    double volumeSix = 0.0;
    for (std::size_t k = 0; k < count; k += 3) {
        const std::uint32_t t[3] = {same[mesh.indices[k]], same[mesh.indices[k + 1]],
                                    same[mesh.indices[k + 2]]};
        if (t[0] == t[1] || t[1] == t[2] || t[2] == t[0])
            continue;
        for (int e = 0; e < 3; ++e)
            if (++edges[{t[e], t[(e + 1) % 3]}] > 1)
                return shape;
        const Vector3& a = mesh.vertices[mesh.indices[k]];
        const Vector3& b = mesh.vertices[mesh.indices[k + 1]];
        const Vector3& c = mesh.vertices[mesh.indices[k + 2]];
        volumeSix += static_cast<double>(a.x) * (b.y * c.z - b.z * c.y) -
                     static_cast<double>(a.y) * (b.x * c.z - b.z * c.x) +
                     static_cast<double>(a.z) * (b.x * c.y - b.y * c.x);
    }
    if (edges.empty())
        return shape;
    for (const auto& edge : edges)
        if (edges.count({edge.first.second, edge.first.first}) == 0)
            return shape;
    // Counter-clockwise from outside encloses a positive volume.
    shape.closed = volumeSix > 0.0;
    return shape;
}
