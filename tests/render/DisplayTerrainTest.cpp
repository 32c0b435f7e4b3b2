#include "support/GLReplay.h"
#include "world/Terrain.h"

namespace {

using DisplayTerrainTest = glreplay::DisplayFixture;
using Args = std::vector<double>;

} // namespace

// One cell: A = (0, 0), B = (0, 1), C = (1, 1), D = (1, 0), drawn A, B, C, C, D, A
// and stretched over the whole extent, the texture turned a quarter turn per
// orientation step. An orientation with no row in the table is laid as 0.
// Grids of 0 or 1 point have no cells.
TEST_F(DisplayTerrainTest, OneCellIsSixVerticesWithTheOrientationsTextureCorners) {
    Terrain terrain(2, 2, 10.0f, 4.0f, 20.0f);
    const float heights[2][2] = {{0.5f, 0.25f}, {0.0f, 1.0f}};
    for (std::uint32_t i = 0; i < 2; ++i)
        for (std::uint32_t j = 0; j < 2; ++j)
            terrain.cells().at(i, j).height = heights[i][j];
    terrain.cells().at(1, 1).normal = Vector3(0.0f, 0.6f, 0.8f);
    terrain.cells().at(0, 0).texture = 5;
    const Args corners[4][4] = {{{1, 0}, {1, 1}, {0, 1}, {0, 0}},
                                {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
                                {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
                                {{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    for (const int orientation : {0, 1, 2, 3, 4, -1}) {
        SCOPED_TRACE(orientation);
        terrain.cells().at(0, 0).orientation = orientation;
        fakegl::reset();
        display->drawTerrain(terrain);
        EXPECT_EQ(fakegl::args("glColor3f"), (Args{1, 1, 1})); // textures show unmodulated
        EXPECT_EQ(fakegl::boundTexture(), 5u);
        EXPECT_EQ(fakegl::args("glVertex3f"),
                  (Args{0, 2, 0, 0, 1, 20, 10, 4, 20, 10, 4, 20, 10, 0, 0, 0, 2, 0}));
        Args texCoords;
        for (const int corner : {0, 1, 2, 2, 3, 0}) {
            const Args& st = corners[orientation >= 0 && orientation < 4 ? orientation : 0][corner];
            texCoords.insert(texCoords.end(), st.begin(), st.end());
        }
        EXPECT_EQ(fakegl::args("glTexCoord2fv"), texCoords);
        const Args normals = fakegl::args("glNormal3f"); // A's is up, C's its own
        ASSERT_EQ(normals.size(), 18u);
        EXPECT_EQ(Args(normals.begin(), normals.begin() + 9),
                  (Args{0, 1, 0, 0, 1, 0, 0, 0.6f, 0.8f}));
    }
    for (const std::uint32_t size : {0u, 1u}) {
        fakegl::reset();
        display->drawTerrain(Terrain(size, size, 1.0f, 1.0f, 1.0f));
        EXPECT_EQ(fakegl::count("glBegin"), 0u) << size;
    }
}
