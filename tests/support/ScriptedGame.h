#pragma once
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "app/ReplayRecorder.h"
#include "assets/ReplayEvent.h"
#include <string>

// Plays a game core the way the window and its clock do, from a script, and lets
// the recorder hear each update as the core's idle would. Frames are 16 ms.
// Keys are pressed and let go a frame apart, as a person's are.
class ScriptedGame {
public:
    static constexpr float frameSeconds = 0.016f;

    // The recorder may be null: nothing is recorded.
    ScriptedGame(GameCore& core, ReplayRecorder* recorder) : game(core), log(recorder) {}

    void frame() {
        game.update(frameSeconds);
        if (log)
            log->record(ReplayEvent::update(frameSeconds));
    }
    void wait(float seconds) {
        for (float t = 0.0f; t < seconds; t += frameSeconds)
            frame();
    }
    void tap(unsigned char key) {
        game.keyboard(key, true, 0);
        frame();
        game.keyboard(key, false, 0);
        frame();
    }
    void taps(const std::string& keyCodes) {
        for (char c : keyCodes)
            tap(static_cast<unsigned char>(c));
    }
    void hold(unsigned char key, float seconds) {
        game.keyboard(key, true, 0);
        wait(seconds);
        game.keyboard(key, false, 0);
        frame();
    }
    // Typed into the console, which is then closed again.
    void command(const std::string& line) {
        tap(keys::backquote);
        taps(line);
        tap(keys::enter);
        tap(keys::backquote);
    }

private:
    GameCore& game;
    ReplayRecorder* log;
};
