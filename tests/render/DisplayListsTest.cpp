#include "assets/Skeleton.h"
#include "support/GLReplay.h"
#include "support/TestMeshes.h"
#include "world/Object.h"
#include "world/Terrain.h"
#include <algorithm>
#include <functional>
#include <iterator>
#include <set>

namespace {

using DisplayListsTest = glreplay::DisplayFixture;
using Args = std::vector<double>;
using Drawn = std::vector<std::pair<std::string, Args>>;

// The log as OpenGL executed it, whether a call came from a list or not.
Drawn drawn() {
    Drawn calls;
    for (const fakegl::Call& c : fakegl::calls())
        calls.emplace_back(c.name, c.args);
    return calls;
}

std::vector<double> newLists() {
    std::vector<double> names;
    for (const fakegl::Call& c : fakegl::listCalls())
        if (c.name == "glNewList")
            names.push_back(c.args[0]);
    return names;
}

Mesh square() {
    Mesh mesh;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    mesh.normals.assign(4, {0, 0, 1});
    mesh.indices = {0, 1, 2, 2, 3, 0};
    return mesh;
}

// 30 x 30 points (29 rows of cells: eight strips) of hills, with normals and
// tiles of three bands as the terrain lays them.
Terrain ground() {
    Terrain terrain(30, 30, 200.0f, 100.0f, 200.0f);
    terrain.setBands({TerrainBand{0.4f, 1}, TerrainBand{0.55f, 2}, TerrainBand{1.0f, 3}});
    for (std::uint32_t i = 0; i < 30; ++i)
        for (std::uint32_t j = 0; j < 30; ++j)
            terrain.cells().at(i, j).height = 0.5f + 0.3f * std::sin(i * 0.4f) * std::cos(j * 0.3f);
    terrain.crater(Vector3(-50.0f, 0.0f, -50.0f), 1.0f); // redoes normals and tiles everywhere
    return terrain;
}

} // namespace

// A mesh is compiled once into a list of its one draw (the array pointers are
// client state, set at once), and a skeleton draws it by the list, its normal
// lines still call by call. A name looked up later, or a mesh whose arrays were
// replaced, is drawn call by call; the lists go with the Display.
TEST_F(DisplayListsTest, MeshesAreDrawnByTheirListsUnlessNewOrChanged) {
    const std::size_t listsBefore = fakegl::listCount();
    MeshLibrary meshes{{"box", square()}, {"other", square()}};
    display->compileMeshes(meshes);
    ASSERT_EQ(newLists().size(), 2u);
    const unsigned int box = static_cast<unsigned int>(newLists()[0]);
    const std::vector<fakegl::Call>& list = *fakegl::listContents(box);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "glDrawElements");
    EXPECT_EQ(list[0].args, (Args{GL_TRIANGLES, 6, GL_UNSIGNED_INT}));
    EXPECT_EQ(list[0].pointer, meshes["box"].indices.data());
    EXPECT_EQ(fakegl::calls()[fakegl::find("glVertexPointer")].pointer,
              meshes["box"].vertices.data());

    Skeleton node;
    node.meshName = "box";
    display->setShowNormals(true);
    fakegl::reset();
    display->drawSkeleton(node, meshes);
    const std::size_t draw = fakegl::find("glDrawElements");
    ASSERT_LT(draw, fakegl::calls().size());
    EXPECT_EQ(fakegl::calls()[draw].list, box);
    EXPECT_EQ(fakegl::count("glEnableClientState"), 0u);
    EXPECT_EQ(fakegl::args("glBegin"), (Args{GL_LINES}));
    EXPECT_EQ(fakegl::calls()[fakegl::find("glBegin")].list, 0u);

    for (const char* what : {"new name", "replaced arrays"}) {
        SCOPED_TRACE(what);
        if (std::string(what) == "new name")
            node.meshName = "lost.mesh";
        else
            meshes["box"].indices = {0, 1, 2};
        fakegl::reset();
        display->drawSkeleton(node, meshes);
        EXPECT_EQ(fakegl::count("glDisableClientState"), 4u);
        for (const fakegl::Call& c : fakegl::calls())
            EXPECT_EQ(c.list, 0u) << c.name;
    }
    display.reset();
    EXPECT_EQ(fakegl::listCount(), listsBefore);
}

