#include "CoreFixture.h"
#include "world/Explosive.h"
#include <cmath>
#include <limits>

class GameCoreTurnsTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        state->tankSkeleton = aimingSkeleton();
    }
    std::string huds() const {
        return state->angleText + " " + state->elevationText + " " + state->healthText + " " +
               state->velocityText;
    }
};

// Without a barrel nobody can fire, yet the turn still goes round.
TEST_F(GameCoreTurnsTest, ADeathGivesTheTurnToTheFirstSurvivor) {
    state->tankSkeleton = node("body", Vector3(), {node("turret", Vector3(), {})});
    newGame(3);
    std::string order;
    for (int i = 0; i < 5; ++i) {
        order += currentName().back();
        tap(keys::space);
    }
    EXPECT_EQ(order, "12312");
    ASSERT_EQ(currentName(), "Player 3");
    EXPECT_EQ(state->objects.size(), 3u) << "no shots";

    (*std::next(state->tanks.begin()))->health = 0.0f;
    update(0.0f);
    EXPECT_EQ(tankNames(), (std::vector<std::string>{"Player 1", "Player 3"}));
    EXPECT_EQ(state->objects.size(), 2u);
    EXPECT_EQ(currentName(), "Player 1");
    EXPECT_EQ(state->tankNodes["turret"], &state->tanks.front()->skeleton.children[0]);
    EXPECT_EQ(consoleLines().front(), "Player 2 died");
    EXPECT_FALSE(state->messageShown) << "two tanks left: no result yet";
}

TEST_F(GameCoreTurnsTest, AShotLeavesFromTheTipWithTheAimedVelocity) {
    struct Case {
        float turret, barrel, speed; // degrees, degrees (negative is up), units a second
        bool withTip;
        Vector3 tip, velocity; // the tip relative to the tank's centre
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
            state->tankSkeleton.children[0].children[0].children.clear();
        newGame(2);
        TankObject* shooter = state->tanks.front();
        state->tankNodes["turret"]->rotate.y = c.turret;
        state->tankNodes["barrel"]->rotate.x = c.barrel;
        state->launchVelocity = c.speed;
        tap(keys::space);
        ASSERT_EQ(state->objects.size(), 4u) << "the shell and its explosion join the tanks";
        const auto* shell =
            dynamic_cast<const Explosive*>(std::next(state->objects.begin(), 2)->get());
        ASSERT_NE(shell, nullptr);
        EXPECT_LT(length(shell->position - shooter->position - c.tip), 1e-3f);
        EXPECT_LT(length(shell->velocity - c.velocity), 1e-3f);
        EXPECT_EQ(currentName(), "Player 2");
    }
}

// A stall is let go, not replayed: whatever the clock says, one update simulates
// at most a quarter second for the physics, the held keys and the camera alike,
// a clock that makes no sense simulates nothing, and the game goes on from there.
// Up flies along the view (turned a quarter from -z to +x here) and is damped.
TEST_F(GameCoreTurnsTest, AnUpdateSimulatesAtMostAQuarterSecondOfAnyStall) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float elapsed, simulated;
    };
    const Case cases[] = {{0.1f, 0.1f},       {5.0f, 0.25f}, {3600.0f, 0.25f},
                          {262144.0f, 0.25f}, {1e9f, 0.25f}, {inf, 0.0f},
                          {-inf, 0.0f},       {-5.0f, 0.0f}, {std::nanf(""), 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elapsed);
        newGame(1); // the tank falls freely from 175 for a while
        state->physics.accumulator = 0.0f;
        state->cameraPosition = Vector3(100.0f, 180.0f, 100.0f);
        state->cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);
        state->cameraRotation = Vector3(0.0f, 90.0f, 0.0f);
        const TankObject& tank = *state->tanks.front();
        press('a');
        press(keys::up);
        update(c.elapsed);
        release('a');
        release(keys::up);
        // Whole steps of 0.01 s: the last may be one short.
        EXPECT_NEAR(tank.velocity.y, -9.81f * c.simulated, 0.15f);
        EXPECT_NEAR(state->tankNodes["turret"]->rotate.y, 90.0f * c.simulated, 1e-3f);
        EXPECT_NEAR(state->cameraPosition.x, 100.0f + 4.0f * c.simulated, 1e-3f);
        // Damped by 4 a second: a quarter second's flight stops at once.
        EXPECT_NEAR(state->cameraVelocity.x, c.elapsed == 0.1f ? 0.24f : 0.0f, 1e-5f);
        update(0.1f);
        EXPECT_NEAR(tank.velocity.y, -9.81f * (c.simulated + 0.1f), 0.15f);
    }
}

// The aim texts follow the tank whose turn it is; the launch velocity is one
// value for all and keeps its text. (A death and a new game change the turn
// through the same selection as a shot.)
TEST_F(GameCoreTurnsTest, TheHeadsUpTextsShowTheAimOfTheTankWhoseTurnItIs) {
    newGame(3);
    for (const char key : {'a', 'w', 'r'}) {
        press(key);
        update(0.25f);
        release(key);
    }
    state->tanks.front()->health = 62.5f;
    update(0.0f);
    EXPECT_EQ(huds(), "22 22 62 32");
    state->weapons.clear(); // nothing flies: this is about whose turn it is
    state->currentWeapon = state->weapons.end();

    tap(keys::space);
    EXPECT_EQ(huds(), "0 0 100 32") << "Player 2's turret still points at 0";
    press('d');
    update(0.25f);
    release('d');
    EXPECT_EQ(huds(), "337 0 100 32");
    taps({keys::space, keys::space});
    EXPECT_EQ(huds(), "22 22 62 32") << "back to Player 1";
}

// Esc on the title's menu clears the latch while no game is on. Nobody can have
// drawn then, nor in a game of nobody, so the next game starts without a result;
// a game that was played is decided as before.
TEST_F(GameCoreTurnsTest, OnlyAGameThatWasPlayedHasAResult) {
    state->splashVisible = state->messageShown = true; // as at start-up
    state->variables["menu"] = 0;
    state->menus.assign(1, Menu());
    state->menus[0].options.resize(1);
    state->menus[0].options[0].execute = "terrain;tanks 2";
    taps({'x', keys::escape}); // any key opens the menu, Esc closes it
    update(0.1f);
    EXPECT_FALSE(state->messageShown) << "no draw of nobody on the title";
    {
        TraceCapture quiet;
        taps({'x', keys::enter});
    }
    update(0.1f);
    EXPECT_FALSE(state->messageShown) << "nor over the fresh game";
    for (TankObject* tank : state->tanks)
        tank->health = 0.0f;
    update(0.1f);
    EXPECT_EQ(state->messageShown ? state->message : "(none)", "Draw Game");
    // A game started with no players is a game all the same.
    newGame(0);
    state->messageShown = false;
    update(0.1f);
    EXPECT_EQ(state->messageShown ? state->message : "(none)", "Draw Game");
}
