#include "world/MIRV.h"
#include "world/MIRVObject.h"

namespace {
constexpr int missileKind = 1;
} // namespace

MIRV::MIRV() : ClusterWeapon(missileKind, "data/weapons/mirv.png", "MIRV") {}

std::unique_ptr<CarrierObject> MIRV::makeCarrier() const {
    return std::make_unique<MIRVObject>();
}