// The strips draw exactly the walk over every cell (binds included) after any
// change: a first draw, an edit that one strip covers, a crater, the grid row
// two strips share, the last cell of a strip (whose texture the next strip
// enters with), the terrain's extent. A changed strip is walked call by call
// in the frame of the change and compiled in the next, which finds it settled;
// only the strips named are compiled, and the frame after that calls lists only.
TEST_F(DisplayListsTest, ChangedTerrainStripsAreWalkedThenCompiledOnceSettled) {
    Terrain terrain = ground();
    for (int frame = 0; frame < 4; ++frame) // eight strips, two compiled a frame
        display->drawTerrain(terrain);
    fakegl::reset();
    display->drawTerrain(terrain);
    for (const fakegl::Call& c : fakegl::calls())
        ASSERT_TRUE(c.list != 0 || c.name == "glColor3f") << c.name; // the white is set first
    std::vector<double> strips;
    for (const fakegl::Call& c : fakegl::listCalls())
        if (c.name == "glCallList")
            strips.push_back(c.args[0]);
    ASSERT_EQ(strips.size(), 8u);
    const std::set<std::size_t> all{0, 1, 2, 3, 4, 5, 6, 7};
    struct Case {
        const char* what;
        std::function<void(Terrain&)> edit;
        std::set<std::size_t> changed; // strip indices
    };
    const Case cases[] = {
        {"nothing", [](Terrain&) {}, {}},
        // Digs grid rows 13 to 17 (with their normals and tiles).
        {"a crater", [](Terrain& t) { t.crater(Vector3(100.0f, 50.0f, 100.0f), 12.0f); }, {3, 4}},
        {"a height in strip 2", [](Terrain& t) { t.cells().at(9, 3).height += 0.01f; }, {2}},
        {"the row strips 0 and 1 share",
         [](Terrain& t) { t.cells().at(4, 7).normal.y = 0.5f; },
         {0, 1}},
        {"strip 0's last texture", [](Terrain& t) { t.cells().at(3, 28).texture = 9; }, {0, 1}},
    };
    const auto stripOf = [&](double name) {
        return static_cast<std::size_t>(std::find(strips.begin(), strips.end(), name) -
                                        strips.begin());
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.edit(terrain);
        fakegl::reset();
        display->drawTerrainImmediate(terrain);
        const Drawn walk = drawn();
        const unsigned int boundAfterWalk = fakegl::boundTexture();
        for (const char* frame : {"the change's", "the next", "the one after"}) {
            SCOPED_TRACE(frame);
            fakegl::reset();
            display->drawTerrain(terrain);
            EXPECT_EQ(drawn(), walk);
            EXPECT_EQ(fakegl::boundTexture(), boundAfterWalk);
            std::set<std::size_t> called, compiled;
            for (const fakegl::Call& call : fakegl::listCalls()) {
                if (call.name == "glCallList")
                    called.insert(stripOf(call.args[0]));
                if (call.name == "glNewList")
                    compiled.insert(stripOf(call.args[0]));
            }
            std::set<std::size_t> unchanged;
            std::set_difference(all.begin(), all.end(), c.changed.begin(), c.changed.end(),
                                std::inserter(unchanged, unchanged.end()));
            const std::string which = frame;
            EXPECT_EQ(called, which == "the change's" ? unchanged : all);
            EXPECT_EQ(compiled, which == "the next" ? c.changed : std::set<std::size_t>{});
        }
    }
}

// A new extent moves every vertex: every strip is walked, then compiled two a
// frame, the rest walked meanwhile, and the lists' names are used again.
TEST_F(DisplayListsTest, ANewExtentWalksEveryStripAndCompilesTwoAFrame) {
    Terrain terrain = ground();
    for (int frame = 0; frame < 5; ++frame)
        display->drawTerrain(terrain);
    const std::size_t lists = fakegl::listCount();
    terrain = Terrain(30, 30, 100.0f, 100.0f, 200.0f);
    fakegl::reset();
    display->drawTerrainImmediate(terrain);
    const Drawn walk = drawn();
    const std::pair<std::size_t, std::size_t> frames[] = {{0, 0}, {2, 2}, {4, 2},
                                                          {6, 2}, {8, 2}, {8, 0}};
    for (const auto& [listed, compiledNow] : frames) {
        SCOPED_TRACE(listed);
        fakegl::reset();
        display->drawTerrain(terrain);
        EXPECT_EQ(drawn(), walk);
        std::size_t called = 0, compiled = 0;
        for (const fakegl::Call& call : fakegl::listCalls()) {
            called += call.name == "glCallList";
            compiled += call.name == "glNewList";
        }
        EXPECT_EQ(called, listed);
        EXPECT_EQ(compiled, compiledNow);
    }
    EXPECT_EQ(fakegl::listCount(), lists);
}

