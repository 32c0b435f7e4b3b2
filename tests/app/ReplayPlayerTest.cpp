#include "app/ReplayPlayer.h"
#include "app/GameCore.h"
#include "app/ReplayRecorder.h"
#include "support/FakeAL.h"
#include "support/FakeGL.h"
#include "support/GameCorePeer.h"
#include "support/ScriptedGame.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include "world/Object.h"
#include "world/Random.h"
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// A core with the whole data pack, on the fake GL, its generator seeded first.
class PackCore {
public:
    explicit PackCore(unsigned seed) : previous(std::filesystem::current_path()) {
        fakegl::reset();
        fakeal::reset();
        Random::seed(seed);
        Object::restartIds(); // the ids are in the trace: number them as a fresh game does
        std::filesystem::current_path(VANTRELL_GAME_DIR);
        TraceCapture quiet;
        core = std::make_unique<GameCore>();
    }
    ~PackCore() {
        TraceCapture quiet;
        core.reset();
        std::filesystem::current_path(previous);
    }
    GameCore& operator*() { return *core; }

private:
    std::filesystem::path previous;
    std::unique_ptr<GameCore> core;
};

constexpr unsigned seed = 1234;

// A session: some settings on the title, a first game of three with shots of
// every kind, then a second game on new ground, which is the one kept. Returns
// the second game's trace, from the key that started it.
std::string playSession(GameCore& core, ReplayRecorder& recorder) {
    TraceCapture quiet;
    core.setRecorder(&recorder);
    ScriptedGame play(core, &recorder);
    core.reshape(640, 480);
    play.wait(0.5f);
    play.tap(keys::escape); // the title's menu
    play.command("set follow 1;terrain;tanks 3");
    play.tap(keys::escape);
    play.wait(4.0f);
    for (int shot = 0; shot < 6; ++shot) {
        play.hold('w', 0.3f);
        play.hold('r', 0.2f);
        play.tap(' ');
        play.tap(keys::tab);
        play.wait(1.0f);
    }
    play.wait(6.0f);
    play.tap(keys::backquote);
    play.taps("terrain;tanks 2;computers 1");
    TraceCapture capture;
    play.tap(keys::enter);
    play.tap(keys::backquote);
    play.wait(3.0f);
    play.hold('w', 0.5f);
    play.tap(keys::tab);
    play.tap(keys::tab);
    play.tap(' ');
    play.wait(12.0f); // the computer answers
    core.setRecorder(nullptr);
    return capture.out();
}

} // namespace

// The replay of the second game of a session writes exactly the game's trace,
// computers and their dice included, and nothing of what came before it.
TEST(ReplayPlayer, AGameLaterInASessionReplaysTraceForTrace) {
    TempDir dir;
    ReplayRecorder recorder(ReplayFolder(dir.path("replays")), ReplayHeader{});
    std::string played;
    {
        PackCore core(seed);
        played = playSession(*core, recorder);
    }
    recorder.flush();
    ASSERT_EQ(ReplayFolder(dir.path("replays")).replays().size(), 2u);
    std::size_t bursts = 0;
    for (std::size_t at = 0; (at = played.find("Activating explosion", at)) != std::string::npos;
         ++at)
        ++bursts;
    ASSERT_GE(bursts, 2u) << "the person's shot and the computer's";

    PackCore core(seed);
    ReplayReader replay;
    std::string why;
    ASSERT_TRUE(replay.load(recorder.currentFile(), why)) << why;
    ReplayPlayer player(*core, replay, true);
    {
        TraceCapture before; // the sink's listeners hear even what it keeps off the streams
        player.seekToGame();
        EXPECT_EQ(before.err(), "");
    }
    TraceCapture capture;
    for (int idle = 0; idle < 10000 && !player.finished(); ++idle)
        player.idle();
    EXPECT_TRUE(player.finished());
    EXPECT_EQ(capture.out(), played);
    EXPECT_EQ(capture.err(), "Replay finished\n");

    // Then only Esc does anything: the person gets the game with the menu open.
    GameCorePeer state(*core);
    EXPECT_TRUE(player.holdsGame());
    player.liveKey(' ', true);
    EXPECT_TRUE(player.holdsGame());
    player.liveKey(keys::escape, true);
    EXPECT_FALSE(player.holdsGame());
    EXPECT_EQ(state.variables.at("menu"), 1);
}
