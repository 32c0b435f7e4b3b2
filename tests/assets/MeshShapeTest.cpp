#include "assets/MeshShape.h"
#include "support/TestMeshes.h"
#include <cmath>
#include <gtest/gtest.h>

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
    Mesh notANumber = cube(), infinite = cube();
    notANumber.vertices[3].x = std::nanf("");
    infinite.vertices[5].y = INFINITY;
    Mesh flat;
    flat.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    flat.indices = {0, 1, 2};
    const Case cases[] = {
        {"cube", cube(), true},          {"inward", inward, false},
        {"one face short", open, false}, {"a triangle twice", doubled, false},
        {"index past the vertices", outside, false}, {"one triangle", flat, false},
        {"shell", sphere(12, 6), true},  {"fireball", sphere(32, 16), true},
        {"empty", Mesh{}, false},        {"a corner not a number", notANumber, false},
        {"a corner at infinity", infinite, false},
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
