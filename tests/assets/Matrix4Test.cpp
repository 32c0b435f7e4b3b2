#include "assets/Matrix4.h"

#include <gtest/gtest.h>

namespace {

Matrix4 fromRows(std::initializer_list<float> values) {
    Matrix4 m;
    int i = 0;
    for (float v : values) {
        m.m[i++] = v;
    }
    return m;
}

void expectNear(const Vector3& actual, const Vector3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

} // namespace

TEST(Matrix4, TransformPointIgnoresTheLastRow) {
    Matrix4 m = fromRows({2, 0, 0, 1, 0, 3, 0, 2, 0, 0, 4, 3, 9, 9, 9, 9});
    const Vector3 p = transformPoint(m, Vector3(1, 1, 1));
    EXPECT_EQ(p, Vector3(3, 5, 7));
}

TEST(Matrix4, RotationsTurnCounterClockwiseAboutEachAxisInXYZOrder) {
    struct Case {
        Vector3 degrees;
        Vector3 point;
        Vector3 expected;
    };
    const Case cases[] = {
        {{90, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 90, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, 0, 90}, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, -90}, {1, 0, 0}, {0, -1, 0}},
        // Rx * Ry: the y turn acts on the point first.
        {{90, 90, 0}, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        Matrix4 m;
        rotate(m, c.degrees);
        expectNear(transformPoint(m, c.point), c.expected);
    }
}

TEST(Matrix4, DegreesUseTheGamesOwnConstant) {
    // 90 * 0.01745328 in float is a little short of pi / 2, so the cosine is
    // about 1.148e-6 rather than (nearly) 0.
    Matrix4 m;
    rotate(m, Vector3(90, 0, 0));
    EXPECT_NEAR(m(1, 1), 1.1484e-6f, 1e-9f);
    EXPECT_EQ(m(2, 1), 1.0f);
}

TEST(Matrix4, TranslateRotateScaleComposeAsTRS) {
    Matrix4 m;
    translate(m, Vector3(1, 2, 3));
    rotate(m, Vector3(0, 0, 90));
    scale(m, Vector3(2, 1, 1));
    expectNear(transformPoint(m, Vector3(1, 0, 0)), Vector3(1, 4, 3));
}
