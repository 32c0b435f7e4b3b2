#include "world/DeathsHead.h"
#include "world/DeathsHeadObject.h"

namespace {
constexpr int babyNukeKind = 2;
} // namespace

DeathsHead::DeathsHead()
    : ClusterWeapon(babyNukeKind, "data/weapons/deathshead.png", "Death's Head") {}

std::unique_ptr<CarrierObject> DeathsHead::makeCarrier() const {
    return std::make_unique<DeathsHeadObject>();
}
