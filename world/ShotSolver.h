#pragma once
#include "assets/Skeleton.h"
#include "world/Vector3.h"
#include "world/World.h"
#include <vector>

class Terrain;
class Weapon;

// An aim as the keys set it.
struct Aim {
    float turretDegrees = 0.0f; // the turret's y rotation, 0 to 360
    float barrelDegrees = 0.0f; // the barrel's x rotation, -90 (straight up) to 0 (level)
    float speed = 0.0f;         // the launch velocity, 0 to 100
};

// A shell's way from the muzzle to its first touch of the ground.
struct Flight {
    Vector3 landing{0.0f, 0.0f, 0.0f}; // the shell's centre at the touch
    float seconds = 0.0f;              // from the muzzle to the touch
    float fallSeconds = 0.0f;          // of those, after the top of the arc, where carriers split
    bool landed = false;               // false: a wall of the world came first, or it flew too long
};

// A solved shot: its aim, its flight, and how far across the ground from the
// point asked for it lands.
struct Shot {
    Aim aim;
    Flight flight;
    float miss = 0.0f;
};

// Aims one tank's gun by flying shells the way the physics flies them: fixed
// steps, position before velocity, the walls of the world and the ground met
// through the physics' own contact rules, the muzzle where the turned barrel
// puts it. A lone shell lands exactly where this says; other objects in
// flight or craters dug meanwhile are what the bracketing corrects.
class ShotSolver {
public:
    // Copies the skeleton (its turret and barrel are turned for every aim tried);
    // the terrain is borrowed and must outlive the solver.
    ShotSolver(const Terrain& terrain, const Vector3& gravity, float timeStepSeconds,
               const Skeleton& tankSkeleton, const Vector3& tankPosition, float tankRadius);
    ShotSolver(const ShotSolver&) = delete;
    ShotSolver& operator=(const ShotSolver&) = delete;

    Flight fly(const Aim& aim) const;
    // The aim whose shell lands nearest to `target` (across the ground), trying
    // every elevation from low to steep: a hill that blocks a low arc leaves the
    // high one. Of the arcs that hit, the one nearest to a steady 40 degrees;
    // arcs landing within `keepOut` of the tank itself are left out unless no
    // other lands at all.
    Shot solve(const Vector3& target, float keepOut) const;
    // The strongest weapon (largest blast, a cluster before a single shell of the
    // same blast) that cannot hurt this tank when its shell takes `flight`, as an
    // index into `weapons`; -1 when every one would.
    int strongestSafeWeapon(const std::vector<const Weapon*>& weapons, const Flight& flight) const;
    // How far from a shell's landing a weapon can hurt a body of `bodyRadius`;
    // infinite for a kind of weapon it does not know.
    static float reach(const Weapon& weapon, const Flight& flight, float bodyRadius);

    static constexpr float shellRadius = 1.0f; // every shell is an Object of the default radius
    static constexpr float maxSpeed = 100.0f;
    static constexpr float hitTolerance = 1.0f; // a miss this small counts as a hit for choosing
    static constexpr float safetyMargin = 6.0f; // kept beyond a blast's reach of its own tank
    static constexpr int maxSteps = 4000;       // a longer flight counts as none

private:
    Vector3 muzzle(const Aim& aim) const;
    float turretTowards(const Vector3& target, float barrelDegrees) const;
    Shot solveAtElevation(const Vector3& target, float barrelDegrees) const;

    const Terrain& terrain;
    Vector3 gravity;
    float dt;
    mutable Skeleton model;     // the tank's own copy, turned to each aim
    Skeleton* turret = nullptr; // nodes of model; null when it has none
    Skeleton* barrel = nullptr;
    Vector3 position;
    float radius;
};
