#include "WorldTest.h"
#include "world/CarrierObject.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/MIRV.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

using CarrierTest = WorldTest;

// The shells in the list leave `from` with the velocities of `fan`, in order; each
// explosion is the submunition's.
void expectFan(const ObjectList& objects, const Vector3& from, const std::vector<Vector3>& fan,
               float blastRadius) {
    std::vector<Vector3> velocities;
    for (const std::unique_ptr<Object>& object : objects) {
        if (const auto* shell = dynamic_cast<const Explosive*>(object.get())) {
            velocities.push_back(shell->velocity);
            EXPECT_EQ(shell->position, from);
        } else if (const auto* explosion = dynamic_cast<const Explosion*>(object.get())) {
            EXPECT_EQ(explosion->blastRadius, blastRadius);
        }
    }
    EXPECT_EQ(velocities, fan);
}

} // namespace

// Rising at 5 units a second, it still climbs after 50 steps of 0.01 s and splits
// in the 51st, when it falls; it is marked, and erased when the next step begins.
TEST_F(CarrierTest, MIRVSplitsAtTheTopOfItsFlightIntoFiveMissiles) {
    MIRV().fire(objects, Vector3(100, 50, 100), Vector3(3, 5, -2));
    const Object* carrier = objects.front().get();
    for (int i = 0; i < 50; ++i)
        physics.step(world());
    ASSERT_EQ(objects.size(), 1u);
    physics.step(world());
    ASSERT_EQ(objects.size(), 11u);
    EXPECT_TRUE(carrier->dead);
    const float vy = carrier->velocity.y;
    EXPECT_LT(vy, 0.0f);
    expectFan(objects, carrier->position,
              {{3, vy, -2}, {7, vy, -2}, {-1, vy, -2}, {3, vy, 2}, {3, vy, -6}}, 8.0f);
    physics.step(world());
    EXPECT_EQ(objects.size(), 10u);
}

// Whoever follows a shot finds all of it: the fan carries the carrier's mark, and
// nothing else in the list takes it.
TEST_F(CarrierTest, DeathsHeadFansOverTheGridCentreFirstUnderTheCarriersMark) {
    DeathsHead().fire(objects, Vector3(20, 30, 40), Vector3(1, 2, 3));
    add<Object>(Vector3()); // someone else's, in the list before the split
    objects.front()->shotId = 17;
    TraceCapture capture;
    objects.front()->contactEvent(world());
    EXPECT_EQ(capture.out().rfind("DeathsHeadObject::contactEvent\n", 0), 0u) << capture.out();
    ASSERT_EQ(objects.size(), 20u);
    const std::vector<Vector3> fan = {{1, 2, 3},   {1, 2, -1}, {1, 2, 7},  {-3, 2, 3}, {5, 2, 3},
                                      {-3, 2, -1}, {-3, 2, 7}, {5, 2, -1}, {5, 2, 7}};
    expectFan(objects, Vector3(20, 30, 40), fan, 16.0f);
    EXPECT_EQ(std::count_if(objects.begin(), objects.end(),
                            [](const auto& o) { return o->shotId == 17; }),
              1 + 18)
        << "the carrier, nine shells and their explosions";
}

// Falling onto the ground within its first step, the carrier is updated (falling:
// it splits) and then told of the contact in that same step. It must split once.
TEST_F(CarrierTest, CarrierSplitsOnlyOnceWhenUpdateAndContactShareAStep) {
    MIRV().fire(objects, Vector3(100, 1.05f, 100), Vector3(0, -10, 0));
    TraceCapture capture;
    physics.step(world());
    EXPECT_NE(capture.out().find("MIRVObject::contactEvent\n"), std::string::npos);
    EXPECT_EQ(objects.size(), 11u);
}
