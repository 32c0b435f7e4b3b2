#include "world/MIRVObject.h"

namespace {
constexpr int missileKind = 1;
const Vector3 mirvFan[] = {{0.0f, 0.0f, 0.0f},
                           {4.0f, 0.0f, 0.0f},
                           {-4.0f, 0.0f, 0.0f},
                           {0.0f, 0.0f, 4.0f},
                           {0.0f, 0.0f, -4.0f}};
} // namespace

MIRVObject::MIRVObject()
    : CarrierObject(missileKind, "MIRVObject::contactEvent", mirvFan,
                    sizeof mirvFan / sizeof mirvFan[0]) {}
