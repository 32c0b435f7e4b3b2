#include "render/Display.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "world/Terrain.h"
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DisplayTerrainTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        display = std::make_unique<Display>();
        fakegl::reset();
    }
    CaptureStreams streams;
    std::unique_ptr<Display> display;
};

struct Vertex {
    std::vector<double> texCoord, normal, position;
};

// The vertices of the triangle batches in order, each with the texture coordinate
// and normal current when it was issued.
std::vector<Vertex> triangleVertices() {
    std::vector<Vertex> vertices;
    std::vector<double> texCoord, normal;
    bool inTriangles = false;
    for (const fakegl::Call& c : fakegl::calls()) {
        if (c.name == "glBegin")
            inTriangles = c.args[0] == GL_TRIANGLES;
        else if (c.name == "glEnd")
            inTriangles = false;
        else if (c.name == "glTexCoord2f" || c.name == "glTexCoord2fv")
            texCoord = c.args;
        else if (c.name == "glNormal3f" || c.name == "glNormal3fv")
            normal = c.args;
        else if (inTriangles && (c.name == "glVertex3f" || c.name == "glVertex3fv"))
            vertices.push_back({texCoord, normal, c.args});
    }
    return vertices;
}

} // namespace

// One cell: A = (0, 0), B = (0, 1), C = (1, 1), D = (1, 0), drawn A, B, C, C, D, A.
TEST_F(DisplayTerrainTest, OneCellIsSixVerticesWithTheOrientationsTextureCorners) {
    Terrain terrain(2, 2, 10.0f, 4.0f, 20.0f);
    terrain.cells().at(0, 0).height = 0.5f;  // A
    terrain.cells().at(0, 1).height = 0.25f; // B
    terrain.cells().at(1, 1).height = 1.0f;  // C
    terrain.cells().at(1, 0).height = 0.0f;  // D
    terrain.cells().at(1, 1).normal = Vector3(0.0f, 0.6f, 0.8f);
    terrain.cells().at(0, 0).texture = 5;
    using V = std::vector<double>;
    const std::vector<V> positions = {{0, 2, 0},   {0, 1, 20}, {10, 4, 20},
                                      {10, 4, 20}, {10, 0, 0}, {0, 2, 0}};
    // Texture coordinates of A, B, C, D per orientation: a quarter turn a step.
    const V corners[4][4] = {
        {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
        {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
        {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
    };
    const int cornerOfVertex[6] = {0, 1, 2, 2, 3, 0};
    for (int orientation = 0; orientation < 4; ++orientation) {
        SCOPED_TRACE(orientation);
        terrain.cells().at(0, 0).orientation = orientation;
        fakegl::reset();
        display->drawTerrain(terrain);
        EXPECT_EQ(fakegl::count("glBegin"), 1u);
        EXPECT_EQ(fakegl::boundTexture(), 5u);
        const std::vector<Vertex> vertices = triangleVertices();
        ASSERT_EQ(vertices.size(), 6u);
        for (int n = 0; n < 6; ++n) {
            SCOPED_TRACE(n);
            EXPECT_EQ(vertices[n].position, positions[n]);
            EXPECT_EQ(vertices[n].texCoord, corners[orientation][cornerOfVertex[n]]);
        }
        EXPECT_NEAR(vertices[2].normal[1], 0.6, 1e-6);
        EXPECT_NEAR(vertices[2].normal[2], 0.8, 1e-6);
        EXPECT_EQ(vertices[0].normal, (V{0, 1, 0}));
    }
    // An orientation with no row in the table is laid as orientation 0.
    for (const int bad : {4, -1}) {
        SCOPED_TRACE(bad);
        terrain.cells().at(0, 0).orientation = bad;
        fakegl::reset();
        display->drawTerrain(terrain);
        const std::vector<Vertex> vertices = triangleVertices();
        ASSERT_EQ(vertices.size(), 6u);
        for (int n = 0; n < 6; ++n)
            EXPECT_EQ(vertices[n].texCoord, corners[0][cornerOfVertex[n]]);
    }
}

// 63 x 63 cells of six vertices; the surface spans the full 200 units.
TEST_F(DisplayTerrainTest, GameGridIsOneBatchPerCellStretchedToTheExtent) {
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    display->drawTerrain(terrain);
    EXPECT_EQ(fakegl::count("glBegin"), 63u * 63u);
    EXPECT_EQ(fakegl::count("glEnd"), 63u * 63u);
    const std::vector<Vertex> vertices = triangleVertices();
    ASSERT_EQ(vertices.size(), 23814u);
    double maxX = 0, maxZ = 0;
    for (const Vertex& v : vertices) {
        maxX = std::max(maxX, v.position[0]);
        maxZ = std::max(maxZ, v.position[2]);
    }
    EXPECT_EQ(maxX, 200.0);
    EXPECT_EQ(maxZ, 200.0);
    // The colour is white before the first cell, so textures show unmodulated.
    EXPECT_EQ(fakegl::calls().front().name, "glColor3f");
    EXPECT_EQ(fakegl::calls().front().args, (std::vector<double>{1, 1, 1}));
}

// Rows of equal texture along j: a bind only where the texture changes.
TEST_F(DisplayTerrainTest, TexturesAreBoundOnlyWhenTheyChange) {
    Terrain terrain(4, 4, 3.0f, 1.0f, 3.0f);
    // Cell order is i outer, j inner: textures 1, 1, 2 | 2, 2, 0 | 0, 3, 3.
    const std::uint32_t textures[3][3] = {{1, 1, 2}, {2, 2, 0}, {0, 3, 3}};
    for (std::uint32_t i = 0; i < 3; ++i)
        for (std::uint32_t j = 0; j < 3; ++j)
            terrain.cells().at(i, j).texture = textures[i][j];
    display->drawTerrain(terrain);
    std::vector<double> binds;
    for (const fakegl::Call& c : fakegl::callsNamed("glBindTexture"))
        binds.push_back(c.args[1]);
    EXPECT_EQ(binds, (std::vector<double>{1, 2, 0, 3}));
}

TEST_F(DisplayTerrainTest, FirstCellWithoutTextureKeepsWhatWasBound) {
    Terrain terrain(3, 3, 2.0f, 1.0f, 2.0f);
    display->bindTexture(9);
    fakegl::reset();
    display->drawTerrain(terrain);
    EXPECT_EQ(fakegl::count("glBindTexture"), 0u);
}

// The normal lines stand on the physics grid (spacing 200 / 64), so the last
// column's line starts at 196.875 while the surface there is at 200.
TEST_F(DisplayTerrainTest, NormalLinesStartOnThePhysicsGrid) {
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    terrain.cells().at(63, 0).height = 0.5f;
    terrain.cells().at(63, 0).normal = Vector3(0.0f, 2.0f, 0.0f);
    display->setShowNormals(true);
    display->setLighting(false);
    fakegl::reset();
    display->drawTerrain(terrain);

    std::vector<fakegl::Call> lines;
    bool inLines = false;
    for (const fakegl::Call& c : fakegl::calls()) {
        if (c.name == "glBegin")
            inLines = c.args[0] == GL_LINES;
        else if (c.name == "glEnd")
            inLines = false;
        else if (inLines && c.name.rfind("glVertex", 0) == 0)
            lines.push_back(c);
    }
    ASSERT_EQ(lines.size(), 2u * 64u * 64u);
    // Grid point (0, 0) first: a vertical line of the normal's length.
    EXPECT_EQ(lines[0].args, (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(lines[1].args, (std::vector<double>{0, 1, 0}));
    // Grid point (63, 0): i outer, j inner, so it is the 63 * 64-th point.
    const std::size_t at = 2u * 63u * 64u;
    EXPECT_EQ(lines[at].args, (std::vector<double>{196.875, 100, 0}));
    EXPECT_EQ(lines[at + 1].args, (std::vector<double>{196.875, 102, 0}));
    // Lighting comes back on whatever it was.
    EXPECT_TRUE(fakegl::isEnabled(GL_LIGHTING));
}

TEST_F(DisplayTerrainTest, GridsWithoutCellsDrawNoTriangles) {
    for (const std::uint32_t size : {0u, 1u}) {
        SCOPED_TRACE(size);
        Terrain terrain(size, size, 1.0f, 1.0f, 1.0f);
        fakegl::reset();
        display->drawTerrain(terrain);
        EXPECT_EQ(fakegl::count("glBegin"), 0u);
    }
}
