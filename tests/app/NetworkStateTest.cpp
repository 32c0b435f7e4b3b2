#include "app/NetworkState.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

// What two machines' files are compared by: the step, the digest, each object
// with the exact bits of what it holds, and every height.
TEST(NetworkState, WritesTheWorldWithItsExactBits) {
    Terrain terrain(4, 3, 10.0f, 10.0f, 10.0f);
    terrain.generate(5, 0.25f, 0.75f);
    ObjectList objects;
    auto tank = std::make_unique<TankObject>();
    tank->position = Vector3(1.0f, 2.0f, 0.1f);
    tank->health = 37.5f;
    objects.push_back(std::move(tank));
    TempDir folder;
    ASSERT_TRUE(writeNetworkState(folder.path("game.vtr.state"), 1234, objects, terrain));

    std::ifstream in(folder.path("game.vtr.state"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u + 1u + 1u + 3u);
    EXPECT_EQ(lines[0], "step 1234");
    EXPECT_EQ(lines[1].rfind("digest ", 0), 0u);
    EXPECT_EQ(lines[1].size(), 7u + 16u);
    EXPECT_EQ(lines[2], "objects 1");
    EXPECT_NE(lines[3].find("position 1 2 0.100000001 (3f800000 40000000 3dcccccd)"),
              std::string::npos)
        << lines[3];
    EXPECT_NE(lines[3].find("health 37.5 (42160000)"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "terrain 4 x 3");
    std::istringstream row(lines[5]);
    int heights = 0;
    for (std::string word; row >> word; ++heights)
        EXPECT_EQ(word.size(), 8u);
    EXPECT_EQ(heights, 4);
}

TEST(NetworkState, AFolderThatCannotBeWrittenIsSaidOnce) {
    Terrain terrain(2, 2, 1.0f, 1.0f, 1.0f);
    TraceCapture capture;
    EXPECT_FALSE(writeNetworkState("/nonexistent/folder/x.state", 1, ObjectList{}, terrain));
    EXPECT_EQ(capture.err(), "Could not write the network state to /nonexistent/folder/x.state\n");
}
