#pragma once
#include "world/Object.h"
#include <string>

// A player's tank. Its turret and barrel are nodes of its own skeleton copy.
class TankObject : public Object {
public:
    TankObject();

    void contactEvent(World world) override;
    void damageEvent(World world, float amount) override;

    const std::string& name() const { return playerName; }
    void setName(const std::string& newName) { playerName = newName; }

    float health = 100.0f;  // never below 0 after a damage event

private:
    std::string playerName;
};
