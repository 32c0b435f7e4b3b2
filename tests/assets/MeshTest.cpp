#include "assets/Mesh.h"

#include "TempDir.h"
#include "support/CaptureStreams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Loaded {
    bool result = false;
    Mesh mesh;
    std::string out;
    std::string err;
};

Loaded load(const TempDir& dir, const std::string& text) {
    const std::string file = dir.write("model.mesh", text);
    Loaded loaded;
    CaptureStreams capture;
    loaded.result = loadMesh(file.c_str(), loaded.mesh);
    loaded.out = capture.out();
    loaded.err = capture.err();
    return loaded;
}

std::vector<float> flat(const std::vector<Vector3>& values) {
    std::vector<float> numbers;
    for (const Vector3& v : values) {
        numbers.insert(numbers.end(), {v.x, v.y, v.z});
    }
    return numbers;
}

using Indices = std::vector<std::uint32_t>;

} // namespace

TEST(Mesh, FullFileGivesItsLinesAndArrays) {
    TempDir dir;
    const Loaded l = load(dir, "3\nvertices 0 0 0  1 0 0\t0 1 0\n"
                               "normals 0 0 1 0 0 1 0 0 2.5e1\n"
                               "texture 0 0 1 0 0 1\ncolor 1 0 0 0 1 0 0 0 1\n"
                               "triangles 1 0 1 2\n");
    EXPECT_TRUE(l.result);
    EXPECT_EQ(l.out, "File opened.\nLoading vertices.\nVertices loaded.\nLoading normals.\n"
                     "Normals loaded.\nLoading texture coordinates.\nLoading completed.\n"
                     "Loading color.\nColor loaded.\nLoading triangles.\nTriangle loaded.\n"
                     "Mesh loaded.\n");
    EXPECT_EQ(l.err, "");
    EXPECT_EQ(flat(l.mesh.vertices), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(flat(l.mesh.normals), (std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 25}));
    EXPECT_EQ(flat(l.mesh.colors), (std::vector<float>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    ASSERT_EQ(l.mesh.texCoords.size(), 3u);
    EXPECT_EQ(l.mesh.texCoords[1].u, 1.0f);
    EXPECT_EQ(l.mesh.texCoords[2].v, 1.0f);
    EXPECT_EQ(l.mesh.indices, (Indices{0, 1, 2}));
}

TEST(Mesh, HeadAloneLoadsAnEmptyMesh) {
    TempDir dir;
    const Loaded l = load(dir, "4");
    EXPECT_TRUE(l.result);
    EXPECT_EQ(l.out, "File opened.\nMesh loaded.\n");
    EXPECT_TRUE(l.mesh.vertices.empty() && l.mesh.indices.empty() && l.mesh.normals.empty());
}

TEST(Mesh, QuadsBecomeTwoTrianglesAndFaceSectionsAccumulate) {
    TempDir dir;
    const Loaded l = load(dir, "5 quadrilaterals 2 0 1 2 3  4 3 2 1 triangles 1 4 0 2"
                               " quadrilaterals 1 1 2 3 4");
    EXPECT_TRUE(l.result);
    EXPECT_EQ(l.mesh.indices,
              (Indices{0, 1, 2, 2, 3, 0, 4, 3, 2, 2, 1, 4, 4, 0, 2, 1, 2, 3, 3, 4, 1}));
    EXPECT_TRUE(l.mesh.vertices.empty());
}

TEST(Mesh, BadHeadCountOrIndexStopsWithItsLine) {
    TempDir dir;
    struct Case {
        std::string text;
        std::string err;
        bool keywordLine; // whether the section's "Loading" line came first
    };
    const std::string model = dir.path("model.mesh");
    const Case cases[] = {
        {"0 vertices 1 2 3", "Error loading model " + model + ".  Invalid size: 0\n", false},
        {"-3 vertices 1 2 3", "Error loading model " + model + ".  Invalid size: -3\n", false},
        {"cube", "Error loading model " + model + ".  Invalid size: 0\n", false},
        {"3 triangles 1 0 1 3", "Error loading mesh. Invalid index.\n", true},
        {"3 triangles 1 0 -1 2", "Error loading mesh. Invalid index.\n", true},
        {"3 quadrilaterals 1 0 1 2 3", "Error loading mesh.  Invalid index.\n", true},
        {"3 triangles x", "Error loading mesh. Invalid count.\n", true},
        {"3 quadrilaterals x", "Error loading mesh.  Invalid count.\n", true},
        {"3 triangles -1 0 1 2", "Error loading mesh. Invalid count.\n", true},
        {"3 quadrilaterals -2", "Error loading mesh.  Invalid count.\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Loaded l = load(dir, c.text);
        EXPECT_FALSE(l.result);
        EXPECT_EQ(l.err, c.err);
        EXPECT_EQ(l.out.find("Loading ") != std::string::npos, c.keywordLine);
        EXPECT_EQ(l.out.find("Mesh loaded."), std::string::npos);
    }
    const Loaded good = load(dir, "3 triangles 1 0 1 2");
    EXPECT_TRUE(good.result);
    EXPECT_EQ(good.err, "");
}

TEST(Mesh, FailedFaceSectionKeepsItsFullLengthWithEarlierFacesFilled) {
    TempDir dir;
    const Loaded l = load(dir, "3 vertices 1 1 1 2 2 2 3 3 3 triangles 3 0 1 2 2 1 0 0 1 7");
    EXPECT_FALSE(l.result);
    EXPECT_EQ(flat(l.mesh.vertices), (std::vector<float>{1, 1, 1, 2, 2, 2, 3, 3, 3}));
    EXPECT_EQ(l.mesh.indices, (Indices{0, 1, 2, 2, 1, 0, 0, 0, 0}));
}

TEST(Mesh, UnknownOrCapitalisedKeywordIsUnrecognisedOnStandardOutput) {
    TempDir dir;
    for (const char* text :
         {"3 Vertices 0 0 0", "3 vertices 1 2 3 4 5 6 7 8 9 faces 1",
          "3 verticesverticesverticesverticesverticesverticesverticesvertices"}) {
        SCOPED_TRACE(text);
        const Loaded l = load(dir, text);
        EXPECT_FALSE(l.result);
        EXPECT_NE(l.out.find("Unrecognized token.\n"), std::string::npos);
        EXPECT_EQ(l.err, "");
    }
}

TEST(Mesh, SectionThatRunsOutEndsTheFileWithZeros) {
    TempDir dir;
    const Loaded l = load(dir, "4 vertices 1 2 3  4 5 6  7 8 triangles 1 0 1 2");
    EXPECT_TRUE(l.result);
    // The words after the short section are never read as sections.
    EXPECT_EQ(l.out, "File opened.\nLoading vertices.\nVertices loaded.\nMesh loaded.\n");
    EXPECT_EQ(flat(l.mesh.vertices), (std::vector<float>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(l.mesh.indices.empty());

    const Loaded faces = load(dir, "4 triangles 3 0 1 2 1 2");
    EXPECT_TRUE(faces.result);
    EXPECT_EQ(faces.mesh.indices, (Indices{0, 1, 2, 0, 0, 0, 0, 0, 0}));
}

TEST(Mesh, RepeatedSectionOverwritesFromTheFirstEntry) {
    TempDir dir;
    const Loaded l = load(dir, "3 normals 1 1 1 2 2 2 3 3 3 normals 7 7 7 8 8");
    EXPECT_TRUE(l.result);
    EXPECT_EQ(flat(l.mesh.normals), (std::vector<float>{7, 7, 7, 2, 2, 2, 3, 3, 3}));
}

TEST(Mesh, LoadingTwiceGivesTheSameMeshAndAMissingFileEmptiesIt) {
    TempDir dir;
    const std::string file =
        dir.write("model.mesh", "3 vertices 1 2 3 4 5 6 7 8 9 quadrilaterals 1 0 1 2 0");
    Mesh mesh;
    CaptureStreams capture;
    ASSERT_TRUE(loadMesh(file.c_str(), mesh));
    ASSERT_TRUE(loadMesh(file.c_str(), mesh));
    EXPECT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 2, 0, 0}));

    capture.clear();
    const std::string missing = dir.path("missing.mesh");
    EXPECT_FALSE(loadMesh(missing.c_str(), mesh));
    EXPECT_EQ(capture.err(), "Unable to open file: " + missing + "\n");
    EXPECT_EQ(capture.out(), "");
    EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty());
}

// A count is refused when the rest of the file is shorter in bytes: each of
// these would otherwise allocate gigabytes from a few bytes of text.
TEST(Mesh, CountsTheFileCannotHoldAreRefused) {
    TempDir dir;
    const std::string model = dir.path("model.mesh");
    struct Case {
        std::string text;
        std::string err;
    };
    const Case cases[] = {
        {"2000000000 vertices 1 2 3",
         "Error loading model " + model + ".  Invalid size: 2000000000\n"},
        {"16000000 normals 1 2 3", "Error loading model " + model + ".  Invalid size: 16000000\n"},
        {"20 texture 1 2 3 4", "Error loading model " + model + ".  Invalid size: 20\n"},
        {"3 vertices", "Error loading model " + model + ".  Invalid size: 3\n"},
        {"3 quadrilaterals 2000000000 0 1 2 0", "Error loading mesh.  Invalid count.\n"},
        {"3 triangles 400000000 0 1 2", "Error loading mesh. Invalid count.\n"},
        {"3 triangles 99999999999", "Error loading mesh. Invalid count.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Loaded l = load(dir, c.text);
        EXPECT_FALSE(l.result);
        EXPECT_EQ(l.err, c.err);
        EXPECT_LT(l.mesh.vertices.size() + l.mesh.normals.size() + l.mesh.indices.size(), 10u);
    }
    // Just enough bytes for the count: still loaded, the rest is zero.
    const Loaded edge = load(dir, "8 vertices 1 2 3 4 ");
    EXPECT_TRUE(edge.result);
    EXPECT_EQ(edge.mesh.vertices.size(), 8u);
}
