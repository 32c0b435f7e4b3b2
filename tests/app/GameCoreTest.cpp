#include "CoreFixture.h"

using GameCoreTest = CoreFixture;

TEST_F(GameCoreTest, StartsUpInOrderOnTheTitleWithEveryAssetMissing) {
    EXPECT_EQ(startupOut, "Display::Display()\nend Display::Display()\nGameCore::GameCore()\n"
                          "Loading skeleton: 0\nLoading skeleton: 0\nLoading skeleton: 0\n"
                          "Loading skeleton: 0\nLoading menu: 0\nend GameCore::GameCore()\n");

    EXPECT_EQ(consoleLines(), std::vector<std::string>{"Vantrell"});
    EXPECT_TRUE(state->splashVisible);
    EXPECT_TRUE(state->messageShown);
    const std::map<std::string, int> defaults = {{"normals", 0},  {"keydump", 0}, {"wireframe", 0},
                                                 {"lighting", 1}, {"menu", 0},    {"fps", 0},
                                                 {"follow", 1},
                                                 {"marks", 1}};
    EXPECT_EQ(state->variables, defaults);
}
