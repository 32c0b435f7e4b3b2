#pragma once
#include "assets/Skeleton.h"
#include "world/Vector3.h"
#include "world/World.h"
#include <cstdint>

// Every body in the world is a sphere. Creators set position, velocity, skeleton
// and texture before appending the object to the world's list, which then owns it.
class Object {
public:
    Object();
    virtual ~Object() = default;

    virtual void contactEvent(World world);
    virtual void update(World world, float seconds);
    virtual void damageEvent(World world, float amount);

    // Numbers the next object 1 again, as in a fresh process. Only while no
    // object lives: for a second game core in one process (tests and tools that
    // replay a game), whose trace names objects by id.
    static void restartIds();

    std::uint32_t id;  // from a process-wide counter, first object 1, never reused
    Vector3 position{0.0f, 0.0f, 0.0f};
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Vector3 rotation{0.0f, 0.0f, 0.0f};  // degrees about x, y, z
    float radius = 1.0f;
    float mass = 1.0f;
    float elasticity = 1.0f;  // the product of a pair's scales the push along their centres
    float age = 0.0f;  // seconds
    Vector3 velocity{0.0f, 0.0f, 0.0f};  // world units per second
    // Lies still: gravity leaves it alone and the terrain is not tested against
    // it. A speed of 0.1 or more wakes it; an explosion wakes everything.
    bool resting = false;
    bool active = true;  // false hides it from the physics, the updates and the frame
    bool dead = false;  // erased and destroyed at the start of the next step
    // Never moves and always counts as resting, and a pair with a fixed sphere
    // changes neither velocity: explosions, which must not push shells about.
    bool fixed = false;
    // Never tested against a resting sphere: tanks, so that two parked tanks or a
    // tank and a waiting explosion cost nothing while shells fly elsewhere.
    bool immobile = false;
    Skeleton skeleton;
    std::uint32_t texture = 0;
    // Marks every object of one shot for whoever follows where it lands; 0 for
    // none. A carrier hands its own to the shots it splits into.
    std::uint32_t shotId = 0;
};
