#include "world/DeathsHeadObject.h"

namespace {
constexpr int babyNukeKind = 2;
const Vector3 deathsHeadFan[] = {{0.0f, 0.0f, 0.0f},  {0.0f, 0.0f, -4.0f}, {0.0f, 0.0f, 4.0f},
                                 {-4.0f, 0.0f, 0.0f}, {4.0f, 0.0f, 0.0f},  {-4.0f, 0.0f, -4.0f},
                                 {-4.0f, 0.0f, 4.0f}, {4.0f, 0.0f, -4.0f}, {4.0f, 0.0f, 4.0f}};
} // namespace

DeathsHeadObject::DeathsHeadObject()
    : CarrierObject(babyNukeKind, "DeathsHeadObject::contactEvent", deathsHeadFan,
                    sizeof deathsHeadFan / sizeof deathsHeadFan[0]) {}
