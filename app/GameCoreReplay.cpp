// The core's edge to the window: everything that comes in from outside passes
// here, so that a replay holds all of it. Each event is recorded after the core
// has taken it: a command that starts a game opens the new game's file first,
// and the key that started it is the new game's first record. "quit" ends the
// process inside its key, which is therefore never recorded, and a replay never
// quits.
#include "app/GameCore.h"
#include "app/ReplayRecorder.h"
#include "app/ReplayedNetworkLink.h"
#include "world/TankObject.h"

void GameCore::idle() {
    const float elapsed = frameTimer.elapsed();
    update(elapsed);
    if (recorder)
        recorder->record(ReplayEvent::update(elapsed));
}

void GameCore::keyboard(unsigned char key, bool down, int modifiers) {
    routeKey(key, down);
    if (recorder)
        recorder->record(ReplayEvent::keyboard(key, down, modifiers));
}

// The position is recorded though the core reads only the movement: it is what
// the window gave.
void GameCore::mouseMotion(bool buttonDown, float x, float y, float dx, float dy) {
    routeMouse(buttonDown, dx, dy);
    if (recorder)
        recorder->record(ReplayEvent::mouse(buttonDown, x, y, dx, dy));
}

void GameCore::reshape(int width, int height) {
    screen.resize(width, height);
    if (recorder)
        recorder->record(ReplayEvent::reshape(width, height));
}

void GameCore::setReplayWatcher(std::function<std::string(const std::string&)> watch) {
    replayWatcher = std::move(watch);
}

void GameCore::replayNetwork(const std::string& record) {
    if (replayedLink)
        replayedLink->feed(record);
}

void GameCore::setNetworkReplayed(bool replayed) {
    networkReplayed = replayed;
    if (!replayed && replayedLink)
        endNetworkGame("");
}
