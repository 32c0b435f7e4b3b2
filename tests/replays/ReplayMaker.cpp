// Makes the stored replays that CI plays back: each a scripted game played on a
// game core over the fake GL, written through the game's own recorder. They
// hold the data pack's digest, so a change to the pack calls for new ones:
//
//   cmake --build build --target replay_maker && build/tests/replay_maker tests/replays
//
// The scripts and seeds are fixed, so the same rules make the same games; the
// expected traces (tests/replays/digests.txt) are not made here, on purpose: a
// change to the rules shows as a replay whose trace no longer matches.
#include "app/GameCore.h"
#include "app/ReplayRecorder.h"
#include "app/ReplaySession.h"
#include "assets/PackDigest.h"
#include "support/ScriptedGame.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include "world/Object.h"
#include "world/Random.h"
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

// Four people, each weapon in turn, every player aiming somewhere else.
void peopleGame(ScriptedGame& play) {
    play.tap(keys::escape);
    play.taps({static_cast<char>(keys::down), static_cast<char>(keys::down)});
    play.tap(keys::enter); // "4 Players"
    play.tap(keys::escape);
    play.wait(4.0f);
    for (int shot = 0; shot < 6; ++shot) {
        play.hold('a', 0.2f * static_cast<float>(shot + 1));
        play.hold('w', 0.4f);
        play.hold('r', 0.3f + 0.1f * static_cast<float>(shot));
        play.tap(' ');
        play.tap(keys::tab);
        play.wait(1.5f);
    }
    play.wait(12.0f);
}

// Four computers at the normal level, left alone until the game is decided.
void computersGame(ScriptedGame& play) {
    play.tap(keys::escape);
    play.command("terrain;tanks 4;computers 4");
    play.tap(keys::escape);
    play.wait(90.0f);
}

// Sixty-four Death's Heads in a row: tanks die while shells are still flying.
void salvoGame(ScriptedGame& play) {
    play.tap(keys::escape);
    play.command("terrain;tanks 64");
    play.tap(keys::escape);
    play.wait(5.0f);
    play.taps(std::string(5, static_cast<char>(keys::tab)));
    play.hold('w', 0.5f);
    play.hold('r', 0.5f);
    for (int shot = 0; shot < 64; ++shot) {
        play.tap(' ');
        play.wait(0.05f);
    }
    play.wait(25.0f);
}

bool make(const std::string& out, const std::string& name, unsigned seed,
          const std::function<void(ScriptedGame&)>& script) {
    TempDir folder;
    ReplayHeader header;
    header.gameVersion = ReplaySession::gameVersion();
    header.packDigest = PackDigest::of("data");
    header.seed = seed;
    ReplayRecorder recorder(ReplayFolder(folder.path("replays")), header);
    {
        TraceCapture quiet;
        Random::seed(seed);
        Object::restartIds(); // as in a fresh process
        GameCore core;
        core.setRecorder(&recorder);
        core.reshape(640, 480);
        ScriptedGame play(core, &recorder);
        play.wait(0.5f);
        script(play);
        core.setRecorder(nullptr);
    }
    recorder.flush();
    std::error_code error;
    std::filesystem::copy_file(recorder.currentFile(), out + "/" + name,
                               std::filesystem::copy_options::overwrite_existing, error);
    std::printf("%s: %s\n", name.c_str(), error ? error.message().c_str() : "made");
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: replay_maker FOLDER\n");
        return 2;
    }
    const std::string out = std::filesystem::absolute(argv[1]).string();
    std::filesystem::current_path(VANTRELL_GAME_DIR); // the pack the game reads
    const bool made = make(out, "people4.vtr", 2026, peopleGame) &&
                      make(out, "computers4.vtr", 7, computersGame) &&
                      make(out, "salvo64.vtr", 64, salvoGame);
    return made ? 0 : 1;
}
