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
    ASSERT_TRUE(core->messageShown) << "latched on the title";
    newGame(1);
    EXPECT_FALSE(core->messageShown) << "a new game starts without a result";
    update(0.0f);
    EXPECT_TRUE(core->messageShown);
    EXPECT_EQ(core->message, "Player 1 wins!");

    // Latched: a later result is held back until the message is cleared.
    core->tanks.front()->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(core->message, "Player 1 wins!");
}

TEST_F(GameCoreTurnsTest, ANewGameAfterAResultShowsItsOwnResult) {
    newGame(2);
    core->tanks.back()->health = 0.0f;
    update(0.0f);
    ASSERT_EQ(core->message, "Player 1 wins!");

    newGame(2);
    EXPECT_FALSE(core->messageShown) << "the old result is no longer drawn";
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

// Fires a cluster weapon high and along -z from Player 1, toward the middle of the
// field, and follows the carrier to the update in which it splits.
class GameCoreSplitTest : public GameCoreTurnsTest {
protected:
    struct Split {
        Vector3 velocityBefore; // the carrier's, before the update that split it
        std::vector<const Object*> added;
    };

    Split fireAndFollow(int tabs) {
        newGame(2);
        for (int i = 0; i < tabs; ++i)
            tap('\t');
        core->tankNodes["turret"]->rotate.y = 180.0f;
        core->tankNodes["barrel"]->rotate.x = -45.0f;
        core->launchVelocity = 20.0f;
        const std::size_t before = core->objects.size();
        {
            CaptureStreams quiet;
            tap(' ');
        }
        EXPECT_EQ(core->objects.size(), before + 1) << "a carrier flies alone";
        const std::uint32_t carrier = core->objects.back()->id;

        Split split;
        for (int frame = 0; frame < 1000; ++frame) {
            const Object* flying = findObject(*core, carrier);
            if (!flying)
                break;
            split.velocityBefore = flying->velocity;
            const std::size_t count = core->objects.size();
            update(0.01f);
            if (core->objects.size() > count) {
                // Still listed until the next step removes it, and marked for that.
                if (const Object* marked = findObject(*core, carrier)) {
                    EXPECT_TRUE(marked->dead);
                }
                for (auto it = std::next(core->objects.begin(), count); it != core->objects.end();
                     ++it)
                    split.added.push_back(it->get());
                return split;
            }
        }
        ADD_FAILURE() << "the carrier never split";
        return split;
    }

    // Every shot of the fan is an active shell at the carrier's centre followed by
    // its hidden explosion; the shells' velocities are the centre's plus the offsets.
    void expectFan(const Split& split, const std::vector<Vector3>& offsets, float blastRadius,
                   float damage) {
        ASSERT_EQ(split.added.size(), 2 * offsets.size());
        const auto* centre = dynamic_cast<const Explosive*>(split.added[0]);
        ASSERT_NE(centre, nullptr);
        for (std::size_t k = 0; k < offsets.size(); ++k) {
            SCOPED_TRACE(k);
            const auto* shell = dynamic_cast<const Explosive*>(split.added[2 * k]);
            const auto* blast = dynamic_cast<const Explosion*>(split.added[2 * k + 1]);
            ASSERT_NE(shell, nullptr);
            ASSERT_NE(blast, nullptr);
            EXPECT_EQ(shell->position, centre->position);
            EXPECT_NEAR(shell->velocity.x - centre->velocity.x, offsets[k].x, 1e-4);
            EXPECT_NEAR(shell->velocity.y - centre->velocity.y, offsets[k].y, 1e-4);
            EXPECT_NEAR(shell->velocity.z - centre->velocity.z, offsets[k].z, 1e-4);
            EXPECT_EQ(shell->explosionId, blast->id);
            EXPECT_FALSE(blast->active);
            EXPECT_EQ(blast->blastRadius, blastRadius);
            EXPECT_EQ(blast->damage, damage);
        }
        // It split at the top of its flight: rising before the last step, falling after.
        EXPECT_GE(split.velocityBefore.y, 0.0f);
        EXPECT_LT(centre->velocity.y, 0.0f);
        EXPECT_GT(centre->velocity.y, -0.0982f);
    }
};

TEST_F(GameCoreSplitTest, AMirvSplitsIntoFiveMissilesAtTheTop) {
    const Split split = fireAndFollow(4);
    expectFan(split, {{0, 0, 0}, {4, 0, 0}, {-4, 0, 0}, {0, 0, 4}, {0, 0, -4}}, 8.0f, 75.0f);
    update(0.02f);
    EXPECT_EQ(core->objects.size(), 2u + 10u) << "the carrier is gone after the next step";
}

TEST_F(GameCoreSplitTest, ADeathsHeadSplitsIntoNineBabyNukesCentreFirst) {
    const Split split = fireAndFollow(5);
    expectFan(split,
              {{0, 0, 0},
               {0, 0, -4},
               {0, 0, 4},
               {-4, 0, 0},
               {4, 0, 0},
               {-4, 0, -4},
               {-4, 0, 4},
               {4, 0, -4},
               {4, 0, 4}},
              16.0f, 100.0f);
}
