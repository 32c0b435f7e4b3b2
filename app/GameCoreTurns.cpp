// Turns and results. A turn ends the moment its player fires; the shot keeps
// flying while the next player aims. The world runs in every state, so the
// result of a game is decided only from the tanks left after an update's death
// walk, and latched through messageShown so it is announced once until Esc.
#include "app/GameCore.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>

namespace {

// The time an update simulates: a stall is cut to maxUpdateSeconds, and a clock
// that gives no sensible time gives none.
float simulatedSeconds(float elapsedSeconds) {
    if (!(elapsedSeconds > 0.0f) || std::isinf(elapsedSeconds))
        return 0.0f;
    return std::min(elapsedSeconds, GameCore::maxUpdateSeconds);
}

} // namespace

// The physics subdivides the time into fixed steps itself, and the held-key
// rates scale with it; all of them see the same bounded time.
void GameCore::update(float elapsedSeconds) {
    const float dtSeconds = simulatedSeconds(elapsedSeconds);
    // The held-key quantities come from the camera as it stood before the physics.
    const HeldKeyRates rates = heldKeyRates(dtSeconds);

    if (network)
        pollNetwork(elapsedSeconds);
    // A networked game runs whole steps as the machines allow, and the death
    // walk and the computers' turns with each; see GameCoreNetwork.cpp.
    const bool networked = lockstepping();
    if (networked) {
        runNetworkSteps(dtSeconds);
    } else {
        // The marks hear the bursts and splits in the world, and pass them on to the sound.
        WorldBox box = gameBox;
        physics.tick(World{&objects, &box, &terrain, &marks}, dtSeconds);
    }
    marks.update(objects, dtSeconds);

    if (!networked) {
        removeDeadTanks();
        announceResult();
    }
    frameTimer.reset();
    heldKeyStep(rates, dtSeconds);
    if (networked && network) {
        showAims();
        shareAim(dtSeconds);
    } else if (!networked) {
        // The menu or the console being up holds a computer's turn where it is.
        const std::string said = computers.update(playerView, tankControls, dtSeconds,
                                                  consoleOpen || variable("menu") != 0);
        if (!said.empty())
            console.addLine(said);
    }
    repeatConsoleKey(dtSeconds);
    directCamera(dtSeconds);
    // The ears go where the camera went, so the frame's picture and sound agree.
    sound.setListener(cameraPosition, cameraRotation);
}

// Outside the physics step, so erasing from objects here breaks no walk.
void GameCore::removeDeadTanks() {
    for (auto it = tanks.begin(); it != tanks.end();) {
        TankObject* const tank = *it;
        if (tank->health > 0.0f) {
            ++it;
            continue;
        }
        console.addLine(tank->name() + " died");
        sound.death(tank->position);
        it = tanks.erase(it);
        objects.remove_if([tank](const std::unique_ptr<Object>& o) { return o.get() == tank; });
        // Whoever had the turn, it restarts with the first survivor.
        currentTank = tanks.begin();
        selectTankNodes();
    }
}

void GameCore::announceResult() {
    if (messageShown)
        return;
    if (tanks.empty()) {
        // Before the first game nobody can have drawn: Esc on the title would
        // otherwise latch a draw that the next game then shows.
        if (!gameStarted)
            return;
        messageShown = true;
        message = "Draw Game";
        sound.result(true);
    } else if (tanks.size() == 1 && currentTank != tanks.end()) {
        messageShown = true;
        message = (*currentTank)->name() + " wins!";
        sound.result(false);
    }
}
