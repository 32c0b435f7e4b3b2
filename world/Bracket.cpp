#include "world/Bracket.h"
#include <algorithm>
#include <cmath>

Vector3 Bracket::aimPoint(std::uint32_t id, const Vector3& target, const Vector3& shooter,
                          const AimError& error, std::mt19937& dice) {
    if (id != targetId) {
        targetId = id;
        offset = Vector3(0.0f, 0.0f, 0.0f);
        shotCount = 0;
    }
    std::normal_distribution<float> normal;
    const float alongDraw = std::clamp(normal(dice), -maxDeviations, maxDeviations);
    const float acrossDraw = std::clamp(normal(dice), -maxDeviations, maxDeviations);

    const float dx = target.x - shooter.x;
    const float dz = target.z - shooter.z;
    const float distance = std::hypot(dx, dz);
    Vector3 along(0.0f, 0.0f, 1.0f); // any line serves a target straight below
    if (distance > 0.0f)
        along = Vector3(dx / distance, 0.0f, dz / distance);
    const Vector3 across(along.z, 0.0f, -along.x);
    const float deviation =
        error.spread * distance *
        static_cast<float>(std::pow(error.narrowing, static_cast<float>(shotCount)));
    ++shotCount;
    return target - offset + along * (alongDraw * deviation) +
           across * (acrossDraw * acrossShare * deviation);
}

void Bracket::observe(std::uint32_t id, const Vector3& predicted, const Vector3& landed) {
    if (id != targetId)
        return;
    // The error drawn for the shot is in `predicted` already; what is left is
    // what the aim did not foresee, and it is likely to come again.
    offset = Vector3(landed.x - predicted.x, 0.0f, landed.z - predicted.z);
}
