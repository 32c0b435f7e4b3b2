#include "CoreFixture.h"
#include <climits>

class GameCoreCommandsTest : public CoreFixture {
protected:
    // Runs a line and returns its trace lines.
    std::string run(const std::string& line) {
        TraceCapture capture;
        core->processCommands(line);
        return capture.out();
    }
};

// Blanks around a command do not matter; "terrain" hides the title and makes
// new ground; "work" has its own line.
TEST_F(GameCoreCommandsTest, ALineSplitsAtEverySemicolon) {
    flatten(0.0f);
    const std::pair<const char*, const char*> cases[] = {
        {"work;;work",
         "processCommand: \"work\"\nprocessCommand: \"\"\nprocessCommand: \"work\"\n"},
        {"set fps 1;", "processCommand: \"set fps 1\"\n"},
        {";", "processCommand: \"\"\n"},
        {"  set fps 2 ; terrain ",
         "processCommand: \"  set fps 2 \"\nprocessCommand: \" terrain \"\n"},
    };
    for (const auto& [line, trace] : cases)
        EXPECT_EQ(run(line), trace) << line;
    EXPECT_EQ(state->variables["fps"], 2);
    EXPECT_FALSE(state->splashVisible);
    EXPECT_GE(state->terrain.cells().at(0, 0).height, 0.25f);
    EXPECT_EQ(consoleLines().front(), "Error processing command.  Please bang head against wall.");
}

// Only "set" of a name that is no variable adds a console line; unknown words,
// in any case, do nothing at all.
TEST_F(GameCoreCommandsTest, SetReadsANumberOrTakesZeroAndRefusesUnknownNames) {
    struct Case {
        const char* line;
        int fps;
        std::size_t consoleLines;
    };
    const Case cases[] = {
        {"set fps 7", 7, 1},     {"set fps", 0, 1},        {"set fps -3", -3, 1},
        {"set speed 3", -3, 2},  {"set fps abc", 0, 2},    {"set", 0, 3},
        {"set fps 12cm", 12, 3}, {"set FPS 1", 12, 4},     {"set  fps\t9 8", 9, 4},
        {"Terrain", 9, 4},       {"launch 3;fire;", 9, 4}, {"set fps 9999999999", INT_MAX, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        run(c.line);
        EXPECT_EQ(state->variables["fps"], c.fps);
        EXPECT_EQ(consoleLines().size(), c.consoleLines);
    }
    EXPECT_EQ(consoleLines().front(), "Invalid variable.");
    EXPECT_EQ(state->variables.size(), 8u) << "no variable was made";
    EXPECT_TRUE(state->splashVisible);
}

// The first menu of that id; an unknown id or none keeps the menu, and shows it.
TEST_F(GameCoreCommandsTest, MenuPicksAMenuByIdAndAlwaysShowsOne) {
    for (const char* id : {"main", "settings", "settings"})
        state->menus.emplace_back().id = id;
    for (const char* line : {"menu settings", "menu nosuch", "menu"}) {
        SCOPED_TRACE(line);
        state->variables["menu"] = 0;
        run(line);
        EXPECT_EQ(state->currentMenu, 1);
        EXPECT_EQ(state->variables["menu"], 1);
    }
}

// Without a number there is nothing to start; the game goes on untouched. A
// count past any shared keyboard is cut down rather than exhausting memory.
TEST_F(GameCoreCommandsTest, TanksStartsAGameOnlyWithACount) {
    for (const char* line : {"tanks 3", "tanks", "tanks many", "tanks  ;"})
        EXPECT_EQ((run(line), state->tanks.size()), 3u) << line;
    EXPECT_EQ((run("tanks 99999999999999999999999"), state->tanks.size()), 64u);
    EXPECT_EQ((run("tanks -2"), state->tanks.size()), 0u);
    EXPECT_TRUE(state->objects.empty());
}

// "replay" asks the watcher for the newest game or a named file, and shows what
// it answers when it cannot play it; a core without one says so.
TEST_F(GameCoreCommandsTest, ReplayAsksTheWatcherForTheLastGameOrAFile) {
    run("replay");
    EXPECT_EQ(consoleLines().front(), "No replays in this game.");
    std::vector<std::string> asked;
    core->setReplayWatcher([&](const std::string& which) {
        asked.push_back(which);
        return "No replay to watch.";
    });
    run("replay;replay last;replay  /tmp/my game.vtr");
    EXPECT_EQ(asked, (std::vector<std::string>{"last", "last", "/tmp/my game.vtr"}));
    EXPECT_EQ(consoleLines().front(), "No replay to watch.");
}
