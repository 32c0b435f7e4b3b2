#pragma once
#include "world/ObjectIndex.h"
#include "world/PairSearch.h"
#include "world/Vector3.h"
#include "world/World.h"
#include <vector>

class Object;

// Fixed-step sphere physics. There is one per game, so the time carried from tick
// to tick lives here rather than in a process-wide variable.
class PhysicsSettings {
public:
    void tick(World world, float elapsedSeconds);
    void step(World world);
    void advance(World world, float seconds);

    float timeStep = 0.01f;
    Vector3 gravity{0.0f, -9.81f, 0.0f};
    float accumulator = 0.0f; // seconds not yet simulated

private:
    // Wakes or settles one object and moves it on by `seconds`.
    void move(Object& object, float seconds) const;

    // The active objects of the current step, in list order; kept between steps so
    // a step allocates nothing once the list has reached its size.
    std::vector<Object*> live;
    std::vector<Body> bodies; // of `live`, as the step began
    PairSearch pairs;
    ObjectIndex index; // what the events of a step look objects up in
};
