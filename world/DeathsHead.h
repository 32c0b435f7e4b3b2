#pragma once
#include "world/ClusterWeapon.h"

// Fires a DeathsHeadObject that splits into nine Baby Nukes.
class DeathsHead : public ClusterWeapon {
public:
    DeathsHead();

protected:
    std::unique_ptr<CarrierObject> makeCarrier() const override;
};
