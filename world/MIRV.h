#pragma once
#include "world/ClusterWeapon.h"

// Fires a MIRVObject that splits into five Missiles.
class MIRV : public ClusterWeapon {
public:
    MIRV();

protected:
    std::unique_ptr<CarrierObject> makeCarrier() const override;
};
