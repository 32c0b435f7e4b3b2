#pragma once
#include "world/Vector3.h"
#include <cstdint>
#include <random>

// How badly a gunner aims: the standard deviation of where its first shot at a
// target lands, as a fraction of the distance, and the factor it narrows by with
// each further shot at the same target.
struct AimError {
    float spread = 0.0f;
    float narrowing = 1.0f;
};

// A gunner's memory of its shots at one target, the way a person brackets: how
// far the last shot came down from where its aim said it would, taken off the
// next aim, and an aiming error that narrows with every shot at the same target.
// A new target starts it over: one target's range says little of another's.
class Bracket {
public:
    // The point to aim the next shot at, and one more shot counted. The error is
    // drawn normally along the line of fire and, half as wide, across it (the line
    // to a tank is easier to see than its distance), narrowed once per shot already
    // fired at this target. Both draws are always made, so the dice run the same
    // whatever the error.
    Vector3 aimPoint(std::uint32_t targetId, const Vector3& target, const Vector3& shooter,
                     const AimError& error, std::mt19937& dice);
    // Where a shot at `targetId` was aimed to land and where it did; a shot at
    // another target than the current one teaches nothing.
    void observe(std::uint32_t targetId, const Vector3& predicted, const Vector3& landed);

    std::uint32_t target() const { return targetId; }
    int shots() const { return shotCount; }
    // What the next aim takes off the target point (across the ground; y is 0).
    const Vector3& drift() const { return offset; }

    static constexpr float acrossShare = 0.5f;   // of the error along the line of fire
    static constexpr float maxDeviations = 2.5f; // a wilder draw is cut to this

private:
    std::uint32_t targetId = 0;
    Vector3 offset{0.0f, 0.0f, 0.0f};
    int shotCount = 0;
};
