#include "assets/MeshShape.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {

// Each vertex's first vertex within `tolerance` of it. Only vertices whose x
// lies near its own can be, so those are found in an order sorted by x: the
// fireball's thousand-odd vertices compared pair by pair cost milliseconds of
// the game's start. The window is twice the tolerance, and not below where a
// difference squares to nothing in float, so it holds every vertex the exact
// test below passes; a vertex whose x is NaN is within reach of none.
std::vector<std::uint32_t> weld(const std::vector<Vector3>& vertices, float tolerance) {
    const std::uint32_t count = static_cast<std::uint32_t>(vertices.size());
    std::vector<std::uint32_t> byX;
    byX.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        if (!std::isnan(vertices[i].x))
            byX.push_back(i);
    const auto xOf = [&](std::uint32_t i) { return vertices[i].x; };
    std::sort(byX.begin(), byX.end(),
              [&](std::uint32_t a, std::uint32_t b) { return xOf(a) < xOf(b); });

    std::vector<std::uint32_t> same(count);
    const float limit = tolerance * tolerance;
    const float window = std::max(2.0f * tolerance, 1e-22f);
    for (std::uint32_t i = 0; i < count; ++i) {
        same[i] = i;
        const float x = vertices[i].x;
        if (std::isnan(x))
            continue;
        const auto first = std::lower_bound(byX.begin(), byX.end(), x - window,
                                            [&](std::uint32_t k, float v) { return xOf(k) < v; });
        const auto last = std::upper_bound(first, byX.end(), x + window,
                                           [&](float v, std::uint32_t k) { return v < xOf(k); });
        for (auto k = first; k != last; ++k) {
            const Vector3 d = vertices[i] - vertices[*k];
            if (*k < same[i] && same[*k] == *k && d.x * d.x + d.y * d.y + d.z * d.z <= limit)
                same[i] = *k;
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
    using Edge = std::pair<std::uint32_t, std::uint32_t>;
    std::vector<Edge> edges;
    edges.reserve(count);
    double volumeSix = 0.0;
    for (std::size_t k = 0; k < count; k += 3) {
        const std::uint32_t t[3] = {same[mesh.indices[k]], same[mesh.indices[k + 1]],
                                    same[mesh.indices[k + 2]]};
        if (t[0] == t[1] || t[1] == t[2] || t[2] == t[0])
            continue;
        for (int e = 0; e < 3; ++e)
            edges.emplace_back(t[e], t[(e + 1) % 3]);
        const Vector3& a = mesh.vertices[mesh.indices[k]];
        const Vector3& b = mesh.vertices[mesh.indices[k + 1]];
        const Vector3& c = mesh.vertices[mesh.indices[k + 2]];
        volumeSix += static_cast<double>(a.x) * (b.y * c.z - b.z * c.y) -
                     static_cast<double>(a.y) * (b.x * c.z - b.z * c.x) +
                     static_cast<double>(a.z) * (b.x * c.y - b.y * c.x);
    }
    if (edges.empty())
        return shape;
    std::sort(edges.begin(), edges.end());
    if (std::adjacent_find(edges.begin(), edges.end()) != edges.end())
        return shape;
    for (const Edge& edge : edges)
        if (!std::binary_search(edges.begin(), edges.end(), Edge(edge.second, edge.first)))
            return shape;
    // Counter-clockwise from outside encloses a positive volume.
    shape.closed = volumeSix > 0.0;
    return shape;
}
