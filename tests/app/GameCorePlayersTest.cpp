#include "CoreFixture.h"

using GameCorePlayersTest = CoreFixture;

// Evenly on a circle of radius 75 round the centre, Player 1 towards +z, all at 175.
TEST_F(GameCorePlayersTest, TanksStandOnTheCircleInTheKnownLayout) {
    newGame(3);
    const std::vector<double> xz = {100, 175, 164.9520, 62.5001, 35.0482, 62.4998};
    ASSERT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 2", "Player 3"}));
    std::size_t k = 0;
    for (const TankObject* tank : state->tanks) {
        EXPECT_NEAR(tank->position.x, xz[k++], 0.00005) << tank->name();
        EXPECT_NEAR(tank->position.z, xz[k++], 0.00005) << tank->name();
        EXPECT_EQ(tank->position.y, 175.0f);
    }
    EXPECT_EQ(currentName(), "Player 1");
}

// A new game throws away the shells in flight. With no players held aiming keys
// and Space find nothing to act on, and looking up a node adds none.
TEST_F(GameCorePlayersTest, ANewGameOfNoPlayersLeavesNothingToAimOrFire) {
    state->tankSkeleton = aimingSkeleton();
    leaveTitle();
    newGame(2);
    press(keys::space);
    ASSERT_EQ(state->objects.size(), 4u);
    newGame(-3);
    EXPECT_TRUE(state->tanks.empty() && state->objects.empty());
    EXPECT_EQ(state->currentTank, state->tanks.end());
    held('a') = held('w') = true;
    update(1.0f);
    press(keys::space);
    EXPECT_EQ(state->angleText + state->elevationText, "00");
    EXPECT_TRUE(state->tankNodes.empty() && state->objects.empty());
}

// Depth first from the root, children pushed in their stored order, so the first
// child is visited last: of two nodes with one id, that one is kept, and it is the
// one the keys turn.
TEST_F(GameCorePlayersTest, OfTwoNodesWithOneIdTheOneVisitedLaterWins) {
    state->tankSkeleton =
        node("body", Vector3(), {node("turret", Vector3(), {}), node("turret", Vector3(), {})});
    newGame(1);
    leaveTitle();
    Skeleton& body = state->tanks.front()->skeleton;
    EXPECT_EQ(state->tankNodes.at("turret"), &body.children[0]);
    EXPECT_EQ(state->tankNodes.at("body"), &body);
    press('a');
    update(0.1f);
    EXPECT_NEAR(body.children[0].rotate.y, 9.0f, 1e-4f);
    EXPECT_EQ(body.children[1].rotate.y, 0.0f);
}
