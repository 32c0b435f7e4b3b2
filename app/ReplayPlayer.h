#pragma once
#include "app/Timer.h"
#include "assets/ReplayReader.h"

class GameCore;

// Plays a replay into a game core made with the replay's seed, in place of the
// window's idle updates and a person's input. What came before the game's start
// is played first, at once and silently: no trace, no sound, no frame. Then the
// game plays at the speed it was played, or as fast as the machine allows with a
// frame now and then. At the end the world stands still on the last frame; Esc,
// at any time, hands the game to the person with the menu open, and it goes on
// from there as a game of their own.
class ReplayPlayer {
public:
    // Both must outlive the player.
    ReplayPlayer(GameCore& game, ReplayReader& replay, bool fast);

    // Everything before the game's start; at construction time, before any frame.
    void seekToGame();
    // One idle of the window: the updates that are due, with the input between them.
    void idle();
    // A person's key while the replay holds the game: only Esc does anything.
    void liveKey(unsigned char key, bool down);

    // The replay, playing or finished, holds the game: the window's input and
    // idle come here instead of to the core.
    bool holdsGame() const { return state != State::handedOver; }
    bool finished() const { return state == State::finished; }

    // How long --fast plays between two frames.
    static constexpr double fastFrameSeconds = 0.05;

private:
    enum class State { playing, finished, handedOver };

    // Plays events up to and including the next update; false at the end.
    bool step();
    void apply(const ReplayEvent& event);
    void finish();

    GameCore& game;
    ReplayReader& replay;
    bool fast;
    State state = State::playing;
    Timer clock;                // since the game's start was reached
    double playedSeconds = 0.0; // game time played since then
};
