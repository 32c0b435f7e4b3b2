#include "world/TankObject.h"
#include "support/TraceCapture.h"
#include <gtest/gtest.h>

// A contact alone does no harm.
TEST(TankObjectTest, DamageLowersHealthToNoLessThanZero) {
    for (const auto& [amount, health, line] :
         {std::tuple{37.5f, 62.5f, "TankObject::damageEvent(37.5) health = 62.5\n"},
          std::tuple{150.0f, 0.0f, "TankObject::damageEvent(150) health = 0\n"}}) {
        TankObject tank;
        TraceCapture capture;
        tank.damageEvent(World{}, amount);
        tank.contactEvent(World{});
        EXPECT_EQ(tank.health, health);
        EXPECT_EQ(capture.out(), std::string(line) + "TankObject::contactEvent\n");
    }
}
