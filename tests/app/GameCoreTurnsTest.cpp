#include "CoreFixture.h"
#include "world/Explosion.h"
#include "world/Explosive.h"

namespace {

// The first object with this id, or null once it is gone.
Object* findObject(GameCore& core, std::uint32_t id) {
    for (const auto& object : core.objects)
        if (object->id == id)
            return object.get();
    return nullptr;
}

} // namespace

class GameCoreTurnsTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->tankSkeleton = aimingSkeleton();
    }

    // The shell of the shot just fired: the last pair in the object list.
    const Explosive* lastShell() const {
        if (core->objects.size() < 2)
            return nullptr;
        return dynamic_cast<const Explosive*>(std::prev(core->objects.end(), 2)->get());
    }
};

TEST_F(GameCoreTurnsTest, ADeathGivesTheTurnToTheFirstSurvivor) {
    newGame(3);
    tap(' ');
    tap(' ');
    ASSERT_EQ(currentName(), "Player 3");

    (*std::next(core->tanks.begin()))->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 3"}));
    EXPECT_EQ(currentName(), "Player 1");
    EXPECT_EQ(core->tankNodes["turret"], &core->tanks.front()->skeleton.children[0]);
    EXPECT_EQ(consoleLines().front(), "Player 2 died");
    for (const auto& object : core->objects) {
        if (auto* tank = dynamic_cast<TankObject*>(object.get())) {
            EXPECT_NE(tank->name(), "Player 2");
        }
    }
    EXPECT_FALSE(core->messageShown) << "two tanks left: no result yet";
}

TEST_F(GameCoreTurnsTest, TheTurnGoesRoundEvenWithoutAShot) {
    core->tankSkeleton = Skeleton(); // no turret, no barrel: nobody can fire
    newGame(3);
    const std::size_t before = core->objects.size();
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) {
        order.push_back(currentName());
        tap(' ');
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Player 1", "Player 2", "Player 3", "Player 1"}));
    EXPECT_EQ(core->objects.size(), before);
}

TEST_F(GameCoreTurnsTest, TwoLastTanksDyingTogetherIsADraw) {
    newGame(2);
    {
        CaptureStreams quiet;
        World world{&core->objects, nullptr, &core->terrain};
        for (TankObject* tank : core->tanks)
            tank->damageEvent(world, 150.0f);
    }
    update(0.0f);
    EXPECT_TRUE(core->tanks.empty());
    EXPECT_TRUE(core->objects.empty());
    EXPECT_EQ(core->currentTank, core->tanks.end());
    EXPECT_TRUE(core->tankNodes.empty());
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Draw Game");
    const std::vector<std::string> lines = consoleLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Player 2 died");
    EXPECT_EQ(lines[1], "Player 1 died");
}

TEST_F(GameCoreTurnsTest, ALoneTankWinsAtTheFirstUpdateAndOnlyOnce) {
    newGame(1);
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");

    // Latched: a later result is held back until the message is cleared.
    core->tanks.front()->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(core->message, "Player 1 wins!");
}

TEST_F(GameCoreTurnsTest, TheLatchSetAtStartHoldsBackAResultUntilEsc) {
    core->messageShown = true;  // as on the title
    newGame(1);
    update(0.0f);
    EXPECT_EQ(core->message, "") << "a new game leaves the latch as it was";
    tap(27);  // opens the menu, clears the latch
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");
}

TEST_F(GameCoreTurnsTest, ANewGameKeepsTheOldResultUntilEscClearsIt) {
    newGame(2);
    core->tanks.back()->health = 0.0f;
    update(0.0f);
    ASSERT_EQ(core->message, "Player 1 wins!");

    newGame(2);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");
    tap(27);
    tap(27);  // the menu opened and closed again: the latch is clear
    update(0.0f);
    EXPECT_FALSE(core->messageShown) << "two tanks: nothing to announce";
    core->tanks.front()->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(core->message, "Player 2 wins!");
}

TEST_F(GameCoreTurnsTest, EscAfterAWinHidesItAndTheNextUpdateAnnouncesItAgain) {
    newGame(2);
    core->tanks.back()->health = 0.0f;
    update(0.0f);
    ASSERT_EQ(core->message, "Player 1 wins!");

    tap(27);
    EXPECT_FALSE(core->messageShown);
    EXPECT_EQ(core->variables["menu"], 1);
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");
}

