#include "world/CarrierObject.h"
#include "world/WorldEvents.h"
#include <cassert>
#include <iostream>

CarrierObject::CarrierObject(ExplosiveKind submunitionKind, const char* contactTrace,
                             const Vector3* fanOffsets, std::size_t fanCount)
    : submunition(submunitionKind), contactLine(contactTrace), fan(fanOffsets), fanSize(fanCount) {}

void CarrierObject::contactEvent(World world) {
    std::cout << contactLine << std::endl;
    split(world);
}

void CarrierObject::update(World world, float) {
    if (velocity.y < 0.0f)
        split(world);
}

// The carrier stays in the list, dead, until the next step removes it, and within
// one step the physics may still update it and then report a contact. Splitting
// only once keeps that from firing the whole fan twice.
void CarrierObject::split(World world) {
    if (dead)
        return;
    dead = true;
    assert(world.objects && "a carrier splits into the world's list");
    if (world.objects == nullptr)
        return;
    // Copies: the fan is taken from the values at the moment of the split.
    const Vector3 centre = position;
    const Vector3 base = velocity;
    for (std::size_t i = 0; i < fanSize; ++i)
        submunition.fire(*world.objects, centre, base + fan[i]);
    if (world.events)
        world.events->split(centre);
}
