#pragma once
#include "world/GridIndex.h"
#include "world/Terrain.h"
#include "world/Vector3.h"
#include <cstdint>

// How a moving body meets the terrain. The physics and the computer's trial
// shells both go through this, so a trial shell touches down exactly where a
// real one would. Inline: the physics runs it for every moving body in every step.

// The terrain's grid as the ground rule reads it, taken once for a whole search.
// The terrain is borrowed for as long as this lives.
struct GroundGrid {
    explicit GroundGrid(const Terrain& ground)
        : terrain(ground), size(ground.size()), width(ground.width()), height(ground.height()) {}
    bool empty() const { return width == 0 || height == 0; }

    const Terrain& terrain;
    Vector3 size;
    std::uint32_t width;
    std::uint32_t height;
};

// The grid point a contact was foreseen at, and its world height then.
struct GroundPoint {
    std::uint32_t i = 0;
    std::uint32_t j = 0;
    float height = 0.0f;
};

// Whether a body meets the ground sooner than `soonest` seconds from now. The
// ground is the height of the grid point under where the body would be after a
// whole step of `dt`, without interpolation; the body meets it if its bottom
// would end the step below that height, at the time its vertical speed takes its
// bottom down to it (at once without one). If so, `soonest` becomes that time, or
// 0 for a body already below, and `point` the grid point. The grid must not be empty.
inline bool meetsGroundSooner(const GroundGrid& grid, const Vector3& position,
                              const Vector3& velocity, float radius, float dt, float& soonest,
                              GroundPoint& point) {
    const Vector3 predicted = position + velocity * dt;
    const std::uint32_t i =
        clampedGridIndex(predicted.x / grid.size.x * static_cast<float>(grid.width), grid.width);
    const std::uint32_t j =
        clampedGridIndex(predicted.z / grid.size.z * static_cast<float>(grid.height), grid.height);
    const float ground = grid.terrain.heightAt(i, j);
    if (!(predicted.y - radius < ground))
        return false;
    const float t = velocity.y == 0.0f ? 0.0f : (radius + ground - position.y) / velocity.y;
    if (!(t < soonest))
        return false;
    soonest = t < 0.0f ? 0.0f : t;
    point = GroundPoint{i, j, ground};
    return true;
}
