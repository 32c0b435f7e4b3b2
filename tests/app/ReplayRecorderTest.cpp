#include "app/ReplayRecorder.h"
#include "app/ReplayFolder.h"
#include "assets/ReplayReader.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<ReplayEvent::Kind> kindsIn(const std::string& path) {
    ReplayReader reader;
    std::string why;
    EXPECT_TRUE(reader.load(path, why)) << why;
    std::vector<ReplayEvent::Kind> kinds;
    for (ReplayEvent event; reader.next(event);)
        kinds.push_back(event.kind);
    return kinds;
}

} // namespace

// Names sort as the games were played, two in one second included, and only the
// newest twenty stay.
TEST(ReplayRecorder, TheFolderKeepsTheNewestTwentyInTheOrderTheyWerePlayed) {
    TempDir dir;
    const ReplayFolder folder(dir.path("replays"));
    std::string why;
    ASSERT_TRUE(folder.prepare(why)) << why;
    const std::time_t second = 1796700000;
    std::vector<std::string> made;
    for (int i = 0; i < 25; ++i) {
        const std::string path = folder.newFile(second + i / 3);
        ASSERT_FALSE(path.empty());
        std::ofstream(path) << i;
        made.push_back(path);
        folder.keepNewest(ReplayFolder::kept);
    }
    dir.write("replays/notes.txt", "not a replay");
    const std::vector<std::string> kept = folder.replays();
    ASSERT_EQ(kept.size(), ReplayFolder::kept);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(folder.path() + "/" + kept[i], made[5 + i]);
    EXPECT_EQ(folder.newest(), made.back());
    EXPECT_TRUE(std::filesystem::exists(dir.path("replays/notes.txt")));
}

// A game's file is the session before it, its start, then the game; starts with
// nothing between them are one game; every file is whole while the game goes on.
TEST(ReplayRecorder, EachGameGetsAFileWithTheSessionBeforeIt) {
    TempDir dir;
    ReplayHeader header;
    header.seed = 7;
    ReplayRecorder recorder(ReplayFolder(dir.path("r")), header);
    using K = ReplayEvent::Kind;
    recorder.record(ReplayEvent::reshape(640, 480));
    recorder.record(ReplayEvent::update(0.016f));
    EXPECT_EQ(recorder.currentFile(), "") << "the title is no game";
    recorder.gameStarts();
    recorder.gameStarts(); // "terrain;tanks 2"
    const std::string first = recorder.currentFile();
    recorder.record(ReplayEvent::keyboard(13, true, 0));
    // Flushed at the key: a killed game's file has it.
    EXPECT_EQ(kindsIn(first), (std::vector<K>{K::reshape, K::update, K::gameStart, K::key}));
    recorder.record(ReplayEvent::update(0.016f));
    recorder.gameStarts();
    recorder.flush();
    const std::string second = recorder.currentFile();
    EXPECT_NE(second, first);
    EXPECT_EQ(kindsIn(first),
              (std::vector<K>{K::reshape, K::update, K::gameStart, K::key, K::update}));
    EXPECT_EQ(kindsIn(second),
              (std::vector<K>{K::reshape, K::update, K::key, K::update, K::gameStart}));
}

// An unwritable folder costs one line, once; the game goes on unrecorded.
TEST(ReplayRecorder, AFolderThatCannotBeWrittenCostsOneLine) {
    TempDir dir;
    dir.write("locked", "a file where the folder would go: even root cannot write there");
    ReplayRecorder recorder(ReplayFolder(dir.path("locked/replays")), ReplayHeader{});
    TraceCapture capture;
    for (int game = 0; game < 3; ++game) {
        recorder.gameStarts();
        recorder.record(ReplayEvent::keyboard('a', true, 0));
    }
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(capture.err().rfind("Games are not recorded: " + dir.path("locked/replays"), 0), 0u)
        << capture.err();
    EXPECT_EQ(std::count(capture.err().begin(), capture.err().end(), '\n'), 1);
    EXPECT_EQ(recorder.currentFile(), "");
}
