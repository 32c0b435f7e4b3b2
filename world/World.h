#pragma once
#include <cstdint>
#include <list>
#include <memory>

class Object;
class ObjectIndex;
class Terrain;
class WorldEvents;

// The world is a cube of this many units: the terrain spans 0 to worldSize along
// x and z, its heights are scaled by it, and the physics keeps everything in the
// cube between 0 and worldSize on all three axes.
constexpr float worldSize = 200.0f;

// The list owns its objects; only the removal at the start of a physics step
// erases from it, so iterators held elsewhere stay valid during a step.
using ObjectList = std::list<std::unique_ptr<Object>>;

// The cube the world lives in; the last field is set to 0 and never read.
struct WorldBox {
    float xMin = 0.0f;
    float xMax = 0.0f;
    float yMin = 0.0f;
    float yMax = 0.0f;
    float zMin = 0.0f;
    float zMax = 0.0f;
    std::uint32_t unused = 0;
};

// The cube the game keeps its world in: the terrain's, whose walls shells bounce
// off. The computer's trial shells fly in the same one.
constexpr WorldBox gameBox{0.0f, worldSize, 0.0f, worldSize, 0.0f, worldSize, 0};

// What the physics and every event see, passed by value. `events` hears of
// explosions and splits; null when nobody listens.
struct World {
    ObjectList* objects = nullptr;
    WorldBox* box = nullptr;
    Terrain* terrain = nullptr;
    WorldEvents* events = nullptr;
    // Set by the physics for the events of its step: the list's objects by id.
    // Null elsewhere, where an event walks the list instead.
    const ObjectIndex* index = nullptr;
};
