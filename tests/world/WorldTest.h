#pragma once
#include "support/CaptureStreams.h"
#include "world/Object.h"
#include "world/PhysicsSettings.h"
#include "world/Terrain.h"
#include "world/WorldEvents.h"
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

// Writes down what the world reports, in order.
class EventSpy : public WorldEvents {
public:
    struct Heard {
        const char* what; // "exploded" or "split"
        Vector3 centre;
        float radius; // 0 for a split
    };
    void exploded(const Vector3& centre, float radius) override {
        heard.push_back({"exploded", centre, radius});
    }
    void split(const Vector3& centre) override { heard.push_back({"split", centre, 0.0f}); }
    std::vector<Heard> heard;
};

// The game's world for a test: a 200-unit box over the flat 64 x 64 terrain, an
// object list and the physics. Trace lines nobody checks stay out of the test log.
class WorldTest : public ::testing::Test {
protected:
    // Ground at world height 200 * `height`.
    void flatten(float height) {
        for (std::uint32_t j = 0; j < 64; ++j)
            for (std::uint32_t i = 0; i < 64; ++i)
                terrain.cells().at(i, j).height = height;
    }

    // Appends a T built from `args`, placed at `position`.
    template <typename T, typename... Args> T& add(const Vector3& position, Args&&... args) {
        objects.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        objects.back()->position = position;
        return static_cast<T&>(*objects.back());
    }

    World world() { return World{&objects, &box, &terrain}; }
    // The same world with the spy listening.
    World heardWorld() { return World{&objects, &box, &terrain, &spy}; }

    CaptureStreams quiet;
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
    PhysicsSettings physics;
    EventSpy spy;
    ObjectList objects; // destroyed first, while `quiet` still holds the lines
};
