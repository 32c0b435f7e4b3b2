#include "world/Object.h"
#include "support/CaptureStreams.h"
#include "world/TankObject.h"
#include <gtest/gtest.h>

TEST(ObjectTest, IdsCountUpAndAreNeverReused) {
    auto first = std::make_unique<Object>();
    const std::uint32_t firstId = first->id;
    EXPECT_GE(firstId, 1u);
    first.reset();
    const Object second;
    const TankObject third;
    EXPECT_EQ(second.id, firstId + 1);
    EXPECT_EQ(third.id, firstId + 2);
}

TEST(ObjectTest, DefaultEventsTraceAndUpdateAges) {
    Object object;
    CaptureStreams capture;
    object.contactEvent(World{});
    object.damageEvent(World{}, 40.0f);
    object.update(World{}, 0.25f);
    object.update(World{}, 0.5f);
    EXPECT_EQ(capture.out(),
              "Object::contactEvent\nObject[" + std::to_string(object.id) + "]::damageEvent\n");
    EXPECT_EQ(object.age, 0.75f);
    EXPECT_EQ(object.radius, 1.0f);
    EXPECT_TRUE(object.active);
    EXPECT_FALSE(object.resting || object.dead || object.fixed || object.immobile);
}
