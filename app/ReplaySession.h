#pragma once
#include "app/ReplayPlayer.h"
#include "app/ReplayRecorder.h"
#include "assets/ReplayReader.h"
#include <memory>
#include <string>

class GameCore;
class Window;

// What the program does with replays: a person's game is recorded, and a replay
// named on the command line is played. Made before the window and the core,
// because the generator must be seeded before the core's first terrain.
class ReplaySession {
public:
    // Without a replay: seeds the generator from the clock, as a game always
    // was, and records under `folder`. With one: reads and checks it and seeds
    // the generator as it was; false, after one line on standard error, for a
    // replay that this game cannot play.
    bool prepare(const std::string& replayPath, bool fast, const std::string& folder);
    // Connects the core (and the window, for a replay) once both exist.
    void attach(Window& window, GameCore& game);

    // The project's version, as the build knows it.
    static const char* gameVersion();
    // Runs this program again to play a replay ("last": the newest in the
    // folder). Comes back only when it cannot, with the line to show.
    std::string watch(const std::string& which);

private:
    std::string folderPath;
    std::unique_ptr<ReplayRecorder> recorder;
    ReplayReader replay;
    std::unique_ptr<ReplayPlayer> player;
    bool playing = false;
    bool fast = false;
};
