#pragma once
#include "world/Vector3.h"

// What happens inside the physics that someone outside the world may want to
// know of (the game core passes it on to the sound). The world only reports: a
// listener must not touch the object list. World carries a pointer to one, null
// when nobody listens.
class WorldEvents {
public:
    virtual ~WorldEvents() = default;

    // An explosion went off at its centre, having grown to `radius` world units
    // (its blast radius or a step beyond it).
    virtual void exploded(const Vector3& centre, float radius) = 0;
    // A cluster shell split into its fan at `centre`.
    virtual void split(const Vector3& centre) = 0;
};
