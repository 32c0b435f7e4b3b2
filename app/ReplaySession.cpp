#include "app/ReplaySession.h"
#include "app/GameCore.h"
#include "app/Window.h"
#include "assets/PackDigest.h"
#include "assets/TraceSink.h"
#include "world/Random.h"
#include <ctime>
#include <unistd.h>

#ifndef VANTRELL_VERSION
#define VANTRELL_VERSION "unknown"
#endif

namespace {
// The game reads its pack from data/ under the working directory.
constexpr const char* packFolder = "data";
} // namespace

const char* ReplaySession::gameVersion() {
    return VANTRELL_VERSION;
}

bool ReplaySession::prepare(const std::string& replayPath, bool asFast, const std::string& folder) {
    folderPath = folder;
    fast = asFast;
    ReplayHeader header;
    header.gameVersion = gameVersion();
    header.packDigest = PackDigest::of(packFolder);
    if (replayPath.empty()) {
        header.seed = static_cast<std::uint32_t>(std::time(nullptr));
        Random::seed(header.seed);
        recorder = std::make_unique<ReplayRecorder>(ReplayFolder(folder), header);
        return true;
    }

    std::string why;
    if (!replay.load(replayPath, why)) {
        ErrorLine() << "Replay " << replayPath << " " << why << ".";
        return false;
    }
    if (replay.header().packDigest != header.packDigest) {
        ErrorLine() << "Replay " << replayPath << " was recorded with another data pack (game "
                    << replay.header().gameVersion << ") and cannot be played with this one.";
        return false;
    }
    if (replay.truncated())
        ErrorLine() << "Replay " << replayPath
                    << " is cut short: it plays to its last whole record.";
    Random::seed(replay.header().seed);
    playing = true;
    return true;
}

void ReplaySession::attach(Window& window, GameCore& game) {
    if (!playing) {
        game.setRecorder(recorder.get());
        game.setReplayWatcher([this](const std::string& which) { return watch(which); });
        return;
    }
    game.setNetworkReplayed(true);
    player = std::make_unique<ReplayPlayer>(game, replay, fast);
    player->seekToGame();
    window.setPlayback(player.get());
}

std::string ReplaySession::watch(const std::string& which) {
    const std::string path = which == "last" ? ReplayFolder(folderPath).newest() : which;
    if (path.empty())
        return "No replay to watch.";
    if (recorder)
        recorder->flush();
    // A fresh process is a fresh core, generator and window state: exactly the
    // start the replay was recorded from.
    const char* arguments[] = {"vantrell", "--replay", path.c_str(), nullptr};
    execv("/proc/self/exe", const_cast<char* const*>(arguments));
    return "The replay could not be started.";
}
