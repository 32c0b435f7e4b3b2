#include "CoreFixture.h"
#include <GL/gl.h>
#include <sstream>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The lines of `wanted` that occur in `lines`, in the order they occur there.
std::vector<std::string> keepOnly(const std::vector<std::string>& lines,
                                  const std::vector<std::string>& wanted) {
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        for (const std::string& w : wanted)
            if (line == w) {
                kept.push_back(line);
                break;
            }
    return kept;
}

} // namespace

using GameCoreTest = CoreFixture;

TEST_F(GameCoreTest, StartsUpInOrderWithEveryAssetMissing) {
    const std::vector<std::string> lines = linesOf(startupOut);
    const std::vector<std::string> expected = {
        "Display::Display()",  "end Display::Display()", "GameCore::GameCore()",
        "Loading skeleton: 0", "Loading skeleton: 0",    "Loading skeleton: 0",
        "Loading skeleton: 0", "Loading menu: 0",        "end GameCore::GameCore()"};
    EXPECT_EQ(lines, expected);

    // With no picture to load, the lighting is the only GL work after the Display's.
    const std::vector<fakegl::Call>& calls = fakegl::calls();
    ASSERT_GE(calls.size(), 3u);
    const fakegl::Call& lighting = calls[calls.size() - 3];
    const fakegl::Call& light0 = calls[calls.size() - 2];
    const fakegl::Call& diffuse = calls[calls.size() - 1];
    EXPECT_EQ(lighting.name, "glEnable");
    EXPECT_EQ(lighting.args, std::vector<double>{GL_LIGHTING});
    EXPECT_EQ(light0.name, "glEnable");
    EXPECT_EQ(light0.args, std::vector<double>{GL_LIGHT0});
    EXPECT_EQ(diffuse.name, "glLightfv");
    EXPECT_EQ(diffuse.args, (std::vector<double>{GL_LIGHT0, GL_DIFFUSE}));
    ASSERT_GE(diffuse.data.size(), 3u);
    EXPECT_EQ(std::vector<float>(diffuse.data.begin(), diffuse.data.begin() + 3),
              (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(core->menus.empty());
}

TEST_F(GameCoreTest, StartsOnTheTitleWithNoGameAndTheDefaults) {
    EXPECT_EQ(consoleLines(), std::vector<std::string>{"Vantrell"});
    EXPECT_TRUE(core->splashVisible);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "");
    EXPECT_TRUE(core->tanks.empty());
    EXPECT_EQ(core->currentTank, core->tanks.end());
    EXPECT_TRUE(core->tankNodes.empty());
    const std::map<std::string, int> defaults = {{"normals", 0},  {"keydump", 0}, {"wireframe", 0},
                                                 {"lighting", 1}, {"menu", 0},    {"fps", 0}};
    EXPECT_EQ(core->variables, defaults);
    ASSERT_EQ(core->weapons.size(), 6u);
    EXPECT_EQ(core->currentWeapon, core->weapons.begin());
}

TEST_F(GameCoreTest, AKeyOnTheTitleShowsTheMenuEvenWithNoMenuLoaded) {
    core->currentMenu = 3;
    press('x');
    EXPECT_EQ(core->variables["menu"], 1);
    EXPECT_EQ(core->currentMenu, 0);
    EXPECT_FALSE(core->keyDown['x']);
}

TEST_F(GameCoreTest, DestroysEveryObjectOnceThenTheWeapons) {
    core->tankSkeleton = aimingSkeleton();
    newGame(2);
    leaveTitle();
    press(' '); // a shell and its explosion join the two tanks
    ASSERT_EQ(core->objects.size(), 4u);

    CaptureStreams capture;
    core.reset();
    const std::vector<std::string> lines = linesOf(capture.out());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "~GameCore()");
    EXPECT_EQ(keepOnly(lines, {"~Explosive()", "~Explosion()"}),
              (std::vector<std::string>{"~Explosive()", "~Explosion()"}));
}
