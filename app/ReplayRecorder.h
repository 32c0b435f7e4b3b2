#pragma once
#include "app/ReplayFolder.h"
#include "assets/ReplayEvent.h"
#include <cstdio>
#include <string>

// Keeps everything that reaches the game core from outside, from the program's
// start, and writes each game to its own file in the folder. A game's file
// holds the whole session before it too, ahead of a game-start record: the
// game's start depends on all of it (the generator's state, the ground dug by
// earlier games, the settings), and playing it again is the one way to get
// that start exactly. Playback passes over it silently.
//
// The file is written as the game goes and flushed at every key pressed (every
// shot is one), so a game that is killed leaves a replay up to its last turn.
class ReplayRecorder {
public:
    ReplayRecorder(ReplayFolder folder, ReplayHeader header);
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    void record(const ReplayEvent& event);
    // A new terrain or a new set of tanks: the game before it ends and a new file
    // begins. Starts with nothing in between (the menu's "terrain;tanks 2") are one.
    void gameStarts();
    void flush();

    // The file the current game goes to; empty before the first game or when the
    // folder cannot be written.
    const std::string& currentFile() const { return fileName; }

private:
    void close();

    ReplayFolder folder;
    ReplayHeader header;
    std::string session; // every event since the program started, game starts left out
    std::string scratch;
    std::string fileName;
    std::FILE* file = nullptr;
    bool eventSinceStart = false;
    bool refused = false; // the folder could not be written: nothing more is tried
};
