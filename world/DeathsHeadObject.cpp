#include "world/DeathsHeadObject.h"

namespace {
const Vector3 deathsHeadFan[] = {{0.0f, 0.0f, 0.0f},  {0.0f, 0.0f, -4.0f}, {0.0f, 0.0f, 4.0f},
                                 {-4.0f, 0.0f, 0.0f}, {4.0f, 0.0f, 0.0f},  {-4.0f, 0.0f, -4.0f},
                                 {-4.0f, 0.0f, 4.0f}, {4.0f, 0.0f, -4.0f}, {4.0f, 0.0f, 4.0f}};
} // namespace

DeathsHeadObject::DeathsHeadObject()
    : CarrierObject(ExplosiveKind::babyNuke, "DeathsHeadObject::contactEvent", deathsHeadFan,
                    sizeof deathsHeadFan / sizeof deathsHeadFan[0]) {}

float DeathsHeadObject::fanSpeed() {
    return fastestOffset(deathsHeadFan, sizeof deathsHeadFan / sizeof deathsHeadFan[0]);
}