// A list OpenGL could not build is not used: the mesh and the terrain are drawn
// call by call, and the error is written once on standard error, never on
// standard output.
TEST_F(DisplayListsTest, AListThatFailsToBuildIsReportedOnceAndDrawnWithout) {
    TraceCapture lines;
    MeshLibrary meshes{{"box", square()}, {"other", square()}};
    fakegl::failNextList(GL_OUT_OF_MEMORY);
    display->compileMeshes(meshes);
    Skeleton node;
    for (const auto& [name, listed] :
         {std::pair<std::string, bool>{"box", false}, {"other", true}}) {
        node.meshName = name;
        fakegl::reset();
        display->drawSkeleton(node, meshes);
        EXPECT_EQ(fakegl::calls()[fakegl::find("glDrawElements")].list != 0, listed) << name;
    }
    // The strips are first compiled in the frame after the first: the one that
    // fails is walked, and so is everything from then on.
    Terrain terrain = ground();
    fakegl::reset();
    display->drawTerrainImmediate(terrain);
    const Drawn walk = drawn();
    display->drawTerrain(terrain);
    for (const std::string frame : {"failing", "after"}) {
        SCOPED_TRACE(frame);
        fakegl::reset();
        if (frame == "failing")
            fakegl::failNextList(GL_OUT_OF_MEMORY);
        display->drawTerrain(terrain);
        EXPECT_EQ(walk, drawn());
        bool called = false;
        for (const fakegl::Call& call : fakegl::listCalls())
            called = called || call.name == "glCallList";
        EXPECT_FALSE(called);
    }
    EXPECT_TRUE(fakegl::listCalls().empty());
    EXPECT_EQ(lines.err(),
              "OpenGL error 0x505 while building a display list; drawing without it\n");
    EXPECT_EQ(lines.out(), "");
}

