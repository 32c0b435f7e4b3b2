#pragma once
#include "world/CarrierObject.h"

// The MIRV's carrier: five Missiles, the centre shot and one 4 units a second
// faster along each of +x, -x, +z and -z.
class MIRVObject : public CarrierObject {
public:
    MIRVObject();

    // The fastest sideways speed of a shot relative to the carrier.
    static float fanSpeed();
};
