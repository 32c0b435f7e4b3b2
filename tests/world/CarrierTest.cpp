#include "WorldTest.h"
#include "world/CarrierObject.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
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
