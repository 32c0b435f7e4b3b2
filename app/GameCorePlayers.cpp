// Players. A player is nothing but its tank; the turn order is the order in
// which the tanks were made.
#include "app/GameCore.h"
#include "app/ReplayRecorder.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {
constexpr double centre = worldSize / 2.0;
constexpr double placementRadius = 75.0;
constexpr float dropHeight = 175.0f;
} // namespace

void GameCore::newGame(int playerCount) {
    if (recorder)
        recorder->gameStarts();
    // A game of people; tanks and tankNodes borrow from objects, so they go first.
    computers.clear();
    tanks.clear();
    currentTank = tanks.end();
    tankNodes.clear();
    objects.clear();

    // A count beyond any shared keyboard would only exhaust memory.
    const int n = std::min(playerCount, maxPlayers);
    for (int i = 0; i < n; ++i) {
        auto tank = std::make_unique<TankObject>();
        tank->setName("Player " + std::to_string(i + 1));
        tank->skeleton = tankSkeleton;
        tank->texture = tankTexture;
        tank->radius = 3.0f;
        // Evenly spaced on a circle round the centre, Player 1 towards +z, high
        // above anything the terrain generation can raise (0.75 of the world's
        // height). 3.14159 stands in for pi, hence Player 2 of two at x = 100.0002.
        const double a = (static_cast<double>(i) / n + static_cast<double>(i) / n) * 3.14159;
        tank->position =
            Vector3(static_cast<float>(std::sin(a) * placementRadius + centre), dropHeight,
                    static_cast<float>(std::cos(a) * placementRadius + centre));
        tanks.push_back(tank.get());
        objects.push_back(std::move(tank));
    }

    gameStarted = true;
    currentTank = tanks.begin();
    selectTankNodes();
    marks.startGame(tanks);
    if (lockstepping())
        dealNetworkSeats();
}

// Every change of the current tank comes through here, so the heads-up texts
// follow it.
void GameCore::selectTankNodes() {
    tankControls.selectTankNodes();
}
