#include "assets/SphereLevels.h"
#include "support/TestMeshes.h"
#include <gtest/gtest.h>

namespace {

// The corners of the triangles, by position.
std::vector<Vector3> corners(const Mesh& mesh, const std::vector<std::uint32_t>& indices) {
    std::vector<Vector3> points;
    for (const std::uint32_t index : indices)
        points.push_back(mesh.vertices.at(index));
    return points;
}

} // namespace

// Each coarser level draws, triangle by triangle and corner by corner, what a
// sphere generated that coarse draws, from the fine sphere's own vertices (so
// with its normals and texture coordinates too).
TEST(SphereLevels, CoarserLevelsAreTheSpheresGeneratedThatCoarse) {
    struct Case {
        int slices, stacks;
        std::vector<int> coarser;
    };
    for (const Case& c : {Case{48, 24, {24, 16, 12, 8, 6, 4}}, Case{32, 16, {16, 8, 4}},
                          Case{12, 6, {6, 4}}, Case{7, 3, {}}, Case{6, 3, {}}}) {
        SCOPED_TRACE(std::to_string(c.slices) + " x " + std::to_string(c.stacks));
        const Mesh fine = sphere(c.slices, c.stacks);
        const SphereLevels levels(fine);
        EXPECT_EQ(levels.segments(), c.slices);
        ASSERT_EQ(levels.coarser().size(), c.coarser.size());
        for (std::size_t k = 0; k < c.coarser.size(); ++k) {
            const SphereLevels::Level& level = levels.coarser()[k];
            ASSERT_EQ(level.segments, c.coarser[k]);
            const Mesh coarse = sphere(level.segments, c.stacks * level.segments / c.slices);
            const std::vector<Vector3> drawn = corners(fine, level.indices);
            const std::vector<Vector3> expected = corners(coarse, coarse.indices);
            ASSERT_EQ(drawn.size(), expected.size());
            for (std::size_t i = 0; i < drawn.size(); ++i)
                ASSERT_LT(length(drawn[i] - expected[i]), 1e-5f) << "corner " << i;
        }
    }
}

// Only a mesh laid out exactly as a generated sphere, and round, has levels: a
// coarser level of anything else would drop or bend its triangles.
TEST(SphereLevels, OtherMeshesHaveNone) {
    Mesh swapped = sphere(16, 8), flattened = sphere(16, 8), short_ = sphere(16, 8),
         past = sphere(16, 8);
    std::swap(swapped.indices[4], swapped.indices[5]);
    for (Vector3& v : flattened.vertices)
        v.y *= 0.5f;
    short_.indices.resize(short_.indices.size() - 3);
    past.indices.back() = static_cast<std::uint32_t>(past.vertices.size());
    Mesh noTriangles = sphere(16, 8);
    noTriangles.indices.clear();
    struct Case {
        const char* what;
        Mesh mesh;
    };
    const Case cases[] = {{"cube", cube()},
                          {"a triangle turned", swapped},
                          {"flattened", flattened},
                          {"one triangle short", short_},
                          {"index past the vertices", past},
                          {"vertices alone", noTriangles},
                          {"empty", Mesh{}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SphereLevels levels(c.mesh);
        EXPECT_EQ(levels.segments(), 0);
        EXPECT_TRUE(levels.coarser().empty());
    }
}

TEST(SphereLevels, OutlineErrorIsTheGapBetweenCircleAndPolygon) {
    struct Case {
        float pixels;
        int segments;
        float gap;
    };
    for (const Case& c :
         {Case{10, 8, 0.7612f}, Case{100, 32, 0.4815f}, Case{0, 8, 0.0f}, Case{1, 4, 0.2929f}}) {
        SCOPED_TRACE(c.segments);
        EXPECT_NEAR(SphereLevels::outlineError(c.pixels, c.segments), c.gap, 1e-4f);
    }
}
