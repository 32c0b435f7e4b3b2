#include "CoreFixture.h"

using GameCorePlayersTest = CoreFixture;

TEST_F(GameCorePlayersTest, TanksStandOnTheCircleInTheKnownLayout) {
    struct Ground {
        double x;
        double z;
    };
    struct Case {
        int players;
        std::vector<Ground> ground;
    };
    const Case cases[] = {
        {2, {{100, 175}, {100.0002, 25.0000}}},
        {3, {{100, 175}, {164.9520, 62.5001}, {35.0482, 62.4998}}},
        {4, {{100, 175}, {175.0000, 100.0001}, {100.0002, 25.0000}, {25.0000, 99.9997}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.players);
        newGame(c.players);
        ASSERT_EQ(core->tanks.size(), c.ground.size());
        int i = 0;
        for (const TankObject* tank : core->tanks) {
            SCOPED_TRACE(tank->name());
            EXPECT_EQ(tank->name(), "Player " + std::to_string(i + 1));
            EXPECT_NEAR(tank->position.x, c.ground[i].x, 0.00005);
            EXPECT_NEAR(tank->position.z, c.ground[i].z, 0.00005);
            EXPECT_EQ(tank->position.y, 175.0f);
            EXPECT_EQ(tank->radius, 3.0f);
            ++i;
        }
        EXPECT_EQ(currentName(), "Player 1");
    }
}

TEST_F(GameCorePlayersTest, OfTwoNodesWithOneIdTheOneVisitedLaterWins) {
    // body { first "x", branch { second "x" } }: the stack visits body, branch,
    // second, then first, so the first child ends up in the table.
    Skeleton first = node("x", Vector3(1.0f, 0.0f, 0.0f), {});
    Skeleton second = node("x", Vector3(2.0f, 0.0f, 0.0f), {});
    core->tankSkeleton = node("body", Vector3(), {first, node("branch", Vector3(), {second})});
    newGame(1);
    ASSERT_EQ(core->tankNodes.count("x"), 1u);
    EXPECT_EQ(core->tankNodes["x"]->translate.x, 1.0f);
}

TEST_F(GameCorePlayersTest, ANewGameThrowsAwayShellsInFlight) {
    core->tankSkeleton = aimingSkeleton();
    newGame(2);
    leaveTitle();
    press(keys::space);
    ASSERT_EQ(core->objects.size(), 4u);
    newGame(3);
    ASSERT_EQ(core->objects.size(), 3u);
    for (const auto& object : core->objects)
        EXPECT_NE(dynamic_cast<TankObject*>(object.get()), nullptr);
    EXPECT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 2", "Player 3"}));
    EXPECT_EQ(currentName(), "Player 1");
}

TEST_F(GameCorePlayersTest, NoPlayersMeansNoTanksAndNothingToAimOrFire) {
    leaveTitle();
    newGame(2);
    newGame(-3);
    EXPECT_TRUE(core->tanks.empty());
    EXPECT_TRUE(core->objects.empty());
    EXPECT_EQ(core->currentTank, core->tanks.end());
    held('a') = true;
    held('w') = true;
    update(1.0f);
    EXPECT_EQ(core->angleText, "0");
    EXPECT_EQ(core->elevationText, "0");
    EXPECT_TRUE(core->tankNodes.empty()) << "looking up a node adds none";
    press(keys::space);
    EXPECT_TRUE(core->objects.empty());
}
