#pragma once
#include "world/CarrierObject.h"
#include "world/Explosive.h"

// Anything in the air on its way to a burst: a shot's shell or a cluster
// carrier, neither gone off nor hidden.
inline bool isFlyingShell(const Object& object) {
    return object.active && !object.dead &&
           (dynamic_cast<const Explosive*>(&object) != nullptr ||
            dynamic_cast<const CarrierObject*>(&object) != nullptr);
}
