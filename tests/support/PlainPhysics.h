#pragma once
#include "assets/TraceSink.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/GridIndex.h"
#include "world/Object.h"
#include "world/PhysicsSettings.h"
#include "world/SphereContact.h"
#include "world/Terrain.h"
#include <iterator>
#include <memory>
#include <vector>

// A MIRV or Death's Head carrier as the rules put it: on its first contact (after
// its line) or at the first update that finds it falling, whichever comes first,
// it dies and fires its fan from its centre, shot by shot an Explosive and then
// its Explosion. It numbers them from `nextId` in the order it makes them, which
// is the order in which the game's counter must have numbered its own.
class PlainCarrier : public Object {
public:
    PlainCarrier(bool deathsHead, std::uint32_t& ids) : nine(deathsHead), nextId(ids) {}

    void contactEvent(World world) override {
        TraceLine() << (nine ? "DeathsHeadObject" : "MIRVObject") << "::contactEvent";
        split(world);
    }
    void update(World world, float) override {
        if (velocity.y < 0.0f)
            split(world);
    }

private:
    void split(World world) {
        if (dead) // updated and then touched in one step: one fan
            return;
        dead = true;
        static const float mirv[5][2] = {{0, 0}, {4, 0}, {-4, 0}, {0, 4}, {0, -4}}; // x, z
        static const float deathsHead[9][2] = {{0, 0},   {0, -4}, {0, 4},  {-4, 0}, {4, 0},
                                               {-4, -4}, {-4, 4}, {4, -4}, {4, 4}};
        for (int k = 0; k < (nine ? 9 : 5); ++k) {
            const float* offset = nine ? deathsHead[k] : mirv[k];
            auto shell = std::make_unique<Explosive>();
            auto blast = std::make_unique<Explosion>(nine ? 16.0f : 8.0f, nine ? 100.0f : 75.0f);
            shell->id = nextId++;
            blast->id = nextId++;
            shell->explosionId = blast->id;
            shell->position = position;
            shell->velocity = velocity + Vector3(offset[0], 0.0f, offset[1]);
            blast->active = false;
            world.objects->push_back(std::move(shell));
            world.objects->push_back(std::move(blast));
        }
    }

    bool nine;
    std::uint32_t& nextId;
};

// The physics step as the rules put it, with nothing clever: every pair of active
// objects tested in list order, the explosive's walk over the list, and after
// every crater normals and tiles redone over the whole grid. The sameness test
// holds the game's physics to it and the benchmarks time it beside the game's.
class PlainPhysics {
public:
    void step(World world) {
        ObjectList& objects = *world.objects;
        const float dt = settings.timeStep;
        for (auto it = objects.begin(); it != objects.end();)
            it = (*it)->dead ? objects.erase(it) : std::next(it);
        std::vector<Object*> live;
        for (const auto& object : objects)
            if (object->active)
                live.push_back(object.get());

        Object *pairA = nullptr, *pairB = nullptr;
        float tS = dt;
        for (std::size_t i = 0; i < live.size(); ++i)
            for (std::size_t j = i + 1; j < live.size(); ++j) {
                Object &a = *live[i], &b = *live[j];
                if ((a.resting && (b.resting || b.immobile)) || (b.resting && a.immobile))
                    continue;
                const float t = contactTime(a, b, dt);
                if (t < tS)
                    tS = t, pairA = &a, pairB = &b;
            }

        const WorldBox& box = *world.box;
        const float lower[3] = {box.xMin, box.yMin, box.zMin};
        const float upper[3] = {box.xMax, box.yMax, box.zMax};
        Object* wallObject = nullptr;
        int wallAxis = 0;
        float tW = dt;
        for (Object* o : live) {
            const float p[3] = {o->position.x, o->position.y, o->position.z};
            const float v[3] = {o->velocity.x, o->velocity.y, o->velocity.z};
            for (int axis = 0; axis < 3; ++axis) {
                if (v[axis] == 0.0f)
                    continue;
                const float t = ((v[axis] < 0.0f ? lower[axis] : upper[axis]) - p[axis]) / v[axis];
                if (t < tW) {
                    tW = t;
                    wallObject = o;
                    wallAxis = axis;
                }
            }
        }
        if (tW < 0.0f)
            tW = 0.0f;

        Terrain& terrain = *world.terrain;
        const std::uint32_t w = terrain.width();
        const std::uint32_t h = terrain.height();
        Object* terrainObject = nullptr;
        float tT = dt;
        std::uint32_t groundI = 0, groundJ = 0;
        float groundHeight = 0.0f;
        for (Object* o : live) {
            if (o->resting)
                continue;
            const Vector3 predicted = o->position + o->velocity * dt;
            const std::uint32_t i = clampedGridIndex(predicted.x / terrain.size().x * w, w);
            const std::uint32_t j = clampedGridIndex(predicted.z / terrain.size().z * h, h);
            const float ground = terrain.heightAt(i, j);
            if (predicted.y - o->radius < ground) {
                const float t = o->velocity.y == 0.0f
                                    ? 0.0f
                                    : (o->radius + ground - o->position.y) / o->velocity.y;
                if (t < tT) {
                    tT = t < 0.0f ? 0.0f : t;
                    terrainObject = o;
                    groundI = i;
                    groundJ = j;
                    groundHeight = ground;
                }
            }
        }

        if (pairA && tS <= tW && tS <= tT) {
            advance(world, tS);
            respond(*pairA, *pairB);
            pairA->contactEvent(world);
            pairB->contactEvent(world);
            TraceLine() << "bounce sphere " << pairA->id << " sphere , " << pairB->id;
            TraceLine() << "resting:  " << pairA->resting << ", " << pairB->resting;
            TraceLine() << "fixed:    " << pairA->fixed << ", " << pairB->fixed;
            TraceLine() << "immobile: " << pairA->immobile << ", " << pairB->immobile;
        } else if (tW <= tT) {
            advance(world, tW);
            if (wallObject) {
                TraceLine() << "bounce sphere wall" << wallObject->id;
                float* v[3] = {&wallObject->velocity.x, &wallObject->velocity.y,
                               &wallObject->velocity.z};
                *v[wallAxis] *= -1.0f;
            }
        } else {
            advance(world, tT);
            // Ground dug away during the advance: no landing, the object falls on.
            if (terrainObject && terrain.heightAt(groundI, groundJ) == groundHeight) {
                TraceLine() << "bounce sphere terrain " << terrainObject->id;
                terrainObject->velocity = Vector3(0.0f, 0.0f, 0.0f);
                terrainObject->resting = true;
                terrainObject->contactEvent(world);
            }
        }
    }

    // Taking the terrain's grid for editing makes its next crater redo normals and
    // tiles over the whole grid: done before every update that may dig one.
    void advance(World world, float t) {
        ObjectList& objects = *world.objects;
        if (objects.empty())
            return;
        for (const auto& pointer : objects) {
            Object& o = *pointer;
            if (o.fixed)
                o.resting = true;
            if (o.active && o.resting && !o.fixed && dot(o.velocity, o.velocity) >= 0.1f * 0.1f)
                o.resting = false;
            if (o.active && !o.resting && !o.fixed) {
                o.position += t * o.velocity;
                o.velocity += t * settings.gravity;
            }
        }
        for (auto it = std::prev(objects.end());; --it) {
            if ((*it)->active) {
                world.terrain->cells();
                (*it)->update(world, t);
            }
            if (it == objects.begin())
                break;
        }
    }

    PhysicsSettings settings; // its time step and gravity
};
