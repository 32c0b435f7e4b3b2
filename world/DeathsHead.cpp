#include "world/DeathsHead.h"
#include "world/DeathsHeadObject.h"

DeathsHead::DeathsHead()
    : ClusterWeapon(ExplosiveKind::babyNuke, "data/weapons/deathshead.png", "Death's Head",
                    DeathsHeadObject::fanSpeed()) {}

std::unique_ptr<CarrierObject> DeathsHead::makeCarrier() const {
    return std::make_unique<DeathsHeadObject>();
}
