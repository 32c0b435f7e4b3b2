#include "world/Explosion.h"
#include "assets/TraceSink.h"
#include "world/Terrain.h"
#include "world/WorldEvents.h"
#include <cassert>

namespace {
constexpr float growthPerSecond = 5.0f; // world units of radius
} // namespace

// Resting and fixed: an explosion never moves, never pushes a sphere, and is never
// tested against resting objects.
Explosion::Explosion(float blastRadiusValue, float damageValue)
    : blastRadius(blastRadiusValue), damage(damageValue) {
    TraceLine() << "Explosion()";
    elasticity = 0.0f;
    radius = 0.0f;
    resting = true;
    fixed = true;
}

Explosion::~Explosion() {
    TraceLine() << "~Explosion()";
}

void Explosion::contactEvent(World) {
    TraceLine() << "Explosion::contactEvent";
}

void Explosion::update(World world, float seconds) {
    radius += growthPerSecond * seconds;
    scale = Vector3(radius, radius, radius);
    if (radius < blastRadius)
        return;

    assert(world.objects && world.terrain && "an explosion needs the whole world");
    const float r = radius;
    const float r2 = r * r;
    world.terrain->crater(position, r);

    // Damage falls off linearly in the squared distance. The radii are subtracted
    // unsquared, so a body very close to the centre takes more than full damage.
    // Everything wakes: the ground may just have sunk under it.
    for (const std::unique_ptr<Object>& object : *world.objects) {
        const Vector3 d = object->position - position;
        const float q = dot(d, d) - object->radius - r;
        if (object.get() != this && q < r2)
            object->damageEvent(world, (1.0f - q / r2) * damage);
        object->resting = false;
    }
    active = false;
    dead = true;
    if (world.events)
        world.events->exploded(position, r);
}
