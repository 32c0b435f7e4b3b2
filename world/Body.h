#pragma once
#include "world/Vector3.h"

// What a step's searches read of an object, copied once at its start: the
// objects are large and many, and reading them again for every pair tested
// would fetch each from memory again once shells crowd the sky.
struct Body {
    Vector3 position;
    Vector3 velocity;
    float radius = 0.0f;
    bool resting = false;
    bool immobile = false;
};
