#pragma once
#include "world/Object.h"

// Waits hidden until its projectile touches something, then grows by 5 units a
// second and goes off at its blast radius: crater, damage, everything woken.
class Explosion : public Object {
public:
    Explosion(float blastRadius, float damage);
    ~Explosion() override;

    void contactEvent(World world) override;
    void update(World world, float seconds) override;

    float blastRadius;
    float damage;
};
