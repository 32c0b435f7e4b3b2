#include "support/GLReplay.h"
#include "assets/Skeleton.h"
#include "world/Object.h"

namespace {

using DisplayModelsTest = glreplay::DisplayFixture;
using Args = std::vector<double>;

// Two triangles over a unit square, with as many normals, colours and texture
// coordinates as asked for.
Mesh square(std::size_t normals = 0, std::size_t colours = 0, std::size_t texCoords = 0,
            std::vector<std::uint32_t> indices = {0, 1, 2, 2, 3, 0}) {
    Mesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.indices = indices;
    mesh.normals.assign(normals, {0, 0, 1});
    mesh.colors.assign(colours, {1, 0, 0});
    mesh.texCoords.assign(texCoords, {});
    return mesh;
}

Args sortedArgs(const std::string& name) {
    Args arrays = fakegl::args(name);
    std::sort(arrays.begin(), arrays.end());
    return arrays;
}

// Where the first mesh drawn puts its point p.
glreplay::Point drawnAt(glreplay::Point p) {
    return glreplay::transform(p, fakegl::find("glDrawElements"));
}

} // namespace

// OpenGL reads every array at every index: an index past the vertices or an
// attribute shorter than them would read beyond the vector, so those stay off.
TEST_F(DisplayModelsTest, MeshArraysOnlyWhenTheyCoverEveryVertex) {
    display->setShowNormals(true);
    const Args all{GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY};
    struct Case {
        const char* what;
        Mesh mesh;
        Args enabled;
        bool drawn;
        std::size_t normalLines;
    };
    const Case cases[] = {
        {"vertices only", square(), {GL_VERTEX_ARRAY}, true, 0},
        {"every array", square(4, 4, 4), all, true, 1},
        {"two colours for four vertices", square(0, 2), {GL_VERTEX_ARRAY}, true, 0},
        {"too few normals: no normal lines", square(3), {GL_VERTEX_ARRAY}, true, 0},
        {"index out of range", square(4, 0, 0, {0, 1, 2, 2, 3, 4}), {}, false, 0},
        {"no indices", square(0, 0, 0, {}), {}, false, 0},
        {"empty mesh", Mesh{}, {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        display->drawMesh(c.mesh);
        EXPECT_EQ(sortedArgs("glEnableClientState"), c.enabled);
        EXPECT_EQ(sortedArgs("glDisableClientState"), all); // always, for the next draw
        EXPECT_EQ(fakegl::count("glBegin"), c.normalLines);
        EXPECT_EQ(fakegl::args("glDrawElements"),
                  (c.drawn ? Args{GL_TRIANGLES, 6, GL_UNSIGNED_INT} : Args{}));
    }
}

// A node is T * Rx * Ry * Rz * S inside its parent; a mesh name not in the
// library gets an empty entry and the node's children are drawn all the same.
TEST_F(DisplayModelsTest, MissingMeshGetsAnEmptyEntryAndChildrenComposeInsideTheirParent) {
    Skeleton root;
    root.translate = {10, 0, 0};
    root.meshName = "lost.mesh";
    Skeleton child;
    child.rotate = {0, 90, 0};
    child.scale = {2, 1, 1};
    child.meshName = "box";
    root.children.push_back(child);
    MeshLibrary meshes{{"box", square()}};
    display->drawSkeleton(root, meshes);
    ASSERT_EQ(meshes.count("lost.mesh"), 1u);
    EXPECT_TRUE(meshes["lost.mesh"].vertices.empty() && meshes["lost.mesh"].indices.empty());
    EXPECT_EQ(fakegl::count("glDrawElements"), 1u);
    EXPECT_EQ(fakegl::count("glPushMatrix"), fakegl::count("glPopMatrix"));
    // Model +x is scaled, turned to -z and moved.
    EXPECT_NEAR(glreplay::distance(drawnAt({1, 0, 0}), {10, 0, -2}), 0, 1e-5);
}

// An object is T * S * Rx * Ry * Rz: a stretched object stretches along the
// world's axes whatever its rotation.
TEST_F(DisplayModelsTest, ObjectIsBoundAndScaledInWorldAxesAfterItsRotation) {
    Object object;
    object.position = {5, 6, 7};
    object.rotation = {0, 90, 0};
    object.scale = {3, 1, 1};
    object.texture = 3;
    object.skeleton.meshName = "box";
    MeshLibrary meshes{{"box", square()}};
    display->drawObject(object, meshes);
    EXPECT_EQ(fakegl::boundTexture(), 3u);
    EXPECT_TRUE(fakegl::isEnabled(GL_TEXTURE_2D));
    // Model +z turns to +x, is stretched there and moved.
    EXPECT_NEAR(glreplay::distance(drawnAt({0, 0, 1}), {8, 6, 7}), 0, 1e-5);
}

// The sky draws its mesh unlit and white with the texture replacing the colour,
// and gives the next textured draw the modulation back; the colour stays white
// and the lighting off for what follows, as the frame expects.
TEST_F(DisplayModelsTest, SkyReplacesTheColourByItsTextureAndGivesModulationBack) {
    Skeleton sky;
    sky.meshName = "box";
    MeshLibrary meshes{{"box", square()}};
    fakegl::reset();
    display->setLighting(true);
    display->drawSky(sky, meshes, 4);
    EXPECT_EQ(fakegl::boundTexture(), 4u);
    EXPECT_FALSE(fakegl::isEnabled(GL_LIGHTING));
    EXPECT_EQ(fakegl::args("glColor3f"), (std::vector<double>{1, 1, 1}));
    const std::size_t draw = fakegl::find("glDrawElements");
    const std::size_t replace = fakegl::find("glTexEnvi");
    const std::size_t modulate = fakegl::find("glTexEnvi", replace + 1);
    ASSERT_LT(modulate, fakegl::calls().size());
    EXPECT_LT(replace, draw);
    EXPECT_GT(modulate, draw);
    EXPECT_EQ(fakegl::calls()[replace].args,
              (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE}));
    EXPECT_EQ(fakegl::calls()[modulate].args,
              (std::vector<double>{GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE}));
}
