#include "assets/Skeleton.h"

#include "assets/Matrix4.h"
#include "assets/SkeletonParser.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool loadText(const TempDir& dir, const std::string& text, Skeleton& root) {
    return loadSkeleton(dir.write("model.skel", text).c_str(), root);
}

std::size_t depthOf(const Skeleton& node) {
    std::size_t deepest = 0;
    for (const Skeleton& child : node.children) {
        deepest = std::max(deepest, depthOf(child));
    }
    return deepest + 1;
}

} // namespace

TEST(Skeleton, RootWithOnlyAMeshKeepsTheNeutralPlacement) {
    TempDir dir;
    Skeleton root;
    root.scale = Vector3(5, 5, 5); // opening the root resets it
    ASSERT_TRUE(loadText(dir, "<skeleton><mesh>tank body.mesh</mesh></skeleton>\n", root));
    EXPECT_EQ(root.meshName, "tank body.mesh");
    EXPECT_EQ(root.id, "");
    EXPECT_EQ(root.translate, Vector3(0, 0, 0));
    EXPECT_EQ(root.rotate, Vector3(0, 0, 0));
    EXPECT_EQ(root.scale, Vector3(1, 1, 1));
    EXPECT_TRUE(root.children.empty());
}

TEST(Skeleton, NestedChildrenFormAChainAndSiblingsKeepFileOrder) {
    TempDir dir;
    Skeleton root;
    ASSERT_TRUE(loadText(dir,
                         "<skeleton><id>r</id>\n"
                         "  <child><id>a</id><child><id>b</id><child><id>c</id>"
                         "<translate><y>2</y></translate></child></child></child>\n"
                         "  <child><id>d</id><scale><x>3</x></scale></child>\n"
                         "</skeleton>",
                         root));
    ASSERT_EQ(root.children.size(), 2u);
    const Skeleton& a = root.children[0];
    ASSERT_EQ(a.children.size(), 1u);
    ASSERT_EQ(a.children[0].children.size(), 1u);
    const Skeleton& c = a.children[0].children[0];
    EXPECT_EQ(a.id + a.children[0].id + c.id, "abc");
    EXPECT_EQ(c.translate, Vector3(0, 2, 0));
    EXPECT_EQ(root.children[1].id, "d");
    EXPECT_EQ(root.children[1].scale, Vector3(3, 1, 1));
}

TEST(Skeleton, ComponentTextIsReadAsTheLongestLeadingNumber) {
    TempDir dir;
    struct Case {
        const char* text;
        float value;
    };
    const Case cases[] = {{" 2.5", 2.5f},
                          {"3cm", 3.0f},
                          {"abc", 0.0f},
                          {"-.5", -0.5f},
                          {"1e2", 100.0f},
                          {"1e", 1.0f},
                          {"2.e-1x", 0.2f},
                          {"0x10", 0.0f},
                          {"inf", 0.0f},
                          {"\t7", 7.0f},
                          {"+4", 4.0f},
                          {".", 0.0f},
                          // expat splits text at line ends and the last piece wins
                          {"7\n", 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Skeleton root;
        ASSERT_TRUE(loadText(
            dir, std::string("<skeleton><rotate><z>") + c.text + "</z></rotate></skeleton>", root));
        EXPECT_EQ(root.rotate.z, c.value);
    }
}

TEST(Skeleton, ElementsOutsideTheirPlaceAreIgnored) {
    TempDir dir;
    Skeleton root;
    ASSERT_TRUE(loadText(dir,
                         "<doc><child><id>early</id><mesh>early.mesh</mesh></child>"
                         "<skeleton><x>9</x><child><y>9</y><translate><q><z>9</z></q></translate>"
                         "</child><skeleton><id>second</id></skeleton></skeleton></doc>",
                         root));
    // The second "skeleton" opens nothing, so its id lands on the root.
    EXPECT_EQ(root.id, "second");
    EXPECT_EQ(root.meshName, "");
    EXPECT_EQ(root.translate, Vector3(0, 0, 0));
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].translate, Vector3(0, 0, 0));
    EXPECT_EQ(root.children[0].rotate, Vector3(0, 0, 0));
}

