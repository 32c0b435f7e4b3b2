#include "CoreFixture.h"
#include <algorithm>
#include <climits>

class GameCoreCommandsTest : public CoreFixture {
protected:
    // Runs a line and returns its trace lines.
    std::string run(const std::string& line) {
        CaptureStreams capture;
        core->processCommands(line);
        return capture.out();
    }

    void addMenu(const std::string& id) {
        Menu menu;
        menu.id = id;
        core->menus.push_back(menu);
    }
};

TEST_F(GameCoreCommandsTest, ALineSplitsAtEverySemicolon) {
    struct Case {
        const char* line;
        const char* trace;
    };
    const Case cases[] = {
        {"set lighting 0;set wireframe 1",
         "processCommand: \"set lighting 0\"\nprocessCommand: \"set wireframe 1\"\n"},
        {"work;;work",
         "processCommand: \"work\"\nprocessCommand: \"\"\nprocessCommand: \"work\"\n"},
        {"set fps 1;", "processCommand: \"set fps 1\"\n"},
        {";", "processCommand: \"\"\n"},
        {"", ""},
        {"  set fps 2 ; terrain ",
         "processCommand: \"  set fps 2 \"\nprocessCommand: \" terrain \"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(run(c.line), c.trace);
    }
    EXPECT_EQ(core->variables["lighting"], 0);
    EXPECT_EQ(core->variables["wireframe"], 1);
    EXPECT_EQ(core->variables["fps"], 2) << "blanks around a command do not matter";
    EXPECT_FALSE(core->splashVisible);
}

TEST_F(GameCoreCommandsTest, SetReadsANumberOrTakesZero) {
    struct Case {
        const char* line;
        int fps;
    };
    const Case cases[] = {
        {"set fps 7", 7},
        {"set fps", 0},
        {"set fps 5", 5},
        {"set fps abc", 0},
        {"set fps -3", -3},
        {"set fps +4", 4},
        {"set fps 12cm", 12},
        {"set fps 3.9", 3},
        {"set fps 0x10", 0},
        {"set  fps\t9 8", 9},
        {"set fps 99999999999", INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        run(c.line);
        EXPECT_EQ(core->variables["fps"], c.fps);
    }
    run("set lighting 7");
    EXPECT_EQ(core->variables["lighting"], 7);
    EXPECT_EQ(consoleLines(), std::vector<std::string>{"Vantrell"});
}

TEST_F(GameCoreCommandsTest, SetRefusesNamesThatAreNoVariable) {
    const std::map<std::string, int> before = core->variables;
    for (const char* line : {"set speed 3", "set", "set FPS 1"}) {
        SCOPED_TRACE(line);
        run(line);
        EXPECT_EQ(consoleLines().front(), "Invalid variable.");
        EXPECT_EQ(core->variables, before);
    }
    EXPECT_EQ(consoleLines().size(), 4u);
}

TEST_F(GameCoreCommandsTest, UnknownWordsDoNothingButTrace) {
    const std::map<std::string, int> before = core->variables;
    EXPECT_EQ(run("Terrain"), "processCommand: \"Terrain\"\n");
    run("launch 3;fire;   ");
    EXPECT_TRUE(core->splashVisible);
    EXPECT_EQ(core->variables, before);
    EXPECT_EQ(consoleLines(), std::vector<std::string>{"Vantrell"});
}

TEST_F(GameCoreCommandsTest, TerrainHidesTheTitleAndMakesNewGround) {
    for (std::uint32_t i = 0; i < core->terrain.width(); ++i)
        for (std::uint32_t j = 0; j < core->terrain.height(); ++j)
            core->terrain.cells().at(i, j).height = 0.0f;
    run("terrain");
    EXPECT_FALSE(core->splashVisible);
    float low = 1.0f;
    float high = 0.0f;
    for (std::uint32_t i = 0; i < core->terrain.width(); ++i)
        for (std::uint32_t j = 0; j < core->terrain.height(); ++j) {
            low = std::min(low, core->terrain.cells().at(i, j).height);
            high = std::max(high, core->terrain.cells().at(i, j).height);
        }
    EXPECT_FLOAT_EQ(low, 0.25f);
    EXPECT_FLOAT_EQ(high, 0.75f);
}

TEST_F(GameCoreCommandsTest, MenuPicksAMenuByIdAndAlwaysShowsOne) {
    addMenu("main");
    addMenu("settings");
    addMenu("settings");
    run("menu settings");
    EXPECT_EQ(core->currentMenu, 1) << "the first menu of that id";
    EXPECT_EQ(core->variables["menu"], 1);

    run("set menu 0");
    EXPECT_EQ(core->variables["menu"], 0);
    for (const char* line : {"menu nosuch", "menu"}) {
        SCOPED_TRACE(line);
        core->variables["menu"] = 0;
        run(line);
        EXPECT_EQ(core->currentMenu, 1);
        EXPECT_EQ(core->variables["menu"], 1);
    }
}

TEST_F(GameCoreCommandsTest, WorkComplains) {
    run("work");
    EXPECT_EQ(consoleLines().front(), "Error processing command.  Please bang head against wall.");
}

TEST_F(GameCoreCommandsTest, TanksStartsAGameOnlyWithACount) {
    run("tanks 3");
    EXPECT_EQ(core->tanks.size(), 3u);
    // Without a number there is nothing to start; the game goes on untouched.
    for (const char* line : {"tanks", "tanks many", "tanks  ;"}) {
        SCOPED_TRACE(line);
        run(line);
        EXPECT_EQ(core->tanks.size(), 3u);
    }
    run("tanks 2;set fps 1");
    EXPECT_EQ(core->tanks.size(), 2u);
    EXPECT_EQ(core->variables["fps"], 1);
    for (const char* line : {"tanks 2000000000", "tanks 99999999999999999999999"}) {
        SCOPED_TRACE(line);
        run(line);
        EXPECT_EQ(core->tanks.size(), static_cast<std::size_t>(GameCore::maxPlayers));
    }
    run("tanks -2");
    EXPECT_TRUE(core->tanks.empty());
    EXPECT_TRUE(core->objects.empty());
}

using GameCoreCommandsDeathTest = GameCoreCommandsTest;

TEST_F(GameCoreCommandsDeathTest, QuitAndExitEndTheProcessWithStatusZero) {
    for (const char* line : {"quit", "exit", "set fps 1; quit ;set fps 2", "  exit now"}) {
        SCOPED_TRACE(line);
        EXPECT_EXIT(core->processCommands(line), testing::ExitedWithCode(0), "");
    }
}
