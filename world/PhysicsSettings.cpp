#include "world/PhysicsSettings.h"
#include "world/GridIndex.h"
#include "world/Object.h"
#include "world/Terrain.h"
#include <cassert>
#include <cmath>
#include <iostream>
#include <iterator>

// Fixed-step sphere physics. Each step looks ahead one time step for the earliest
// collision of three kinds (sphere pair, wall of the box, terrain), advances the
// whole world to that moment only, resolves that one collision and tells the
// objects. A step always consumes a whole time step from the accumulator, even
// when it advanced by less, so simulated time lags while collisions happen; the
// game's feel depends on that, so it stays.

namespace {

// Time within dt at which spheres a and b first touch, or dt for none.
float contactTime(const Object& a, const Object& b, float dt) {
    const Vector3 d = a.position - b.position;
    const float distance = length(d);
    // Rate of change of the centre distance, negative while they approach. For
    // coincident centres it is not a number, so shots of one split never collide.
    const float approach = projected(a.velocity, d, distance) +
                           projected(b.velocity, b.position - a.position, distance);
    const float reach = a.radius + b.radius;
    const float reach2 = reach * reach;
    const float d2 = dot(d, d);
    if (d2 <= reach2 && approach < 0.0f)
        return 0.0f;
    if (!(approach < 0.0f))
        return dt;

    // |d + u e|^2 = reach^2 for the fraction u of the step.
    const Vector3 e = (a.velocity - b.velocity) * dt;
    const float qa = dot(e, e);
    const float qb = 2.0f * dot(d, e);
    const float qc = d2 - reach2;
    const float disc = qb * qb - 4.0f * qa * qc;
    float u = 1.0f;
    if (disc == 0.0f) {
        u = -qb / (2.0f * qa);
        if (!(u >= 0.0f && u < 1.0f))
            u = 1.0f;
    } else if (disc > 0.0f) {
        const float root = std::sqrt(disc);
        const float u1 = (-qb - root) / (2.0f * qa);
        const float u2 = (-qb + root) / (2.0f * qa);
        if (u1 >= 0.0f && u1 < 1.0f)
            u = u1;
        else if (u2 >= 0.0f && u2 < 1.0f)
            u = u2;
    }
    return u * dt;
}

// One-dimensional elastic collision along the line of centres, scaled by the
// product of the elasticities. A fixed sphere (an explosion) pushes nothing.
void respond(Object& a, Object& b) {
    if (a.fixed || b.fixed)
        return;
    const float ma = a.mass;
    const float mb = b.mass;
    const float e = a.elasticity * b.elasticity;
    const Vector3 n = a.position - b.position;
    float l = length(n);
    if (l == 0.0f)
        l = 1.0f;
    const Vector3 nHat = n / l;
    const Vector3 zero(0.0f, 0.0f, 0.0f);
    const float ua = a.velocity == zero ? 0.0f : dot(a.velocity, n) / l;
    const float ub = b.velocity == zero ? 0.0f : dot(b.velocity, n) / l;
    const Vector3 tangentA = a.velocity - ua * nHat;
    const Vector3 tangentB = b.velocity - ub * nHat;
    a.velocity = tangentA + (e * nHat) * ((ma - mb) * ua + 2.0f * mb * ub) / (ma + mb);
    b.velocity = tangentB + (e * nHat) * ((mb - ma) * ub + 2.0f * ma * ua) / (ma + mb);
}

} // namespace

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

    // Removal: the only place where objects leave the list.
    for (auto it = objects.begin(); it != objects.end();) {
        if ((*it)->dead)
            it = objects.erase(it);
        else
            ++it;
    }

    // The active objects, in list order, for the searches below.
    live.clear();
    for (const std::unique_ptr<Object>& object : objects)
        if (object->active)
            live.push_back(object.get());
    const std::size_t count = live.size();

    // Earliest sphere pair. Two resting spheres stay apart, and nothing resting is
    // tested against an immobile one (tanks), so only moving shells cost time.
    Object* pairA = nullptr;
    Object* pairB = nullptr;
    float tS = dt;
    for (std::size_t i = 0; i < count; ++i) {
        Object& a = *live[i];
        for (std::size_t j = i + 1; j < count; ++j) {
            Object& b = *live[j];
            if ((a.resting && (b.resting || b.immobile)) || (b.resting && a.immobile))
                continue;
            const float t = contactTime(a, b, dt);
            if (t < tS) {
                tS = t;
                pairA = &a;
                pairB = &b;
            }
        }
    }

    // Earliest wall. The centre meets the wall; the radius plays no part.
    const WorldBox& box = *world.box;
    const float lower[3] = {box.xMin, box.yMin, box.zMin};
    const float upper[3] = {box.xMax, box.yMax, box.zMax};
    Object* wallObject = nullptr;
    Vector3 reflection(1.0f, 1.0f, 1.0f);
    float tW = dt;
    for (Object* object : live) {
        const float p[3] = {object->position.x, object->position.y, object->position.z};
        const float v[3] = {object->velocity.x, object->velocity.y, object->velocity.z};
        for (int axis = 0; axis < 3; ++axis) {
            if (v[axis] == 0.0f)
                continue;
            const float t = ((v[axis] < 0.0f ? lower[axis] : upper[axis]) - p[axis]) / v[axis];
            if (t < tW) {
                tW = t;
                wallObject = object;
                reflection = Vector3(axis == 0 ? -1.0f : 1.0f, axis == 1 ? -1.0f : 1.0f,
                                     axis == 2 ? -1.0f : 1.0f);
            }
        }
    }
    if (tW < 0.0f)
        tW = 0.0f;

    // Earliest terrain: the vertex under the end of a whole step, no interpolation.
    const Terrain& terrain = *world.terrain;
    const std::uint32_t w = terrain.width();
    const std::uint32_t h = terrain.height();
    Object* terrainObject = nullptr;
    float tT = dt;
    std::uint32_t groundI = 0; // the grid point under the terrain contact
    std::uint32_t groundJ = 0;
    float groundHeight = 0.0f;
    if (w > 0 && h > 0) {
        const Vector3& size = terrain.size();
        for (Object* object : live) {
            if (object->resting)
                continue;
            const Vector3 predicted = object->position + object->velocity * dt;
            const std::uint32_t i =
                clampedGridIndex(predicted.x / size.x * static_cast<float>(w), w);
            const std::uint32_t j =
                clampedGridIndex(predicted.z / size.z * static_cast<float>(h), h);
            const float ground = terrain.heightAt(i, j);
            if (predicted.y - object->radius < ground) {
                const float t =
                    object->velocity.y == 0.0f
                        ? 0.0f
                        : (object->radius + ground - object->position.y) / object->velocity.y;
                if (t < tT) {
                    tT = t;
                    terrainObject = object;
                    groundI = i;
                    groundJ = j;
                    groundHeight = ground;
                    if (tT < 0.0f)
                        tT = 0.0f;
                }
            }
        }
    }

    // One event per step; ties go to the pair, then to the wall.
    if (pairA && tS <= tW && tS <= tT) {
        advance(world, tS);
        respond(*pairA, *pairB);
        pairA->contactEvent(world);
        pairB->contactEvent(world);
        std::cout << "bounce sphere " << pairA->id << " sphere "
                  << ", " << pairB->id << std::endl;
        std::cout << "resting:  " << int{pairA->resting} << ", " << int{pairB->resting}
                  << std::endl;
        std::cout << "fixed:    " << int{pairA->fixed} << ", " << int{pairB->fixed} << std::endl;
        std::cout << "immobile: " << int{pairA->immobile} << ", " << int{pairB->immobile}
                  << std::endl;
    } else if (tW <= tT) {
        advance(world, tW);
        if (wallObject) {
            std::cout << "bounce sphere wall" << wallObject->id << std::endl;
            wallObject->velocity.x *= reflection.x;
            wallObject->velocity.y *= reflection.y;
            wallObject->velocity.z *= reflection.z;
        }
    } else {
        advance(world, tT);
        // An explosion going off during the advance may have dug the ground away
        // from under the contact foreseen before it: then there is no contact, and
        // the object, woken by that explosion, falls on to the new ground.
        if (terrainObject && terrain.heightAt(groundI, groundJ) != groundHeight)
            terrainObject = nullptr;
        if (terrainObject) {
            std::cout << "bounce sphere terrain " << terrainObject->id << std::endl;
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
    const float wakeSpeed2 = 0.1f * 0.1f;
    for (const std::unique_ptr<Object>& pointer : objects) {
        Object& object = *pointer;
        if (object.fixed)
            object.resting = true;
        if (object.active && object.resting && !object.fixed &&
            dot(object.velocity, object.velocity) >= wakeSpeed2)
            object.resting = false;
        if (object.active && !object.resting && !object.fixed) {
            // Explicit Euler, position first with the old velocity.
            object.position += seconds * object.velocity;
            object.velocity += seconds * gravity;
        }
    }

    // Back to front from the element that is last now: what an update appends
    // (split shells) waits for the next advance. Nothing erases during a step, so
    // the iterators stay valid.
    auto it = std::prev(objects.end());
    while (true) {
        if ((*it)->active)
            (*it)->update(world, seconds);
        if (it == objects.begin())
            break;
        --it;
    }
}
