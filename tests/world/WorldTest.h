#pragma once
#include "support/TraceCapture.h"
#include "world/Object.h"
#include "world/PhysicsSettings.h"
#include "world/Terrain.h"
#include <gtest/gtest.h>
#include <memory>
#include <utility>

// Sets every vertex of `terrain` to `height`, plus `slope` per column.
inline void fill(Terrain& terrain, float height, float slope = 0.0f) {
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            terrain.cells().at(i, j).height = height + slope * static_cast<float>(i);
}

// The game's world for a test: a 200-unit box over the flat 64 x 64 terrain, an
// object list and the physics. Trace lines nobody checks stay out of the test log.
class WorldTest : public ::testing::Test {
protected:
    // Ground at world height 200 * `height`.
    void flatten(float height) { fill(terrain, height); }

    // Appends a T built from `args`, placed at `position`.
    template <typename T, typename... Args> T& add(const Vector3& position, Args&&... args) {
        objects.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        objects.back()->position = position;
        return static_cast<T&>(*objects.back());
    }

    World world() { return World{&objects, &box, &terrain}; }

    TraceCapture quiet;
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
    PhysicsSettings physics;
    ObjectList objects; // destroyed first, while `quiet` still holds the lines
};
