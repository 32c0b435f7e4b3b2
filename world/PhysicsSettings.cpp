#include "world/PhysicsSettings.h"
#include "assets/TraceSink.h"
#include "world/GroundContact.h"
#include "world/Object.h"
#include "world/SphereContact.h"
#include "world/Terrain.h"
#include "world/WallContact.h"
#include <cassert>
#include <cmath>
#include <iterator>

// Fixed-step sphere physics. Each step looks ahead one time step for the earliest
// collision of three kinds (sphere pair, wall of the box, terrain), advances the
// whole world to that moment only, resolves that one collision and tells the
// objects. A step always consumes a whole time step from the accumulator, even
// when it advanced by less, so simulated time lags while collisions happen; the
// game's feel depends on that, so it stays.

void PhysicsSettings::tick(World world, float elapsedSeconds) {
    // A NaN would stop the physics for good and a negative time pause it until
    // repaid; neither is time that passed.
    if (!(elapsedSeconds >= 0.0f) || std::isinf(elapsedSeconds))
        return;
    accumulator += elapsedSeconds;
    while (accumulator > timeStep) {
        step(world);
        accumulator -= timeStep;
    }
}

void PhysicsSettings::step(World world) {
    assert(world.objects && world.box && world.terrain && "the physics needs the whole world");
    ObjectList& objects = *world.objects;
    const float dt = timeStep;

    // One walk: removal, the only place where objects leave the list; the index
    // for the events; the active objects, in list order, and what the searches
    // below read of them.
    index.clear();
    live.clear();
    bodies.clear();
    for (auto it = objects.begin(); it != objects.end();) {
        Object& o = **it;
        if (o.dead) {
            it = objects.erase(it);
            continue;
        }
        index.add(o);
        if (o.active) {
            live.push_back(&o);
            // Field by field into place: a whole Body put together first and then
            // copied is read back before its parts are written, which stalls.
            Body& body = bodies.emplace_back();
            body.position = o.position;
            body.velocity = o.velocity;
            body.radius = o.radius;
            body.resting = o.resting;
            body.immobile = o.immobile;
        }
        ++it;
    }
    world.index = &index;

    // Earliest sphere pair. Two resting spheres stay apart, and nothing resting is
    // tested against an immobile one (tanks), so only moving shells cost time.
    const PairContact pair = pairs.earliest(live, bodies, *world.box, dt);
    Object* const pairA = pair.first;
    Object* const pairB = pair.second;
    const float tS = pair.time;

    // Earliest wall. The centre meets the wall; the radius plays no part.
    const BoxWalls walls(*world.box);
    Object* wallObject = nullptr;
    int wallAxis = 0;
    float tW = dt;
    for (std::size_t n = 0; n < live.size(); ++n)
        if (meetsWallSooner(walls, bodies[n].position, bodies[n].velocity, tW, wallAxis))
            wallObject = live[n];
    if (tW < 0.0f)
        tW = 0.0f;
    const Vector3 reflection(wallAxis == 0 ? -1.0f : 1.0f, wallAxis == 1 ? -1.0f : 1.0f,
                             wallAxis == 2 ? -1.0f : 1.0f);

    // Earliest terrain: the vertex under the end of a whole step, no interpolation.
    const Terrain& terrain = *world.terrain;
    const GroundGrid grid(terrain);
    Object* terrainObject = nullptr;
    float tT = dt;
    GroundPoint ground; // under the terrain contact
    if (!grid.empty()) {
        for (std::size_t n = 0; n < live.size(); ++n) {
            const Body& object = bodies[n];
            if (!object.resting && meetsGroundSooner(grid, object.position, object.velocity,
                                                     object.radius, dt, tT, ground))
                terrainObject = live[n];
        }
    }

    // One event per step; ties go to the pair, then to the wall.
    if (pairA && tS <= tW && tS <= tT) {
        advance(world, tS);
        respond(*pairA, *pairB);
        pairA->contactEvent(world);
        pairB->contactEvent(world);
        TraceLine() << "bounce sphere " << pairA->id << " sphere "
                    << ", " << pairB->id;
        TraceLine() << "resting:  " << int{pairA->resting} << ", " << int{pairB->resting};
        TraceLine() << "fixed:    " << int{pairA->fixed} << ", " << int{pairB->fixed};
        TraceLine() << "immobile: " << int{pairA->immobile} << ", " << int{pairB->immobile};
    } else if (tW <= tT) {
        advance(world, tW);
        if (wallObject) {
            TraceLine() << "bounce sphere wall" << wallObject->id;
            wallObject->velocity.x *= reflection.x;
            wallObject->velocity.y *= reflection.y;
            wallObject->velocity.z *= reflection.z;
        }
    } else {
        advance(world, tT);
        // An explosion going off during the advance may have dug the ground away
        // from under the contact foreseen before it: then there is no contact, and
        // the object, woken by that explosion, falls on to the new ground.
        if (terrainObject && terrain.heightAt(ground.i, ground.j) != ground.height)
            terrainObject = nullptr;
        if (terrainObject) {
            TraceLine() << "bounce sphere terrain " << terrainObject->id;
            terrainObject->velocity = Vector3(0.0f, 0.0f, 0.0f);
            terrainObject->resting = true;
            terrainObject->contactEvent(world);
        }
    }
}

void PhysicsSettings::advance(World world, float seconds) {
    ObjectList& objects = *world.objects;
    if (objects.empty())
        return;
    // Within a step the index holds the list as it is now, in an array: walking
    // that beats chasing the list's links through memory when shells are many.
    // Nothing leaves the list during a step, so the same size means the same list.
    if (world.index != nullptr && world.index->listed().size() == objects.size()) {
        const std::vector<Object*>& listed = world.index->listed();
        for (Object* object : listed)
            move(*object, seconds);
        // Back to front from the element that is last now: what an update appends
        // (split shells) waits for the next advance.
        for (std::size_t n = listed.size(); n-- > 0;)
            if (listed[n]->active)
                listed[n]->update(world, seconds);
        return;
    }
    for (const std::unique_ptr<Object>& object : objects)
        move(*object, seconds);
    // Nothing erases during a step, so the iterators stay valid.
    for (auto it = std::prev(objects.end());; --it) {
        if ((*it)->active)
            (*it)->update(world, seconds);
        if (it == objects.begin())
            break;
    }
}

void PhysicsSettings::move(Object& object, float seconds) const {
    if (object.fixed)
        object.resting = true;
    if (object.active && object.resting && !object.fixed &&
        dot(object.velocity, object.velocity) >= 0.1f * 0.1f)
        object.resting = false;
    if (object.active && !object.resting && !object.fixed) {
        // Explicit Euler, position first with the old velocity.
        object.position += seconds * object.velocity;
        object.velocity += seconds * gravity;
    }
}
