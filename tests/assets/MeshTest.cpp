#include "assets/Mesh.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include <gtest/gtest.h>

namespace {

// Loads text as a mesh file and keeps what the loader printed. One mesh takes
// every load, so anything a load fails to clear shows in the next.
struct MeshFile {
    TempDir dir;
    Mesh mesh;
    std::string out, err;

    bool load(const std::string& text) { return loadPath(dir.write("model.mesh", text)); }
    bool loadPath(const std::string& path) {
        TraceCapture capture;
        const bool result = loadMesh(path.c_str(), mesh);
        out = capture.out();
        err = capture.err();
        return result;
    }
};

using Floats = std::vector<float>;
using Indices = std::vector<std::uint32_t>;

Floats flat(const std::vector<Vector3>& values) {
    Floats numbers;
    for (const Vector3& v : values)
        numbers.insert(numbers.end(), {v.x, v.y, v.z});
    return numbers;
}

} // namespace

TEST(Mesh, FullFileGivesItsLinesAndArrays) {
    MeshFile f;
    EXPECT_TRUE(f.load("3\nvertices 0 0 0  1 0 0\t0 1 0\nnormals 0 0 1 0 0 1 0 0 2.5e1\n"
                       "texture 0 0 1 0 0 1\ncolor 1 0 0 0 1 0 0 0 1\n"
                       "quadrilaterals 1 0 1 2 0\ntriangles 1 2 1 0\n"));
    EXPECT_EQ(f.out, "File opened.\nLoading vertices.\nVertices loaded.\nLoading normals.\n"
                     "Normals loaded.\nLoading texture coordinates.\nLoading completed.\n"
                     "Loading color.\nColor loaded.\nLoading quads.\nQuads loaded.\n"
                     "Loading triangles.\nTriangle loaded.\nMesh loaded.\n");
    EXPECT_EQ(f.err, "");
    EXPECT_EQ(flat(f.mesh.vertices), (Floats{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(flat(f.mesh.normals), (Floats{0, 0, 1, 0, 0, 1, 0, 0, 25}));
    EXPECT_EQ(flat(f.mesh.colors), (Floats{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    ASSERT_EQ(f.mesh.texCoords.size(), 3u);
    EXPECT_EQ(f.mesh.texCoords[1].u + f.mesh.texCoords[2].v, 2.0f);
    EXPECT_EQ(f.mesh.indices, (Indices{0, 1, 2, 2, 0, 0, 2, 1, 0}));
}

// Faces append, a repeated per-vertex section overwrites from its first entry,
// and a section that runs out of numbers ends the file with the rest zero.
TEST(Mesh, SectionsAppendOverwriteOrEndTheFileEarly) {
    struct Case {
        const char* text;
        Floats vertices;
        Indices indices;
    };
    const Case cases[] = {
        {"5 quadrilaterals 2 0 1 2 3  4 3 2 1 triangles 1 4 0 2 quadrilaterals 1 1 2 3 4",
         {},
         {0, 1, 2, 2, 3, 0, 4, 3, 2, 2, 1, 4, 4, 0, 2, 1, 2, 3, 3, 4, 1}},
        {"3 vertices 1 1 1 2 2 2 3 3 3 vertices 7 7 7 8 8", {7, 7, 7, 2, 2, 2, 3, 3, 3}, {}},
        // The words after the short section are never read as a section.
        {"3 vertices 1 2 3  4 5 triangles 1 0 1 2", {1, 2, 3, 0, 0, 0, 0, 0, 0}, {}},
        {"4 triangles 3 0 1 2 1 2", {}, {0, 1, 2, 0, 0, 0, 0, 0, 0}},
        {"3 vertices 1", {0, 0, 0, 0, 0, 0, 0, 0, 0}, {}},
        {"2 vertices", {0, 0, 0, 0, 0, 0}, {}},
        {"3 triangles 1", {}, {0, 0, 0}},
        {"4", {}, {}},
    };
    MeshFile f;
    for (const Case& c : cases) {
        // A final line end never changes the result.
        for (const std::string end : {"", "\n"}) {
            SCOPED_TRACE(c.text + end);
            EXPECT_TRUE(f.load(c.text + end));
            EXPECT_EQ(flat(f.mesh.vertices), c.vertices);
            EXPECT_EQ(f.mesh.indices, c.indices);
            EXPECT_EQ(f.err, "");
            EXPECT_EQ(f.out.substr(f.out.size() - 13), "Mesh loaded.\n");
        }
    }
    // A short file may still promise many entries within the budget: they are zero.
    EXPECT_TRUE(f.load("100 vertices 1 2 3"));
    ASSERT_EQ(f.mesh.vertices.size(), 100u);
    EXPECT_EQ(f.mesh.vertices[0], Vector3(1, 2, 3));
    EXPECT_EQ(f.mesh.vertices[99], Vector3(0, 0, 0));
}

// A head or count beyond the budget that the rest of the file cannot hold in
// bytes is refused before anything is sized from it, so a few bytes cannot ask
// for gigabytes.
TEST(Mesh, RefusedFilesPrintTheirErrorLineExactly) {
    MeshFile f;
    const std::string size =
        "Error loading model " + f.dir.path("model.mesh") + ".  Invalid size: ";
    struct Case {
        std::string text;
        std::string err; // none: an unknown word, refused on standard output
    };
    const Case cases[] = {
        {"0 vertices 1 2 3", size + "0\n"},
        {"16000000 normals 1 2 3", size + "16000000\n"},
        {"2000000 vertices 1 2 3\n", size + "2000000\n"},
        {"3 triangles 400000 0 1 2", "Error loading mesh. Invalid count.\n"},
        {"3 triangles 1 0 1 3", "Error loading mesh. Invalid index.\n"},
        {"3 triangles 1 0 -1 2", "Error loading mesh. Invalid index.\n"},
        {"3 quadrilaterals 1 0 1 2 3", "Error loading mesh.  Invalid index.\n"},
        {"3 triangles -1 0 1 2", "Error loading mesh. Invalid count.\n"},
        {"3 triangles 99999999999", "Error loading mesh. Invalid count.\n"},
        {"3 quadrilaterals 2000000000 0 1 2 0", "Error loading mesh.  Invalid count.\n"},
        {"3 verticesverticesverticesverticesverticesverticesverticesvertices", ""},
        {"3 Vertices 0 0 0", ""},
        {"3 vertices 1 2 3 4 5 6 7 8 9 faces 1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(f.load(c.text));
        EXPECT_EQ(f.err, c.err);
        EXPECT_EQ(f.out.find("Unrecognized token.\n") != std::string::npos, c.err.empty());
        EXPECT_EQ(f.out.find("Mesh loaded."), std::string::npos);
        EXPECT_LT(f.mesh.vertices.size() + f.mesh.normals.size() + f.mesh.indices.size(), 10u);
    }
    // The last case left vertices behind: a missing file empties the mesh.
    const std::string missing = f.dir.path("missing.mesh");
    EXPECT_FALSE(f.loadPath(missing));
    EXPECT_EQ(f.err, "Unable to open file: " + missing + "\n");
    EXPECT_EQ(f.out, "");
    EXPECT_TRUE(f.mesh.vertices.empty());
}
