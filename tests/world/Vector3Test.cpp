#include "world/Vector3.h"
#include <cmath>
#include <gtest/gtest.h>

TEST(Vector3Test, CrossFollowsTheRightHandRule) {
    const Vector3 c = cross(Vector3(1, 0, 0), Vector3(0, 0, 1));
    EXPECT_EQ(c, Vector3(0, -1, 0));
    EXPECT_EQ(cross(Vector3(0, 0, 1), Vector3(1, 0, 0)), Vector3(0, 1, 0));
    EXPECT_EQ(cross(Vector3(2, 3, 4), Vector3(2, 3, 4)), Vector3(0, 0, 0));
}

TEST(Vector3Test, NormalizedOfZeroIsNotFinite) {
    const Vector3 n = normalized(Vector3(0, 0, 0));
    EXPECT_FALSE(std::isfinite(n.x));
    EXPECT_FALSE(std::isfinite(n.y));
    EXPECT_FALSE(std::isfinite(n.z));
}

TEST(Vector3Test, LengthDotAndNormalized) {
    EXPECT_FLOAT_EQ(length(Vector3(3, 4, 12)), 13.0f);
    EXPECT_FLOAT_EQ(dot(Vector3(1, 2, 3), Vector3(4, -5, 6)), 12.0f);
    const Vector3 n = normalized(Vector3(0, 3, 4));
    EXPECT_FLOAT_EQ(n.y, 0.6f);
    EXPECT_FLOAT_EQ(n.z, 0.8f);
    EXPECT_FLOAT_EQ(projected(Vector3(2, 0, 0), Vector3(4, 0, 0), 4.0f), 2.0f);
}

TEST(Vector3Test, ArithmeticIsComponentwise) {
    Vector3 v(1, 2, 3);
    v += Vector3(1, 1, 1);
    EXPECT_EQ(v, Vector3(2, 3, 4));
    v -= Vector3(2, 2, 2);
    EXPECT_EQ(v, Vector3(0, 1, 2));
    EXPECT_EQ(2.0f * v, Vector3(0, 2, 4));
    EXPECT_EQ(v * 3.0f, Vector3(0, 3, 6));
    EXPECT_EQ(Vector3(2, 4, 8) / 2.0f, Vector3(1, 2, 4));
    v /= 0.5f;
    EXPECT_EQ(v, Vector3(0, 2, 4));
    EXPECT_EQ(Vector3(1, 1, 1) - Vector3(0, 1, 2), Vector3(1, 0, -1));
}
