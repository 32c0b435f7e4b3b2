#pragma once
#include "world/Vector3.h"
#include "world/World.h"

// How a body's centre meets the walls of the world's box. The physics and the
// computer's trial shells both go through this, so a trial shell meets a wall
// exactly when a real one would. Inline: the physics runs it for every body in
// every step.

// The box's limits by the way a body flies along an axis: one flying towards
// lower values (v < 0) meets the lower wall, limits[1][axis], any other the upper,
// limits[0][axis]. Which way each shell flies no predictor can guess, so the wall
// is looked up rather than branched to.
struct BoxWalls {
    explicit BoxWalls(const WorldBox& box)
        : limits{{box.xMax, box.yMax, box.zMax}, {box.xMin, box.yMin, box.zMin}} {}

    float limits[2][3];
};

// Whether a centre at `position` moving at `velocity` meets a wall sooner than
// `soonest` seconds from now. If so, `soonest` becomes that time and `axis` the
// axis met (0 x, 1 y, 2 z), the earlier axis winning a tie. The radius plays no
// part. The time is below 0 for a centre already outside and moving further out:
// the caller, who keeps the soonest over many bodies, takes that as 0 at the end.
inline bool meetsWallSooner(const BoxWalls& walls, const Vector3& position, const Vector3& velocity,
                            float& soonest, int& axis) {
    const float p[3] = {position.x, position.y, position.z};
    const float v[3] = {velocity.x, velocity.y, velocity.z};
    bool sooner = false;
    for (int a = 0; a < 3; ++a) {
        const float t = (walls.limits[v[a] < 0.0f][a] - p[a]) / v[a];
        // A still axis meets no wall; it is left out in the same test as the time,
        // one branch where two would each be mispredicted.
        if ((v[a] != 0.0f) & (t < soonest)) {
            soonest = t;
            axis = a;
            sooner = true;
        }
    }
    return sooner;
}
