#include "world/MIRVObject.h"

namespace {
const Vector3 mirvFan[] = {{0.0f, 0.0f, 0.0f},
                           {4.0f, 0.0f, 0.0f},
                           {-4.0f, 0.0f, 0.0f},
                           {0.0f, 0.0f, 4.0f},
                           {0.0f, 0.0f, -4.0f}};
} // namespace

MIRVObject::MIRVObject()
    : CarrierObject(ExplosiveKind::missile, "MIRVObject::contactEvent", mirvFan,
                    sizeof mirvFan / sizeof mirvFan[0]) {}

float MIRVObject::fanSpeed() {
    return fastestOffset(mirvFan, sizeof mirvFan / sizeof mirvFan[0]);
}
