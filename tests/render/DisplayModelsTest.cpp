#include "GLReplay.h"
#include "assets/Skeleton.h"
#include "render/Display.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "world/Object.h"
#include <GL/gl.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DisplayModelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        display = std::make_unique<Display>();
        fakegl::reset();
    }
    CaptureStreams streams;
    std::unique_ptr<Display> display;
};

// Two triangles over a unit square, indices 0, 1, 2, 2, 3, 0.
Mesh square() {
    Mesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.indices = {0, 1, 2, 2, 3, 0};
    return mesh;
}

std::vector<double> enabledArrays() {
    std::vector<double> arrays;
    for (const fakegl::Call& c : fakegl::callsNamed("glEnableClientState"))
        arrays.push_back(c.args[0]);
    return arrays;
}

std::vector<double> disabledArrays() {
    std::vector<double> arrays;
    for (const fakegl::Call& c : fakegl::callsNamed("glDisableClientState"))
        arrays.push_back(c.args[0]);
    std::sort(arrays.begin(), arrays.end());
    return arrays;
}

const std::vector<double> allArrays = [] {
    std::vector<double> a{GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY};
    std::sort(a.begin(), a.end());
    return a;
}();

} // namespace

TEST_F(DisplayModelsTest, MeshArraysAreEnabledOnlyWhenPresentAndAlwaysDisabled) {
    Mesh full = square();
    full.colors.assign(4, {1, 0, 0});
    full.normals.assign(4, {0, 0, 1});
    full.texCoords.assign(4, {});
    Mesh noIndices = square();
    noIndices.indices.clear();
    struct Case {
        const char* what;
        Mesh mesh;
        std::vector<double> enabled;
        std::size_t draws;
    };
    const Case cases[] = {
        {"vertices only", square(), {GL_VERTEX_ARRAY}, 1},
        {"every array",
         full,
         {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY},
         1},
        {"no indices", noIndices, {}, 0},
        {"empty mesh", Mesh{}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        display->drawMesh(c.mesh);
        EXPECT_EQ(enabledArrays(), c.enabled);
        EXPECT_EQ(disabledArrays(), allArrays);
        const auto draws = fakegl::callsNamed("glDrawElements");
        ASSERT_EQ(draws.size(), c.draws);
        if (c.draws == 0)
            continue;
        // Straight from the mesh's own arrays: nothing is copied.
        EXPECT_EQ(draws[0].args, (std::vector<double>{GL_TRIANGLES, 6, GL_UNSIGNED_INT}));
        EXPECT_EQ(draws[0].pointer, c.mesh.indices.data());
        EXPECT_EQ(fakegl::callsNamed("glVertexPointer")[0].pointer, c.mesh.vertices.data());
        EXPECT_EQ(fakegl::callsNamed("glVertexPointer")[0].args,
                  (std::vector<double>{3, GL_FLOAT, 0}));
    }
}

// An index past the vertices would make OpenGL read beyond the vector.
TEST_F(DisplayModelsTest, MeshWithAnIndexOutOfRangeIsNotDrawn) {
    Mesh mesh = square();
    mesh.normals.assign(4, {0, 0, 1});
    mesh.indices.back() = 4;
    display->setShowNormals(true);
    display->drawMesh(mesh);
    EXPECT_EQ(fakegl::count("glDrawElements"), 0u);
    EXPECT_EQ(fakegl::count("glBegin"), 0u);
    EXPECT_EQ(disabledArrays(), allArrays);
}

TEST_F(DisplayModelsTest, AttributeShorterThanTheVerticesIsLeftOff) {
    Mesh mesh = square();
    mesh.colors.assign(2, {1, 1, 1});
    display->drawMesh(mesh);
    EXPECT_EQ(enabledArrays(), (std::vector<double>{GL_VERTEX_ARRAY}));
    EXPECT_EQ(fakegl::count("glDrawElements"), 1u);
}

TEST_F(DisplayModelsTest, NormalLinesOnePerTriangleFromItsFirstVertex) {
    Mesh mesh = square();
    mesh.normals = {{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 0, 4}};
    display->setShowNormals(true);
    for (const bool lit : {true, false}) {
        SCOPED_TRACE(lit ? "lighting on" : "lighting off");
        fakegl::reset();
        display->setLighting(lit);
        display->drawMesh(mesh);
        const auto vertices = fakegl::callsNamed("glVertex3f");
        ASSERT_EQ(vertices.size(), 4u);
        EXPECT_EQ(vertices[0].args, (std::vector<double>{0, 0, 0})); // vertices[0]
        EXPECT_EQ(vertices[1].args, (std::vector<double>{0, 0, 1})); // plus its normal
        EXPECT_EQ(vertices[2].args, (std::vector<double>{1, 1, 0})); // vertices[2]
        EXPECT_EQ(vertices[3].args, (std::vector<double>{1, 1, 3}));
        const auto colours = fakegl::callsNamed("glColor3f");
        ASSERT_EQ(colours.size(), 4u);
        EXPECT_EQ(colours[0].args, (std::vector<double>{1, 0, 0}));
        EXPECT_EQ(colours[1].args, (std::vector<double>{0, 1, 0}));
        EXPECT_EQ(fakegl::callsNamed("glBegin")[0].args[0], GL_LINES);
        // Lines are drawn unlit, and the lighting comes back as it was.
        EXPECT_LT(glreplay::find("glDisable"), glreplay::find("glBegin"));
        EXPECT_EQ(fakegl::isEnabled(GL_LIGHTING), lit);
    }
}

TEST_F(DisplayModelsTest, NoNormalLinesWithoutANormalForEveryVertex) {
    display->setShowNormals(true);
    Mesh none = square();
    Mesh fewer = square();
    fewer.normals.assign(3, {0, 1, 0});
    for (const Mesh* mesh : {&none, &fewer}) {
        fakegl::reset();
        display->drawMesh(*mesh);
        EXPECT_EQ(fakegl::count("glDrawElements"), 1u);
        EXPECT_EQ(fakegl::count("glBegin"), 0u);
        EXPECT_EQ(fakegl::count("glPushAttrib"), 0u);
    }
}

TEST_F(DisplayModelsTest, NodeWithOnlyAYRotationMakesOneMatrixCall) {
    Skeleton node;
    node.rotate = {0, 90, 0};
    MeshLibrary meshes;
    display->drawSkeleton(node, meshes);
    std::vector<std::string> matrixCalls;
    for (const std::string& name : fakegl::names())
        if (name.rfind("glPush", 0) == 0 || name.rfind("glPop", 0) == 0 || name == "glRotatef" ||
            name == "glTranslatef" || name == "glScalef")
            matrixCalls.push_back(name);
    EXPECT_EQ(matrixCalls, (std::vector<std::string>{"glPushMatrix", "glRotatef", "glPopMatrix"}));
    EXPECT_EQ(fakegl::callsNamed("glRotatef")[0].args, (std::vector<double>{90, 0, 1, 0}));
}

// T * Rx * Ry * Rz * S: scaled first, then rotated, then moved, inside the parent.
TEST_F(DisplayModelsTest, NodeTransformsComposeInsideTheirParents) {
    Skeleton root;
    root.translate = {10, 0, 0};
    Skeleton child;
    child.translate = {1, 0, 0};
    child.rotate = {0, 90, 0};
    child.scale = {2, 1, 1};
    child.meshName = "box";
    root.children.push_back(child);
    MeshLibrary meshes;
    meshes["box"] = square();
    display->drawSkeleton(root, meshes);
    const std::size_t draw = glreplay::find("glDrawElements");
    ASSERT_LT(draw, fakegl::calls().size());
    // The modelview in force at the draw.
    const glreplay::Point p = glreplay::apply(glreplay::modelview(0, draw), {1, 0, 0});
    EXPECT_NEAR(p.x, 11, 1e-5);
    EXPECT_NEAR(p.y, 0, 1e-5);
    EXPECT_NEAR(p.z, -2, 1e-5);
}

TEST_F(DisplayModelsTest, MissingMeshGetsAnEmptyEntryAndChildrenStillDraw) {
    Skeleton root;
    root.meshName = "lost.mesh";
    Skeleton child;
    child.meshName = "box";
    root.children.push_back(child);
    MeshLibrary meshes;
    meshes["box"] = square();
    display->drawSkeleton(root, meshes);
    ASSERT_EQ(meshes.count("lost.mesh"), 1u);
    EXPECT_TRUE(meshes["lost.mesh"].vertices.empty());
    EXPECT_TRUE(meshes["lost.mesh"].indices.empty());
    EXPECT_EQ(fakegl::count("glDrawElements"), 1u);
    EXPECT_EQ(fakegl::count("glPushMatrix"), fakegl::count("glPopMatrix"));
    EXPECT_EQ(fakegl::count("glPushMatrix"), 2u);
}

TEST_F(DisplayModelsTest, ObjectIsBoundPlacedAndScaledEvenAtScaleOne) {
    Object object;
    object.position = {5, 6, 7};
    object.texture = 3;
    MeshLibrary meshes;
    display->drawObject(object, meshes);
    const std::vector<std::string> expected = {"glEnable",
                                               "glBindTexture",
                                               "glPushMatrix",
                                               "glTranslatef",
                                               "glScalef",
                                               "glPushMatrix",
                                               "glDisableClientState",
                                               "glDisableClientState",
                                               "glDisableClientState",
                                               "glDisableClientState",
                                               "glPopMatrix",
                                               "glPopMatrix"};
    EXPECT_EQ(fakegl::names(), expected);
    EXPECT_EQ(fakegl::boundTexture(), 3u);
    EXPECT_EQ(fakegl::callsNamed("glTranslatef")[0].args, (std::vector<double>{5, 6, 7}));
    EXPECT_EQ(fakegl::callsNamed("glScalef")[0].args, (std::vector<double>{1, 1, 1}));
}

// T * S * Rx * Ry * Rz: a stretched object stretches along the world's axes.
TEST_F(DisplayModelsTest, ObjectScaleActsInWorldAxesAfterItsRotation) {
    Object object;
    object.position = {0, 0, 0};
    object.rotation = {0, 90, 0};
    object.scale = {3, 1, 1};
    object.skeleton.meshName = "box";
    MeshLibrary meshes;
    meshes["box"] = square();
    display->drawObject(object, meshes);
    const std::size_t draw = glreplay::find("glDrawElements");
    ASSERT_LT(draw, fakegl::calls().size());
    // Model +z turns to world +x and is then stretched three times.
    const glreplay::Point p = glreplay::apply(glreplay::modelview(0, draw), {0, 0, 1});
    EXPECT_NEAR(p.x, 3, 1e-5);
    EXPECT_NEAR(p.z, 0, 1e-5);
}
