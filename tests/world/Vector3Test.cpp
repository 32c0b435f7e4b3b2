#include "world/Vector3.h"
#include <cmath>
#include <gtest/gtest.h>

TEST(Vector3Test, CrossFollowsTheRightHandRule) {
    EXPECT_EQ(cross(Vector3(1, 0, 0), Vector3(0, 0, 1)), Vector3(0, -1, 0));
    EXPECT_EQ(cross(Vector3(0, 0, 1), Vector3(1, 0, 0)), Vector3(0, 1, 0));
    EXPECT_EQ(cross(Vector3(2, 3, 4), Vector3(2, 3, 4)), Vector3(0, 0, 0));
}

TEST(Vector3Test, NormalizedOfZeroIsNotFinite) {
    const Vector3 zero = normalized(Vector3(0, 0, 0));
    EXPECT_FALSE(std::isfinite(zero.x) || std::isfinite(zero.y) || std::isfinite(zero.z));
}
