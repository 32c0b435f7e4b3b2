#pragma once
#include <vector>

class GameCore;
class Object;
class PhysicsSettings;
class TankObject;
class Terrain;
class Weapon;
struct Skeleton;

// What a player may see of the game, and nothing to change it with: the tanks in
// turn order with their health and places, whose turn it is and how that tank
// aims, the ground, the weapons, what flies. The computer players read the game
// only through this. It lives as long as the core it looks at; what it hands out
// stays valid until the next update or command.
class PlayerView {
public:
    explicit PlayerView(const GameCore& game) : core(game) {}

    std::vector<const TankObject*> tanks() const;
    // Whose turn it is; null when no game is on.
    const TankObject* currentTank() const;
    // The current tank's named nodes; null where it has none (it cannot aim).
    const Skeleton* turret() const { return node("turret"); }
    const Skeleton* barrel() const { return node("barrel"); }
    float launchVelocity() const;
    // The weapon table in the order the next-weapon step goes through it, and the
    // selected one's place in it (-1: none).
    std::vector<const Weapon*> weapons() const;
    int selectedWeapon() const;
    const Terrain& terrain() const;
    const PhysicsSettings& physics() const;
    // Every object in the world, tanks, shells and explosions, in list order.
    std::vector<const Object*> objects() const;

private:
    const Skeleton* node(const char* id) const;

    const GameCore& core;
};
