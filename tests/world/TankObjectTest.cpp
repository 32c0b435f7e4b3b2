#include "world/TankObject.h"
#include "support/CaptureStreams.h"
#include <gtest/gtest.h>

TEST(TankObjectTest, DamageLowersHealthToNoLessThanZero) {
    struct Case {
        float amount, health;
        const char* line;
    };
    for (const Case& c :
         {Case{37.5f, 62.5f, "TankObject::damageEvent(37.5) health = 62.5\n"},
          Case{150.0f, 0.0f, "TankObject::damageEvent(150) health = 0\n"},
          Case{0.0f, 100.0f, "TankObject::damageEvent(0) health = 100\n"},
          Case{59.375f, 40.625f, "TankObject::damageEvent(59.375) health = 40.625\n"}}) {
        SCOPED_TRACE(c.line);
        TankObject tank;
        CaptureStreams capture;
        tank.damageEvent(World{}, c.amount);
        tank.contactEvent(World{}); // a contact alone does no harm
        EXPECT_EQ(tank.health, c.health);
        EXPECT_EQ(capture.out(), std::string(c.line) + "TankObject::contactEvent\n");
    }
}