// A closed mesh's back faces are culled only while the eye is clear of the
// object (its scaled reach plus the near plane's), the faces are filled and no
// mirroring scale turns them round; an open mesh is never culled.
TEST_F(DisplayListsTest, ClosedMeshesCullTheirBackFacesOnlyFromOutside) {
    MeshLibrary meshes{{"box", cube()}, {"square", square()}};
    display->compileMeshes(meshes);
    struct Case {
        const char* what;
        const char* mesh;
        float distance, scale;
        bool wireframe, culled;
    };
    // The box reaches 1.73 from its centre; the near plane's corner, 0.19 away.
    const Case cases[] = {
        {"far", "box", 10, 1, false, true},         {"just clear", "box", 1.95f, 1, false, true},
        {"near plane cuts it", "box", 1.9f, 1, false, false},
        {"inside", "box", 0.5f, 1, false, false},   {"grown round the eye", "box", 10, 6, false, false},
        {"mirrored", "box", 10, -1, false, false},  {"wireframe", "box", 10, 1, true, false},
        {"open", "square", 10, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        display->perspective(90.0f, 640.0f / 480.0f, 0.1f, 300.0f);
        display->setCamera({0, 0, 0}, {0, 0, 0});
        display->setWireframe(c.wireframe);
        Object object;
        object.position = {0, 0, -c.distance};
        object.scale = {c.scale, 1, 1};
        object.skeleton.meshName = c.mesh;
        fakegl::reset();
        display->drawObject(object, meshes);
        const std::vector<fakegl::Call>& log = fakegl::calls();
        const std::size_t draw = fakegl::find("glDrawElements");
        ASSERT_LT(draw, log.size());
        bool culledAtDraw = false;
        for (std::size_t k = 0; k < draw; ++k)
            if (log[k].name == "glEnable" || log[k].name == "glDisable")
                if (log[k].args == Args{GL_CULL_FACE})
                    culledAtDraw = log[k].name == "glEnable";
        EXPECT_EQ(culledAtDraw, c.culled);
        EXPECT_FALSE(fakegl::isEnabled(GL_CULL_FACE)); // given back for the next draw
    }
}

// A sphere is compiled at its own detail and at each coarser level, and drawn
// from the coarsest whose outline stays within a pixel of the circle at its
// size on screen: 240 pixels to a unit at a depth of 1 through this lens, at the
// sphere's nearest point, stretched off the picture's centre. Anything else, or
// any view where that size is not known, keeps all the detail.
TEST_F(DisplayListsTest, SmallSpheresAreDrawnFromCoarserLists) {
    const std::size_t listsBefore = fakegl::listCount();
    MeshLibrary meshes{{"ball", sphere(48, 24)}, {"box", cube()}};
    display->compileMeshes(meshes);
    // The ball first (the library is ordered by name), then its levels from
    // fine to coarse, then the box.
    const std::vector<double> names = newLists();
    ASSERT_EQ(names.size(), 8u);
    const auto list = [&](std::size_t k) { return static_cast<unsigned int>(names[k]); };
    const unsigned int fine = list(0), sixteen = list(2), twelve = list(3), eight = list(4),
                       four = list(6), box = list(7);
    EXPECT_EQ(fakegl::listContents(twelve)->at(0).args,
              (Args{GL_TRIANGLES, 12 * 10 * 3, GL_UNSIGNED_INT}));
    EXPECT_EQ(fakegl::listContents(four)->at(0).args,
              (Args{GL_TRIANGLES, 4 * 2 * 3, GL_UNSIGNED_INT}));

    struct Case {
        const char* what;
        const char* mesh;
        Vector3 position;
        float scale;
        unsigned int list;
    };
    // 240 x 21 / 20^2 = 12.6 pixels: eight segments miss by 0.96 of a pixel;
    // at a depth of 20, 13.3 pixels and 1.01.
    const Case cases[] = {
        {"far", "ball", {0, 0, -100}, 1, four},
        {"just small enough", "ball", {0, 0, -21}, 1, eight},
        {"just too large", "ball", {0, 0, -20}, 1, twelve},
        {"as deep, off the centre", "ball", {21, 0, -21}, 1, twelve},
        {"grown", "ball", {0, 0, -100}, 10, sixteen},
        {"near", "ball", {0, 0, -3}, 1, fine},
        {"near plane cuts it", "ball", {0, 0, -1.05f}, 1, fine},
        {"behind the eye", "ball", {0, 0, 100}, 1, fine},
        {"no sphere", "box", {0, 0, -100}, 1, box},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        display->perspective(90.0f, 640.0f / 480.0f, 0.1f, 300.0f);
        display->setCamera({0, 0, 0}, {0, 0, 0});
        Object object;
        object.position = c.position;
        object.scale = {c.scale, c.scale, c.scale};
        object.skeleton.meshName = c.mesh;
        fakegl::reset();
        display->drawObject(object, meshes);
        const std::size_t draw = fakegl::find("glDrawElements");
        ASSERT_LT(draw, fakegl::calls().size());
        EXPECT_EQ(fakegl::calls()[draw].list, c.list);
    }

    // Wireframe shows the mesh as it was made; a flat view has no depth.
    Object far;
    far.position = {0, 0, -100};
    far.skeleton.meshName = "ball";
    for (const bool flat : {false, true}) {
        SCOPED_TRACE(flat ? "orthographic" : "wireframe");
        display->setWireframe(!flat);
        if (flat)
            display->orthographic(-200, 200, -150, 150, 0.1f, 300.0f);
        else
            display->perspective(90.0f, 640.0f / 480.0f, 0.1f, 300.0f);
        display->setCamera({0, 0, 0}, {0, 0, 0});
        fakegl::reset();
        display->drawObject(far, meshes);
        EXPECT_EQ(fakegl::calls()[fakegl::find("glDrawElements")].list, fine);
    }
    display.reset();
    EXPECT_EQ(fakegl::listCount(), listsBefore);
}
