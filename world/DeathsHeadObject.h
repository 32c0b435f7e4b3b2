#pragma once
#include "world/CarrierObject.h"

// The Death's Head's carrier: nine Baby Nukes over the 3 x 3 grid of sideways
// offsets {-4, 0, 4} x {-4, 0, 4} units a second, the centre shot first.
class DeathsHeadObject : public CarrierObject {
public:
    DeathsHeadObject();

    // The fastest sideways speed of a shot relative to the carrier.
    static float fanSpeed();
};
