#include "world/CarrierObject.h"
#include "assets/TraceSink.h"
#include "world/WorldEvents.h"
#include <algorithm>
#include <cassert>
#include <iterator>

CarrierObject::CarrierObject(ExplosiveKind submunitionKind, const char* contactTrace,
                             const Vector3* fanOffsets, std::size_t fanCount)
    : submunition(submunitionKind), contactLine(contactTrace), fan(fanOffsets), fanSize(fanCount) {}

float CarrierObject::fastestOffset(const Vector3* offsets, std::size_t count) {
    float fastest = 0.0f;
    for (std::size_t i = 0; i < count; ++i)
        fastest = std::max(fastest, length(offsets[i]));
    return fastest;
}

void CarrierObject::contactEvent(World world) {
    TraceLine() << contactLine;
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
    ObjectList& objects = *world.objects;
    const std::size_t before = objects.size();
    for (std::size_t i = 0; i < fanSize; ++i)
        submunition.fire(objects, centre, base + fan[i]);
    for (auto it = std::next(objects.begin(), static_cast<long>(before)); it != objects.end(); ++it)
        (*it)->shotId = shotId;
    if (world.events)
        world.events->split(centre);
}
