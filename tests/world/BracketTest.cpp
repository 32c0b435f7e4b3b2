#include "world/Bracket.h"
#include <gtest/gtest.h>
#include <random>

namespace {

const Vector3 shooter(100.0f, 20.0f, 25.0f);
const Vector3 target(100.0f, 20.0f, 175.0f); // 150 along +z

} // namespace

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
