#include "app/CommandLine.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using Action = CommandLine::Action;

// Parses "vantrell" followed by the words, from writable copies as a real argv is.
struct Parsed {
    explicit Parsed(const std::vector<std::string>& words) : storage{"vantrell"} {
        storage.insert(storage.end(), words.begin(), words.end());
        for (std::string& word : storage)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        line = std::make_unique<CommandLine>(static_cast<int>(storage.size()), argv.data());
    }
    std::vector<std::string> glutWords() {
        std::vector<std::string> words;
        for (int i = 0; i < *line->glutArgc(); ++i)
            words.push_back(line->glutArgv()[i]);
        EXPECT_EQ(line->glutArgv()[*line->glutArgc()], nullptr);
        return words;
    }

    std::vector<std::string> storage;
    std::vector<char*> argv;
    std::unique_ptr<CommandLine> line;
};

TEST(CommandLineTest, AcceptedLines) {
    struct Case {
        std::vector<std::string> words;
        Action action;
        std::vector<std::string> glut; // after the program name
        std::string replay;
        bool fast;
    };
    const Case cases[] = {
        {{}, Action::play, {}, "", false},
        {{"--"}, Action::play, {}, "", false},
        {{"-h"}, Action::help, {}, "", false},
        {{"--version"}, Action::version, {}, "", false},
        // The first of help and version wins, and ends the reading: what follows is not looked at.
        {{"--version", "--help"}, Action::version, {}, "", false},
        {{"--help", "--no-such"}, Action::help, {}, "", false},
        {{"-display", ":3", "-sync", "-geometry", "-0-0", "-iconic", "-gldebug", "-direct",
          "-indirect"},
         Action::play,
         {"-display", ":3", "-sync", "-geometry", "-0-0", "-iconic", "-gldebug", "-direct",
          "-indirect"},
         "",
         false},
        {{"--replay", "game.vrp"}, Action::play, {}, "game.vrp", false},
        {{"--replay=-odd name", "--fast"}, Action::play, {}, "-odd name", true},
        {{"--fast", "-geometry", "800x600", "--replay", "a", "--"},
         Action::play,
         {"-geometry", "800x600"},
         "a",
         true},
    };
    for (const Case& c : cases) {
        Parsed parsed(c.words);
        SCOPED_TRACE(testing::PrintToString(c.words));
        EXPECT_EQ(parsed.line->action(), c.action);
        EXPECT_EQ(parsed.line->error(), "");
        std::vector<std::string> glut{"vantrell"};
        glut.insert(glut.end(), c.glut.begin(), c.glut.end());
        EXPECT_EQ(parsed.glutWords(), glut);
        EXPECT_EQ(parsed.line->replayFile(), c.replay);
        EXPECT_EQ(parsed.line->fast(), c.fast);
    }
}

TEST(CommandLineTest, RefusedLinesNameTheWord) {
    struct Case {
        std::vector<std::string> words;
        std::string error;
    };
    const Case cases[] = {
        {{"--no-such"}, "unknown option '--no-such'"},
        {{"--Help"}, "unknown option '--Help'"},
        {{"-help"}, "unknown option '-help'"},
        {{"--version=2"}, "unknown option '--version=2'"},
        {{"game.vrp"}, "unexpected argument 'game.vrp'"},
        {{"-"}, "unexpected argument '-'"},
        {{""}, "unexpected argument ''"},
        {{"--", "--help"}, "unexpected argument '--help'"},
        // A refusal comes before a later request for help, as GNU programs do.
        {{"--bad", "--help"}, "unknown option '--bad'"},
        {{"--replay"}, "option '--replay' needs a file"},
        {{"--replay="}, "option '--replay' needs a file"},
        {{"--replay", "--fast"}, "option '--replay' needs a file"},
        {{"--fast"}, "option '--fast' needs '--replay FILE'"},
        {{"-display"}, "option '-display' needs a value"},
        {{"-sync", "-geometry"}, "option '-geometry' needs a value"},
        // Options GLUT does not know are not handed to it as they were before.
        {{"-foo"}, "unknown option '-foo'"},
    };
    for (const Case& c : cases) {
        Parsed parsed(c.words);
        SCOPED_TRACE(testing::PrintToString(c.words));
        EXPECT_EQ(parsed.line->action(), Action::refuse);
        EXPECT_EQ(parsed.line->error(), c.error);
    }
}

TEST(CommandLineTest, UsageNamesEveryOption) {
    // Every option the parser accepts is in the help.
    for (const char* option :
         {"-h, --help", "--version", "--replay FILE", "--fast", "-display", "-geometry", "-iconic",
          "-direct", "-indirect", "-gldebug", "-sync"}) {
        SCOPED_TRACE(option);
        EXPECT_NE(CommandLine::usage().find(option), std::string::npos);
    }
}

} // namespace
