#pragma once
#include "world/Object.h"

// The flying half of a shot: on its first contact it dies and wakes its explosion.
class Explosive : public Object {
public:
    Explosive();
    ~Explosive() override;

    void contactEvent(World world) override;

    std::uint32_t explosionId = 0;  // id of its Explosion, found by id not pointer; 0 = none
};
