#pragma once
#include "support/GameCorePeer.h"
#include "world/TankObject.h"
#include <cmath>

// Every tank fires a Death's Head at the centre, 45 degrees up: the heaviest
// sky a game can make, which both window benchmarks draw.
inline void fireDeathsHeads(GameCorePeer& peer) {
    Weapon& deathsHead = *peer.weapons.back();
    constexpr float speed = 27.0f;
    for (const TankObject* tank : peer.tanks) {
        const Vector3 launch = tank->position + Vector3(0.0f, 5.0f, 0.0f);
        const float yaw = std::atan2(100.0f - launch.x, 100.0f - launch.z);
        const float level = speed * std::sqrt(0.5f);
        deathsHead.fire(peer.objects, launch,
                        Vector3(std::sin(yaw) * level, level, std::cos(yaw) * level));
    }
}
