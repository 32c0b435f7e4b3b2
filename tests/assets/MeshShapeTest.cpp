#include "assets/MeshShape.h"
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A unit cube around the origin, each face counter-clockwise seen from outside.
Mesh cube() {
    Mesh mesh;
    for (int k = 0; k < 8; ++k)
        mesh.vertices.push_back({k & 1 ? 1.0f : -1.0f, k & 2 ? 1.0f : -1.0f, k & 4 ? 1.0f : -1.0f});
    mesh.indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                    2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    return mesh;
}

// Laid out as a generator lays a textured sphere: a seam column and pole rows
// repeating positions, off by the rounding of sin and cos.
Mesh sphere(int slices, int stacks) {
    Mesh mesh;
    for (int j = 0; j <= stacks; ++j)
        for (int i = 0; i <= slices; ++i) {
            const float lat = -1.5707964f + 3.1415927f * j / stacks;
            const float lon = 6.2831855f * i / slices;
            mesh.vertices.push_back({std::cos(lat) * std::cos(lon), std::sin(lat),
                                     std::cos(lat) * std::sin(lon)});
        }
    const std::uint32_t row = slices + 1;
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const std::uint32_t a = j * row + i;
            if (j > 0)
                mesh.indices.insert(mesh.indices.end(), {a, a + row + 1, a + 1});
            if (j + 1 < stacks)
                mesh.indices.insert(mesh.indices.end(), {a, a + row, a + row + 1});
        }
    return mesh;
}

} // namespace

TEST(MeshShape, OnlyClosedOutwardWoundMeshesAreClosed) {
    struct Case {
        const char* what;
        Mesh mesh;
        bool closed;
    };
    Mesh inward = cube(), open = cube(), doubled = cube(), outside = cube();
    for (std::size_t k = 0; k < inward.indices.size(); k += 3)
        std::swap(inward.indices[k + 1], inward.indices[k + 2]);
    open.indices.resize(open.indices.size() - 3);
    doubled.indices.insert(doubled.indices.end(), {0, 2, 3});
    outside.indices.back() = 8;
    Mesh flat;
    flat.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    flat.indices = {0, 1, 2};
    const Case cases[] = {
        {"cube", cube(), true},          {"inward", inward, false},
        {"one face short", open, false}, {"a triangle twice", doubled, false},
        {"index past the vertices", outside, false}, {"one triangle", flat, false},
        {"shell", sphere(12, 6), true},  {"fireball", sphere(32, 16), true},
        {"empty", Mesh{}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MeshShape::measure(c.mesh).closedOutward(), c.closed);
    }
}

TEST(MeshShape, RadiusIsTheFarthestVertex) {
    EXPECT_FLOAT_EQ(MeshShape::measure(cube()).radius(), std::sqrt(3.0f));
    EXPECT_NEAR(MeshShape::measure(sphere(12, 6)).radius(), 1.0f, 1e-6);
    EXPECT_EQ(MeshShape::measure(Mesh{}).radius(), 0.0f);
}
