#include "world/Bracket.h"
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

const Vector3 shooter(100.0f, 20.0f, 25.0f);
const Vector3 target(100.0f, 20.0f, 175.0f); // 150 along +z

Vector3 flat(const Vector3& v) {
    return Vector3(v.x, 0.0f, v.z);
}

} // namespace

// With the same dice the error's direction is the same at every level; only its
// size follows the level, and none gives the target itself.
TEST(BracketTest, TheLevelScalesOnlyTheError) {
    const AimError errors[] = {{0.0f, 0.5f}, {0.02f, 0.6f}, {0.1f, 0.6f}, {0.4f, 0.85f}};
    for (int shot = 0; shot < 3; ++shot) {
        SCOPED_TRACE(shot);
        Vector3 unit; // the first nonzero level's error, per unit of spread and narrowing
        for (const AimError& error : errors) {
            SCOPED_TRACE(error.spread);
            std::mt19937 dice(99);
            Bracket bracket;
            Vector3 point;
            for (int n = 0; n <= shot; ++n)
                point = bracket.aimPoint(7, target, shooter, error, dice);
            const Vector3 miss = flat(point - target);
            if (error.spread == 0.0f) {
                EXPECT_EQ(miss, Vector3(0.0f, 0.0f, 0.0f));
                continue;
            }
            const float scale = error.spread * std::pow(error.narrowing, static_cast<float>(shot));
            if (unit == Vector3())
                unit = miss / scale;
            EXPECT_LT(length(miss / scale - unit), 1e-3f);
            EXPECT_GT(length(miss), 0.0f);
            // At most 2.5 deviations along the line, and half as much across it.
            EXPECT_LE(std::fabs(miss.z), 2.5f * 150.0f * scale + 1e-3f);
            EXPECT_LE(std::fabs(miss.x), 1.25f * 150.0f * scale + 1e-3f);
        }
    }
}

TEST(BracketTest, WhereAShotCameDownMovesTheNextAimUntilTheTargetChanges) {
    std::mt19937 dice(1);
    const AimError none{0.0f, 1.0f};
    Bracket bracket;
    EXPECT_EQ(bracket.aimPoint(7, target, shooter, none, dice), target);
    // Foreseen at one point, it came down 5 further along x and 2 short along z.
    bracket.observe(7, Vector3(90.0f, 20.0f, 170.0f), Vector3(95.0f, 26.0f, 168.0f));
    EXPECT_EQ(bracket.drift(), Vector3(5.0f, 0.0f, -2.0f));
    EXPECT_EQ(bracket.aimPoint(7, target, shooter, none, dice), Vector3(95.0f, 20.0f, 177.0f));
    EXPECT_EQ(bracket.shots(), 2);

    bracket.observe(8, Vector3(), Vector3(50.0f, 0.0f, 50.0f)); // a shot at another target
    EXPECT_EQ(bracket.drift(), Vector3(5.0f, 0.0f, -2.0f));

    const Vector3 other(30.0f, 20.0f, 30.0f);
    EXPECT_EQ(bracket.aimPoint(8, other, shooter, none, dice), other) << "starts over";
    EXPECT_EQ(bracket.shots(), 1);
    EXPECT_EQ(bracket.target(), 8u);
}
