#include "CoreFixture.h"
#include <set>

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
            EXPECT_EQ(tank->health, 100.0f);
            ++i;
        }
        EXPECT_EQ(currentName(), "Player 1");
    }
}

TEST_F(GameCorePlayersTest, EveryTankHasItsOwnTurret) {
    core->tankSkeleton = aimingSkeleton();
    core->tankTexture = 7;
    newGame(2);
    TankObject* first = core->tanks.front();
    TankObject* second = core->tanks.back();
    EXPECT_EQ(first->texture, 7u);
    ASSERT_EQ(core->tankNodes.count("turret"), 1u);
    core->tankNodes["turret"]->rotate.y = 90.0f;
    EXPECT_EQ(first->skeleton.children[0].rotate.y, 90.0f);
    EXPECT_EQ(second->skeleton.children[0].rotate.y, 0.0f);
    EXPECT_EQ(core->tankSkeleton.children[0].rotate.y, 0.0f);
}

TEST_F(GameCorePlayersTest, TankNodesPointIntoTheCurrentTanksOwnSkeleton) {
    core->tankSkeleton = aimingSkeleton();
    newGame(2);
    const Skeleton& own = core->tanks.front()->skeleton;
    EXPECT_EQ(core->tankNodes.size(), 4u);
    EXPECT_EQ(core->tankNodes["body"], &own);
    EXPECT_EQ(core->tankNodes["turret"], &own.children[0]);
    EXPECT_EQ(core->tankNodes["tip"], &own.children[0].children[0].children[0]);

    core->currentTank = std::next(core->tanks.begin());
    core->selectTankNodes();
    EXPECT_EQ(core->tankNodes["turret"], &core->tanks.back()->skeleton.children[0]);

    core->currentTank = core->tanks.end();
    core->selectTankNodes();
    EXPECT_TRUE(core->tankNodes.empty());
}

TEST_F(GameCorePlayersTest, OfTwoNodesWithOneIdTheOneVisitedLaterWins) {
    // body { first "x", branch { second "x" } }: the stack visits body, branch,
    // second, then first, so the first child ends up in the table.
    Skeleton first;
    first.id = "x";
    first.meshName = "first";
    Skeleton second;
    second.id = "x";
    second.meshName = "second";
    Skeleton branch;
    branch.id = "branch";
    branch.children.push_back(second);
    Skeleton body;
    body.id = "body";
    body.children.push_back(first);
    body.children.push_back(branch);
    core->tankSkeleton = body;
    newGame(1);
    ASSERT_EQ(core->tankNodes.count("x"), 1u);
    EXPECT_EQ(core->tankNodes["x"]->meshName, "first");
}

TEST_F(GameCorePlayersTest, ANewGameThrowsAwayShellsInFlight) {
    core->tankSkeleton = aimingSkeleton();
    newGame(2);
    leaveTitle();
    press(' ');
    ASSERT_EQ(core->objects.size(), 4u);
    std::set<std::uint32_t> oldIds;
    for (const auto& object : core->objects)
        oldIds.insert(object->id);

    newGame(3);
    ASSERT_EQ(core->objects.size(), 3u);
    for (const auto& object : core->objects) {
        EXPECT_NE(dynamic_cast<TankObject*>(object.get()), nullptr);
        EXPECT_EQ(oldIds.count(object->id), 0u);
    }
    EXPECT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 2", "Player 3"}));
    EXPECT_EQ(currentName(), "Player 1");
}

TEST_F(GameCorePlayersTest, NoPlayersMeansNoTanksAndAnEmptyWorld) {
    for (int n : {0, -3}) {
        SCOPED_TRACE(n);
        newGame(2);
        newGame(n);
        EXPECT_TRUE(core->tanks.empty());
        EXPECT_TRUE(core->objects.empty());
        EXPECT_EQ(core->currentTank, core->tanks.end());
        EXPECT_TRUE(core->tankNodes.empty());
        core->messageShown = false; // with the latch clear, as after Esc
        update(0.0f);
        EXPECT_EQ(core->message, "Draw Game");
    }
}

TEST_F(GameCorePlayersTest, AHugeCountIsCutToTheLargestGame) {
    newGame(2000000000);
    EXPECT_EQ(core->tanks.size(), static_cast<std::size_t>(GameCore::maxPlayers));
    EXPECT_EQ(core->tanks.back()->name(), "Player 64");
}
