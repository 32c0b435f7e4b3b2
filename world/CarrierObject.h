#pragma once
#include "world/ExplosiveWeapon.h"
#include "world/Object.h"
#include "world/Vector3.h"
#include <cstddef>

// A cluster shell: it flies as one sphere and, at the top of its flight or on
// its first contact, splits into a fan of explosive shots from its centre. The
// kinds differ only in the shell they carry, their trace line and their fan.
class CarrierObject : public Object {
public:
    // `contactLine` and `fan` must have static storage: the object keeps the pointers.
    CarrierObject(ExplosiveKind submunitionKind, const char* contactLine, const Vector3* fan,
                  std::size_t fanSize);

    void contactEvent(World world) override;
    // Splits on the first advance that finds it falling; it does not age.
    void update(World world, float seconds) override;

    // The length of the longest of `fanSize` velocity offsets.
    static float fastestOffset(const Vector3* fan, std::size_t fanSize);

    // The shell every shot of the fan is fired with; the firing weapon replaces it
    // by a copy of its own.
    ExplosiveWeapon submunition;

private:
    void split(World world);

    const char* contactLine;
    const Vector3* fan; // velocity offsets, in firing order
    std::size_t fanSize;
};
