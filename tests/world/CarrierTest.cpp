#include "support/CaptureStreams.h"
#include "world/DeathsHead.h"
#include "world/DeathsHeadObject.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/MIRV.h"
#include "world/MIRVObject.h"
#include "world/PhysicsSettings.h"
#include "world/Terrain.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Shot {
    const Explosive* shell;
    const Explosion* explosion;
};

// The explosive shots in the list, in order, skipping carriers; every shell must
// be followed directly by its own explosion.
std::vector<Shot> shotsIn(const ObjectList& objects) {
    std::vector<Shot> shots;
    for (auto it = objects.begin(); it != objects.end(); ++it) {
        if (dynamic_cast<const CarrierObject*>(it->get()) != nullptr)
            continue;
        const auto* shell = dynamic_cast<const Explosive*>(it->get());
        const auto next = std::next(it);
        const auto* explosion =
            next == objects.end() ? nullptr : dynamic_cast<const Explosion*>(next->get());
        if (shell == nullptr || explosion == nullptr || shell->explosionId != explosion->id) {
            ADD_FAILURE() << "object " << (*it)->id << " does not start a shell/explosion pair";
            return shots;
        }
        shots.push_back({shell, explosion});
        it = next;
    }
    return shots;
}

// A flat ground at height 0 inside the 200-unit box.
class CarrierTest : public ::testing::Test {
protected:
    void TearDown() override { objects.clear(); }

    World world() { return World{&objects, &box, &terrain}; }

    CaptureStreams capture;
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    PhysicsSettings physics;
    ObjectList objects;
};

} // namespace

TEST_F(CarrierTest, MIRVSplitsAtTheTopOfItsFlightIntoFiveMissiles) {
    MIRV mirv;
    mirv.carrierTexture = 5;
    mirv.fire(objects, Vector3(100, 50, 100), Vector3(3, 5, -2));
    ASSERT_EQ(objects.size(), 1u);
    const auto* carrier = dynamic_cast<const MIRVObject*>(objects.front().get());
    ASSERT_NE(carrier, nullptr);
    EXPECT_EQ(carrier->texture, 5u);

    // Rising at 5 units a second, it still climbs after 50 steps of 0.01 s and
    // falls after 51.
    for (int i = 0; i < 50; ++i)
        physics.step(world());
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_GT(carrier->velocity.y, 0.0f);
    EXPECT_EQ(carrier->age, 0.0f);

    physics.step(world());
    ASSERT_EQ(objects.size(), 11u);
    EXPECT_EQ(objects.front().get(), carrier); // marked, not erased
    EXPECT_TRUE(carrier->dead);
    const float vy = carrier->velocity.y;
    EXPECT_LT(vy, 0.0f);

    const std::vector<Shot> shots = shotsIn(objects);
    const std::vector<Vector3> expected = {
        {3, vy, -2}, {7, vy, -2}, {-1, vy, -2}, {3, vy, 2}, {3, vy, -6}};
    ASSERT_EQ(shots.size(), expected.size());
    for (std::size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shots[i].shell->velocity, expected[i]);
        EXPECT_EQ(shots[i].shell->position, carrier->position);
        EXPECT_TRUE(shots[i].shell->active);
        EXPECT_FALSE(shots[i].explosion->active);
        EXPECT_EQ(shots[i].explosion->blastRadius, 8.0f);
        EXPECT_EQ(shots[i].explosion->damage, 75.0f);
    }

    // The next step removes the carrier; the shots, sharing one centre, fly on
    // without touching each other.
    capture.clear();
    physics.step(world());
    EXPECT_EQ(objects.size(), 10u);
    EXPECT_EQ(shotsIn(objects).size(), 5u);
    EXPECT_EQ(capture.out().find("bounce sphere "), std::string::npos) << capture.out();
}

TEST_F(CarrierTest, CarrierFiredDownwardSplitsInItsFirstStep) {
    MIRV mirv;
    DeathsHead deathsHead;
    mirv.fire(objects, Vector3(50, 100, 50), Vector3(0, -1, 0));
    deathsHead.fire(objects, Vector3(150, 100, 150), Vector3(0, -1, 0));
    physics.step(world());
    EXPECT_EQ(objects.size(), 2u + 2 * (5 + 9));
    EXPECT_TRUE(objects.front()->dead);
    EXPECT_TRUE((*std::next(objects.begin()))->dead);
}

