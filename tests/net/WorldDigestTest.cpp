#include "net/WorldDigest.h"
#include "support/TraceCapture.h"
#include "world/Object.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct DigestWorld {
    DigestWorld() {
        for (std::uint32_t j = 0; j < terrain.height(); ++j)
            for (std::uint32_t i = 0; i < terrain.width(); ++i)
                terrain.cells().at(i, j).height =
                    0.3f + 0.01f * static_cast<float>((i * 7 + j * 3) % 11);
        auto tank = std::make_unique<TankObject>();
        tank->position = Vector3(50.0f, 70.0f, 60.0f);
        tank->health = 62.5f;
        objects.push_back(std::move(tank));
        auto shell = std::make_unique<Object>();
        shell->position = Vector3(80.0f, 120.0f, 90.0f);
        shell->velocity = Vector3(3.0f, -4.0f, 5.0f);
        objects.push_back(std::move(shell));
    }
    TankObject& tank() { return static_cast<TankObject&>(*objects.front()); }
    Object& shell() { return *objects.back(); }

    Terrain terrain{16, 16, 200.0f, 200.0f, 200.0f};
    ObjectList objects;
};

void flipLowestBit(float& value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits ^= 1u;
    std::memcpy(&value, &bits, sizeof bits);
}

} // namespace

// Two worlds built alike digest alike (their objects' ids differ); one bit of
// any digested value, or one flag, gives another digest.
TEST(WorldDigestTest, OneBitAnywhereChangesTheDigest) {
    TraceCapture quiet;
    DigestWorld reference;
    const std::uint64_t expected = worldDigest(reference.objects, reference.terrain);
    const DigestWorld twin;
    EXPECT_EQ(worldDigest(twin.objects, twin.terrain), expected);
    struct Case {
        const char* name;
        std::function<void(DigestWorld&)> change;
    };
    for (const Case& c : {
             Case{"a height",
                  [](DigestWorld& w) { flipLowestBit(w.terrain.cells().at(9, 4).height); }},
             Case{"the last height",
                  [](DigestWorld& w) { flipLowestBit(w.terrain.cells().at(15, 15).height); }},
             Case{"a position", [](DigestWorld& w) { flipLowestBit(w.tank().position.x); }},
             Case{"a velocity", [](DigestWorld& w) { flipLowestBit(w.shell().velocity.z); }},
             Case{"a health", [](DigestWorld& w) { flipLowestBit(w.tank().health); }},
             Case{"a radius", [](DigestWorld& w) { flipLowestBit(w.shell().radius); }},
             Case{"dead", [](DigestWorld& w) { w.shell().dead = true; }},
             Case{"inactive", [](DigestWorld& w) { w.shell().active = false; }},
             Case{"resting", [](DigestWorld& w) { w.tank().resting = true; }},
             Case{"the order", [](DigestWorld& w) { w.objects.reverse(); }},
             Case{"one more",
                  [](DigestWorld& w) { w.objects.push_back(std::make_unique<Object>()); }},
         }) {
        SCOPED_TRACE(c.name);
        DigestWorld changed;
        c.change(changed);
        EXPECT_NE(worldDigest(changed.objects, changed.terrain), expected);
    }
}
