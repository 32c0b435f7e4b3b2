#include "CoreFixture.h"
#include "world/Explosive.h"

class GameCoreTurnsTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->tankSkeleton = aimingSkeleton();
    }
};

// Without a barrel nobody can fire, yet the turn still goes round.
TEST_F(GameCoreTurnsTest, ADeathGivesTheTurnToTheFirstSurvivor) {
    core->tankSkeleton = node("body", Vector3(), {node("turret", Vector3(), {})});
    newGame(3);
    std::vector<std::string> order;
    for (int i = 0; i < 5; ++i) {
        order.push_back(currentName());
        tap(' ');
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Player 1", "Player 2", "Player 3", "Player 1",
                                               "Player 2"}));
    ASSERT_EQ(currentName(), "Player 3");
    EXPECT_EQ(core->objects.size(), 3u) << "no shots";

    (*std::next(core->tanks.begin()))->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 3"}));
    EXPECT_EQ(core->objects.size(), 2u);
    EXPECT_EQ(currentName(), "Player 1");
    EXPECT_EQ(core->tankNodes["turret"], &core->tanks.front()->skeleton.children[0]);
    EXPECT_EQ(consoleLines().front(), "Player 2 died");
    EXPECT_FALSE(core->messageShown) << "two tanks left: no result yet";
}

TEST_F(GameCoreTurnsTest, TwoLastTanksDyingTogetherIsADraw) {
    newGame(2);
    for (TankObject* tank : core->tanks)
        tank->health = -50.0f;
    update(0.0f);
    EXPECT_TRUE(core->objects.empty());
    EXPECT_EQ(core->currentTank, core->tanks.end());
    EXPECT_TRUE(core->tankNodes.empty());
    EXPECT_EQ(core->message, "Draw Game");
    EXPECT_EQ(consoleLines(),
              (std::vector<std::string>{"Player 2 died", "Player 1 died", "Vantrell"}));
}

TEST_F(GameCoreTurnsTest, ALoneTankWinsAtTheFirstUpdateAndEscAnnouncesItAgain) {
    newGame(1);
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");

    tap(27);
    EXPECT_FALSE(core->messageShown);
    EXPECT_EQ(core->variables["menu"], 1);
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");

    // Latched: a later result is held back until the message is cleared.
    core->tanks.front()->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(core->message, "Player 1 wins!");
}

// The latch set on the title, or by the last game's result, outlives a new game:
// only Esc clears it.
TEST_F(GameCoreTurnsTest, ANewGameKeepsTheLatchUntilEscClearsIt) {
    core->messageShown = true; // as on the title
    newGame(1);
    update(0.0f);
    EXPECT_EQ(core->message, "") << "a new game leaves the latch as it was";
    tap(27); // opens the menu, clears the latch
    update(0.0f);
    EXPECT_EQ(core->message, "Player 1 wins!");

    newGame(2);
    EXPECT_TRUE(core->messageShown);
    tap(27);
    tap(27); // the menu opened and closed again: the latch is clear
    update(0.0f);
    EXPECT_FALSE(core->messageShown) << "two tanks: nothing to announce";
    core->tanks.front()->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(core->message, "Player 2 wins!");
}

TEST_F(GameCoreTurnsTest, AShotLeavesFromTheTipWithTheAimedVelocity) {
    struct Case {
        float turret; // degrees
        float barrel; // degrees, negative is up
        float speed;
        bool withTip;
        Vector3 tip; // relative to the tank's centre
        Vector3 velocity;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 10.0f, true, {0, 3, 4}, {0, 0, 10}},
        {90.0f, 0.0f, 10.0f, true, {4, 3, 0}, {10, 0, 0}},
        {180.0f, -30.0f, 20.0f, true, {0, 5, -3.4641f}, {0, 10, -17.3205f}},
        {270.0f, -45.0f, 10.0f, true, {-2.8284f, 5.8284f, 0}, {-7.0711f, 7.0711f, 0}},
        {45.0f, -90.0f, 10.0f, true, {0, 7, 0}, {0, 10, 0}},
        {90.0f, 0.0f, 10.0f, false, {0, 0, 0}, {10, 0, 0}}, // from the centre
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.turret << " / " << c.barrel << " / " << c.speed);
        if (!c.withTip)
            core->tankSkeleton.children[0].children[0].children.clear();
        newGame(2);
        TankObject* shooter = core->tanks.front();
        core->tankNodes["turret"]->rotate.y = c.turret;
        core->tankNodes["barrel"]->rotate.x = c.barrel;
        core->launchVelocity = c.speed;
        tap(' ');
        ASSERT_EQ(core->objects.size(), 4u) << "the shell and its explosion join the tanks";
        const auto* shell =
            dynamic_cast<const Explosive*>(std::next(core->objects.begin(), 2)->get());
        ASSERT_NE(shell, nullptr);
        EXPECT_LT(length(shell->position - shooter->position - c.tip), 1e-3f);
        EXPECT_LT(length(shell->velocity - c.velocity), 1e-3f);
        EXPECT_EQ(currentName(), "Player 2");
    }
}

// The fan and the split belong to the weapons; here the core's part: Space fires
// the weapon Tab picked.
TEST_F(GameCoreTurnsTest, SpaceFiresTheWeaponPickedWithTab) {
    newGame(2);
    type("\t\t\t\t ");
    EXPECT_EQ(core->objects.size(), 3u) << "a MIRV's carrier flies alone, without an explosion";
}
