#include "world/MIRV.h"
#include "world/MIRVObject.h"

MIRV::MIRV()
    : ClusterWeapon(ExplosiveKind::missile, "data/weapons/mirv.png", "MIRV",
                    MIRVObject::fanSpeed()) {}

std::unique_ptr<CarrierObject> MIRV::makeCarrier() const {
    return std::make_unique<MIRVObject>();
}
