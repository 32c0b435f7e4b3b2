#include "world/TankObject.h"
#include "assets/TraceSink.h"

// Immobile: a resting shell or explosion is never tested against a tank. The
// heavy mass keeps a tank nearly unmoved by a shell that strikes it.
TankObject::TankObject() {
    immobile = true;
    mass = 1000.0f;
    health = 100.0f;
}

void TankObject::contactEvent(World) {
    TraceLine() << "TankObject::contactEvent";
}

void TankObject::damageEvent(World, float amount) {
    health -= amount;
    if (health < 0.0f)
        health = 0.0f;
    TraceLine() << "TankObject::damageEvent(" << amount << ") health = " << health;
}
