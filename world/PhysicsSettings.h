#pragma once
#include "world/Vector3.h"
#include "world/World.h"

// Fixed-step sphere physics. There is one per game, so the time carried from tick
// to tick lives here rather than in a process-wide variable.
class PhysicsSettings {
public:
    void tick(World world, float elapsedSeconds);
    void step(World world);
    void advance(World world, float seconds);

    float timeStep = 0.01f;
    Vector3 gravity{0.0f, -9.81f, 0.0f};
    float accumulator = 0.0f;  // seconds not yet simulated
};