TEST_F(CarrierTest, CarrierThatHitsTheGroundSplitsWithTheBareOffsets) {
    MIRV mirv;
    mirv.fire(objects, Vector3(100, 0.5f, 100), Vector3(0, 0, 0));
    const std::uint32_t carrierId = objects.front()->id;
    physics.step(world());

    const std::string out = capture.out();
    const std::string contact =
        "bounce sphere terrain " + std::to_string(carrierId) + "\nMIRVObject::contactEvent\n";
    EXPECT_EQ(out.compare(0, contact.size(), contact), 0) << out;

    const std::vector<Shot> shots = shotsIn(objects);
    const std::vector<Vector3> expected = {{0, 0, 0}, {4, 0, 0}, {-4, 0, 0}, {0, 0, 4}, {0, 0, -4}};
    ASSERT_EQ(shots.size(), expected.size());
    for (std::size_t i = 0; i < shots.size(); ++i)
        EXPECT_EQ(shots[i].shell->velocity, expected[i]) << i;
}

// Falling onto the ground within its first step, the carrier is updated (falling:
// it splits) and then told of the contact in that same step. It must split once.
TEST_F(CarrierTest, CarrierSplitsOnlyOnceWhenUpdateAndContactShareAStep) {
    MIRV mirv;
    mirv.fire(objects, Vector3(100, 1.05f, 100), Vector3(0, -10, 0));
    physics.step(world());
    EXPECT_NE(capture.out().find("MIRVObject::contactEvent\n"), std::string::npos);
    EXPECT_EQ(shotsIn(objects).size(), 5u);

    // Likewise when the events are delivered by hand.
    objects.clear();
    DeathsHead deathsHead;
    deathsHead.fire(objects, Vector3(100, 100, 100), Vector3(0, -1, 0));
    objects.front()->update(world(), 0.01f);
    objects.front()->contactEvent(world());
    EXPECT_EQ(shotsIn(objects).size(), 9u);
}

TEST_F(CarrierTest, UpdateSplitsOnlyAFallingCarrier) {
    struct Case {
        float vy;
        bool splits;
    };
    for (const Case& c : {Case{2.0f, false}, Case{0.0f, false}, Case{-0.001f, true}}) {
        SCOPED_TRACE(c.vy);
        objects.clear();
        MIRV().fire(objects, Vector3(100, 100, 100), Vector3(1, c.vy, 0));
        Object& carrier = *objects.front();
        carrier.update(world(), 0.25f);
        EXPECT_EQ(carrier.dead, c.splits);
        EXPECT_EQ(objects.size(), c.splits ? 11u : 1u);
        EXPECT_EQ(carrier.age, 0.0f);
    }
}

TEST_F(CarrierTest, DeathsHeadFansOverTheGridCentreFirst) {
    DeathsHead deathsHead;
    deathsHead.fire(objects, Vector3(20, 30, 40), Vector3(1, 2, 3));
    capture.clear();
    objects.front()->contactEvent(world());

    const std::string out = capture.out();
    const std::string line = "DeathsHeadObject::contactEvent\n";
    EXPECT_EQ(out.compare(0, line.size(), line), 0) << out;

    const std::vector<Shot> shots = shotsIn(objects);
    const std::vector<Vector3> expected = {{1, 2, 3},  {1, 2, -1}, {1, 2, 7},
                                           {-3, 2, 3}, {5, 2, 3},  {-3, 2, -1},
                                           {-3, 2, 7}, {5, 2, -1}, {5, 2, 7}};
    ASSERT_EQ(shots.size(), expected.size());
    for (std::size_t i = 0; i < shots.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(shots[i].shell->velocity, expected[i]);
        EXPECT_EQ(shots[i].shell->position, Vector3(20, 30, 40));
        EXPECT_EQ(shots[i].explosion->blastRadius, 16.0f);
        EXPECT_EQ(shots[i].explosion->damage, 100.0f);
    }
}