TEST(Skeleton, MalformedFileFailsButKeepsWhatWasRead) {
    TempDir dir;
    Skeleton root;
    EXPECT_FALSE(loadText(dir, "<skeleton><child><id>a</id></child><child><id>b</id>", root));
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[1].id, "b");
    Skeleton missing;
    EXPECT_FALSE(loadSkeleton(dir.path("missing.skel").c_str(), missing));
}

TEST(Skeleton, TransformFromNodeCarriesThePointToTheRootsFrame) {
    TempDir dir;
    Skeleton root;
    ASSERT_TRUE(loadText(dir,
                         "<skeleton><translate><z>5</z></translate>"
                         "<child><id>tip</id><translate><y>1</y></translate>"
                         "<rotate><x>90</x></rotate></child></skeleton>",
                         root));
    Vector3 point(0, 0, 0);
    EXPECT_TRUE(transformFromNode(root, point, "tip"));
    EXPECT_EQ(point, Vector3(0, 1, 5));

    // The rotation of the node itself applies to points away from its origin.
    Vector3 ahead(0, 2, 0);
    EXPECT_TRUE(transformFromNode(root, ahead, "tip"));
    EXPECT_NEAR(ahead.y, 1.0f, 1e-5f);
    EXPECT_NEAR(ahead.z, 7.0f, 1e-5f);

    Vector3 untouched(4, 5, 6);
    EXPECT_FALSE(transformFromNode(root, untouched, "muzzle"));
    EXPECT_EQ(untouched, Vector3(4, 5, 6));
}

TEST(Skeleton, FirstNodeInPreOrderWinsAndTheRootCanBeNamed) {
    Skeleton root;
    root.id = "body";
    root.translate = Vector3(100, 0, 0);
    Skeleton first;
    Skeleton deep;
    deep.id = "gun";
    deep.translate = Vector3(0, 1, 0);
    first.children.push_back(deep);
    Skeleton later;
    later.id = "gun";
    later.translate = Vector3(0, 2, 0);
    root.children = {first, later};

    EXPECT_EQ(nextTowards(root, "gun"), &root.children[0]);
    EXPECT_EQ(nextTowards(root, "body"), nullptr); // the node itself is not examined
    Vector3 p;
    ASSERT_TRUE(transformFromNode(root, p, "gun"));
    EXPECT_EQ(p, Vector3(100, 1, 0));
    Vector3 q;
    ASSERT_TRUE(transformFromNode(root, q, "body"));
    EXPECT_EQ(q, Vector3(100, 0, 0));
}

// Copying and destroying a tree recurse per level: a deep file must be refused
// before it can exhaust the stack, and a wide one before it eats memory.
TEST(Skeleton, TooDeepOrTooManyNodesIsRefused) {
    TempDir dir;
    const auto nested = [](std::size_t children) {
        std::string text = "<skeleton>";
        for (std::size_t i = 0; i < children; ++i) {
            text += "<child>";
        }
        for (std::size_t i = 0; i < children; ++i) {
            text += "</child>";
        }
        return text + "</skeleton>";
    };
    Skeleton deepest;
    EXPECT_TRUE(loadText(dir, nested(SkeletonParser::maxDepth - 1), deepest));
    EXPECT_EQ(depthOf(deepest), SkeletonParser::maxDepth);
    Skeleton tooDeep;
    EXPECT_FALSE(loadText(dir, nested(SkeletonParser::maxDepth), tooDeep));
    EXPECT_EQ(depthOf(tooDeep), SkeletonParser::maxDepth);
    Skeleton hostile;
    EXPECT_FALSE(loadText(dir, nested(300000), hostile));
    EXPECT_EQ(depthOf(hostile), SkeletonParser::maxDepth);

    std::string wide = "<skeleton>";
    for (std::size_t i = 0; i <= SkeletonParser::maxNodes; ++i) {
        wide += "<child/>";
    }
    Skeleton tooWide;
    EXPECT_FALSE(loadText(dir, wide + "</skeleton>", tooWide));
    EXPECT_EQ(tooWide.children.size(), SkeletonParser::maxNodes);
}