TEST_F(GameCoreTurnsTest, AShotLeavesFromTheTipWithTheAimedVelocity) {
    struct Case {
        float turret; // degrees
        float barrel; // degrees, negative is up
        float speed;
        Vector3 tip; // relative to the tank's centre
        Vector3 velocity;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 10.0f, {0, 3, 4}, {0, 0, 10}},
        {90.0f, 0.0f, 10.0f, {4, 3, 0}, {10, 0, 0}},
        {180.0f, -30.0f, 20.0f, {0, 5, -3.4641f}, {0, 10, -17.3205f}},
        {270.0f, -45.0f, 10.0f, {-2.8284f, 5.8284f, 0}, {-7.0711f, 7.0711f, 0}},
        {45.0f, -90.0f, 10.0f, {0, 7, 0}, {0, 10, 0}},
        {0.0f, 0.0f, 0.0f, {0, 3, 4}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.turret << " / " << c.barrel << " / " << c.speed);
        newGame(2);
        TankObject* shooter = core->tanks.front();
        core->tankNodes["turret"]->rotate.y = c.turret;
        core->tankNodes["barrel"]->rotate.x = c.barrel;
        core->launchVelocity = c.speed;
        {
            CaptureStreams quiet;
            tap(' ');
        }
        const Explosive* shell = lastShell();
        ASSERT_NE(shell, nullptr);
        const Vector3 from = shell->position - shooter->position;
        EXPECT_NEAR(from.x, c.tip.x, 1e-3);
        EXPECT_NEAR(from.y, c.tip.y, 1e-3);
        EXPECT_NEAR(from.z, c.tip.z, 1e-3);
        EXPECT_NEAR(shell->velocity.x, c.velocity.x, 1e-3);
        EXPECT_NEAR(shell->velocity.y, c.velocity.y, 1e-3);
        EXPECT_NEAR(shell->velocity.z, c.velocity.z, 1e-3);
        EXPECT_EQ(currentName(), "Player 2");
    }
}

TEST_F(GameCoreTurnsTest, WithoutATipTheShotLeavesFromTheTanksCentre) {
    Skeleton tipless = aimingSkeleton();
    tipless.children[0].children[0].children.clear();
    core->tankSkeleton = tipless;
    newGame(2);
    tap(' ');
    const Explosive* shell = lastShell();
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->position, core->tanks.front()->position);
}

// The fan's order and offsets belong to the weapons; here the core's part: Tab
// picks the MIRV, Space fires it from the tip, and the updates carry it to the top
// of its flight, where it becomes five Missiles.
TEST_F(GameCoreTurnsTest, AMirvPickedWithTabSplitsAtTheTopOfItsFlight) {
    newGame(2);
    for (int i = 0; i < 4; ++i)
        tap('\t');
    core->tankNodes["turret"]->rotate.y = 180.0f; // toward the middle of the field
    core->tankNodes["barrel"]->rotate.x = -45.0f;
    core->launchVelocity = 20.0f;
    {
        CaptureStreams quiet;
        tap(' ');
    }
    ASSERT_EQ(core->objects.size(), 3u) << "a carrier flies alone";
    const std::uint32_t carrier = core->objects.back()->id;

    Vector3 rising;
    const std::size_t count = core->objects.size();
    for (int frame = 0; frame < 1000 && core->objects.size() == count; ++frame) {
        const Object* flying = findObject(*core, carrier);
        ASSERT_NE(flying, nullptr);
        rising = flying->velocity;
        update(0.01f);
    }
    ASSERT_EQ(core->objects.size(), count + 10) << "five shells, each with its explosion";
    const auto* centre = dynamic_cast<const Explosive*>(std::next(core->objects.begin(), 3)->get());
    ASSERT_NE(centre, nullptr);
    const auto* blast = dynamic_cast<const Explosion*>(std::next(core->objects.begin(), 4)->get());
    ASSERT_NE(blast, nullptr);
    EXPECT_EQ(blast->blastRadius, 8.0f) << "a Missile's";
    // Rising before the step that split it, falling after.
    EXPECT_GE(rising.y, 0.0f);
    EXPECT_LT(centre->velocity.y, 0.0f);
    EXPECT_GT(centre->velocity.y, -0.0982f);

    update(0.02f);
    EXPECT_EQ(findObject(*core, carrier), nullptr) << "the carrier is gone after the next step";
}
