#include "assets/Skeleton.h"
#include "assets/SkeletonParser.h"
#include "support/TempDir.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

bool loadText(const TempDir& dir, const std::string& text, Skeleton& root) {
    return loadSkeleton(dir.write("model.skel", text).c_str(), root);
}

// A tree as text: each node's id, mesh, translation, rotation and scale, then
// its children in braces.
std::string dump(const Skeleton& node) {
    std::ostringstream out;
    out << node.id << "|" << node.meshName;
    for (const Vector3& v : {node.translate, node.rotate, node.scale})
        out << " " << v.x << "," << v.y << "," << v.z;
    for (const Skeleton& child : node.children)
        out << " {" << dump(child) << "}";
    return out.str();
}

std::string repeat(const std::string& text, std::size_t times) {
    std::string result;
    while (times-- > 0)
        result += text;
    return result;
}

} // namespace

// Component text is read as its longest leading number: no hexadecimal, no
// "inf"; expat splits text at a line end, and the last piece wins.
TEST(Skeleton, NodesNestInFileOrderAndElementsOutsideTheirPlaceAreIgnored) {
    TempDir dir;
    Skeleton root;
    root.scale = Vector3(5, 5, 5); // opening the root resets it
    ASSERT_TRUE(loadText(dir,
                         "<doc><child><id>early</id><mesh>early.mesh</mesh></child>"
                         "<skeleton><mesh>tank body.mesh</mesh><x>9</x>\n"
                         "  <child><id>a</id><y>9</y><child><id>b</id><child><id>c</id><translate>"
                         "<x>3cm</x><y>-.5</y><z>2.e-1x</z><q><z>9</z></q></translate>"
                         "</child></child></child>\n"
                         "  <child><id>d</id><scale><x> 2.5</x><y>0x10</y><z>7\n</z></scale>"
                         "<rotate><x>inf</x><y>1e</y></rotate></child>\n"
                         "</skeleton></doc>",
                         root));
    EXPECT_EQ(dump(root), "|tank body.mesh 0,0,0 0,0,0 1,1,1 {a| 0,0,0 0,0,0 1,1,1 {b| 0,0,0 0,0,0 "
                          "1,1,1 {c| 3,-0.5,0.2 0,0,0 1,1,1}}} {d| 0,0,0 0,1,0 2.5,0,0}");
}

// Copying and destroying a tree recurse per level: a deep file must be refused
// before it can exhaust the stack, and a wide one before it eats memory.
TEST(Skeleton, TooDeepOrTooManyNodesIsRefused) {
    TempDir dir;
    struct Case {
        std::size_t children;
        bool loaded;
    };
    for (const Case& c : {Case{SkeletonParser::maxDepth - 1, true},
                          Case{SkeletonParser::maxDepth, false}, Case{300000, false}}) {
        SCOPED_TRACE(c.children);
        Skeleton root;
        const std::string nested = repeat("<child>", c.children) + repeat("</child>", c.children);
        EXPECT_EQ(loadText(dir, "<skeleton>" + nested + "</skeleton>", root), c.loaded);
        std::size_t depth = 1;
        for (const Skeleton* node = &root; !node->children.empty(); node = &node->children[0])
            ++depth;
        EXPECT_EQ(depth, SkeletonParser::maxDepth);
    }
    Skeleton wide;
    const std::string children = repeat("<child/>", SkeletonParser::maxNodes + 1);
    EXPECT_FALSE(loadText(dir, "<skeleton>" + children + "</skeleton>", wide));
    EXPECT_EQ(wide.children.size(), SkeletonParser::maxNodes);
}
