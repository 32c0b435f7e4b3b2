#include "CoreFixture.h"
#include "world/Explosion.h"
#include "world/Launch.h"
#include <cmath>

class ComputerPlayersTest : public CoreFixture {
protected:
    static constexpr float frame = 1.0f / 60.0f;

    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        state->tankSkeleton = aimingSkeleton();
    }

    std::string run(const std::string& line) {
        TraceCapture capture;
        core->processCommands(line);
        return capture.out();
    }

    // "tanks N;computers ...", the tanks landed; a still Player 1 has no gun, so
    // its Space only passes the turn.
    void start(int tanks, const std::string& computers, bool stillPlayer1) {
        run("tanks " + std::to_string(tanks) + ";computers " + computers);
        if (stillPlayer1) {
            state->tanks.front()->skeleton.children.clear();
            core->selectTankNodes();
        }
        ASSERT_TRUE(playUntil(
            [this] {
                for (const TankObject* tank : state->tanks)
                    if (!tank->resting)
                        return false;
                return true;
            },
            10.0f));
    }

    // Plays frames until `done` holds, at most `seconds`; false if it never did.
    template <typename Done> bool playUntil(Done done, float seconds) {
        for (float t = 0.0f; t < seconds; t += frame) {
            if (done())
                return true;
            update(frame);
        }
        return done();
    }
    bool aiming() {
        return playUntil([this] { return barrel() < -1.0f; }, 5.0f);
    }

    int computerShots() const {
        int shots = 0;
        for (const std::string& line : consoleLines())
            shots += line.find("(computer, ") != std::string::npos;
        return shots;
    }

    void fire() {
        TraceCapture quiet;
        tap(keys::space);
    }

    // The current tank's turret and barrel rotations.
    float turret() const { return state->tankNodes.at("turret")->rotate.y; }
    float barrel() const { return state->tankNodes.at("barrel")->rotate.x; }

    // A game of a still Player 1 against the computer at `level` on the present
    // ground, until Player 1 dies: the computer's shots, or 99. `firstMiss` is
    // how far across the ground from Player 1 its first shot went off.
    int shotsToKillAStillTank(const std::string& level, float& firstMiss) {
        state->console = Console();
        start(2, "1 " + level, true);
        const Vector3 target = state->tanks.front()->position;
        firstMiss = -1.0f;
        const bool killed = playUntil(
            [&] {
                for (const std::unique_ptr<Object>& object : state->objects)
                    if (firstMiss < 0.0f && object->shotId != 0 && object->active &&
                        dynamic_cast<const Explosion*>(object.get()))
                        firstMiss = std::hypot(object->position.x - target.x,
                                               object->position.z - target.z);
                if (*state->currentTank == state->tanks.front())
                    fire();
                return state->tanks.size() == 1 && state->objects.size() == 1;
            },
            180.0f);
        return killed ? computerShots() : 99;
    }
};

// Only the command's own trace line reaches standard output; the answer is one
// console line, and a refused command changes nothing.
TEST_F(ComputerPlayersTest, TheCommandTakesTheLastTanksAndRefusesABadCountOrLevel) {
    run("tanks 3");
    struct Case {
        const char* line;
        const char* consoleLine;
        std::vector<bool> computers; // per player
    };
    const char* const badCount = "computers: the count must be from 0 to 3";
    const std::vector<bool> last2 = {false, true, true};
    const Case cases[] = {
        {"computers 1", "Computers (normal): Player 3", {false, false, true}},
        {"computers 2 hard", "Computers (hard): Player 2, Player 3", last2},
        {"computers 4", badCount, last2},
        {"computers two", badCount, last2},
        {"computers 1 Easy", "computers: the level must be easy, normal or hard", last2},
        {"computers 0", "Computers: none", {false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::size_t lines = consoleLines().size();
        EXPECT_EQ(run(c.line), "processCommand: \"" + std::string(c.line) + "\"\n");
        EXPECT_EQ(consoleLines().size(), lines + 1);
        EXPECT_EQ(consoleLines().front(), c.consoleLine);
        std::vector<bool> computers;
        for (const TankObject* tank : state->tanks)
            computers.push_back(state->computers.plays(tank->id));
        EXPECT_EQ(computers, c.computers);
    }
}

// After a pause it turns, raises and sets the velocity no faster than the held
// keys, steps to its weapon one Tab at a time, and fires what Space would fire
// from its aim; the turn passes. A person's key held over from the last turn,
// and Tab and Space, do nothing to it.
TEST_F(ComputerPlayersTest, ItsTurnMovesAtTheKeysRateAndFiresAsSpaceDoes) {
    flatten(0.1f);
    start(2, "1 hard", true);
    press('a');
    fire(); // Player 1 passes
    taps({keys::tab, keys::space});
    TankObject& computer = **state->currentTank;
    const std::size_t objectsBefore = state->objects.size();
    constexpr float dt = 1.0f / 30.0f;
    float time = 0.0f;
    int tabs = 0;
    Vector3 muzzle, velocity;
    TraceCapture capture;
    while (currentName() == "Player 2" && time < 10.0f) {
        muzzle = muzzlePosition(computer.skeleton, computer.position);
        velocity = muzzleVelocity(turret(), barrel(), state->launchVelocity);
        const float before[] = {turret(), barrel(), state->launchVelocity};
        const auto weapon = state->currentWeapon;
        core->update(dt);
        time += dt;
        if (currentName() != "Player 2")
            break;
        const float step = time < ComputerPlayers::thinkSeconds - dt
                               ? 0.0f
                               : TankControls::degreesPerSecond * dt + 1e-3f;
        EXPECT_LE(std::fabs(std::remainder(turret() - before[0], 360.0f)), step) << time;
        EXPECT_LE(std::fabs(barrel() - before[1]), step) << time;
        EXPECT_LE(std::fabs(state->launchVelocity - before[2]), step) << time;
        if (state->currentWeapon != weapon) {
            EXPECT_TRUE(state->currentWeapon == std::next(weapon)) << "one Tab at a time";
            ++tabs;
        }
    }
    EXPECT_EQ(capture.out(), "Explosive()\nExplosion()\n");
    EXPECT_LT(time, 5.0f);
    EXPECT_EQ(currentName(), "Player 1");
    EXPECT_EQ(tabs, 3) << "Baby Missile to Nuke at 150 units";
    EXPECT_EQ(consoleLines().front(), "Player 2 (computer, hard) fires a Nuke at Player 1");
    ASSERT_EQ(state->objects.size(), objectsBefore + 2);
    const Object& shell = **std::prev(state->objects.end(), 2);
    EXPECT_LT(length(shell.position - muzzle), 1e-4f);
    EXPECT_LT(length(shell.velocity - velocity), 1e-4f);
    release('a');
}

// The menu or the console holds its turn, which goes on when they close. A new
// game or "computers 0" stops it mid-aim: nothing moves or fires by itself, and
// the tank answers its person's keys again.
TEST_F(ComputerPlayersTest, TheMenuOrConsoleHoldsItsTurnAndANewGameOrComputers0EndsIt) {
    for (const char* what : {"\x1b", "`", "computers 0", "tanks 2"}) {
        SCOPED_TRACE(what);
        const bool key = what[1] == '\0';
        flatten(0.1f);
        start(2, "1", true);
        fire();
        ASSERT_TRUE(aiming());
        key ? tap(static_cast<unsigned char>(what[0])) : (void)run(what);
        const std::string who = currentName();
        const float aimed = barrel();
        const std::size_t objects = state->objects.size();
        playUntil([] { return false; }, 5.0f);
        EXPECT_EQ(barrel(), aimed);
        EXPECT_EQ(currentName(), who);
        EXPECT_EQ(state->objects.size(), objects) << "nobody fired";
        if (key) {
            tap(static_cast<unsigned char>(what[0]));
            update(frame);
            EXPECT_NE(barrel(), aimed) << "it goes on when they close";
        } else {
            press('w');
            update(0.1f);
            release('w');
            EXPECT_NEAR(barrel(), aimed - 9.0f, 1e-3f) << "its person aims";
        }
    }
}

// Each ground height is another game: the computer's dice start from the ground.
// A ridge 60 high across the field, 45 units before Player 1, blocks every arc
// near the usual one.
TEST_F(ComputerPlayersTest, ItKillsAStillTankInFewShotsOnOpenGroundAndOverARidge) {
    struct Case {
        float ground;
        bool ridge;
        const char* level;
        int mostShots;
    };
    const Case cases[] = {
        {0.05f, false, "hard", 2}, {0.2f, false, "hard", 2},  {0.4f, false, "hard", 2},
        {0.1f, true, "hard", 2},   {0.1f, true, "normal", 4}, {0.15f, true, "normal", 4},
        {0.2f, true, "normal", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " at " << c.ground << " ridge " << c.ridge);
        flatten(c.ground);
        for (std::uint32_t i = 0; i < 64 && c.ridge; ++i)
            for (std::uint32_t j = 40; j <= 41; ++j) // z = 125 to 131.25
                state->terrain.cells().at(i, j).height = c.ground + 0.3f;
        float firstMiss = 0.0f;
        EXPECT_LE(shotsToKillAStillTank(c.level, firstMiss), c.mostShots);
        if (c.mostShots == 2) {
            EXPECT_LT(firstMiss, 10.0f) << "hard's first shot lands by the target";
        }
    }
}

// The launch velocity and the weapon are the game's: whatever the computer set
// them to, the turn comes back to a person with what the people left, however
// it comes back; while nobody is left to give them back to, they stay.
TEST_F(ComputerPlayersTest, APersonGetsBackTheVelocityAndWeaponThePeopleLeft) {
    struct Case {
        int tanks, computers;
        int kill;            // the player killed while a computer aims; 0: none
        const char* command; // then given, when not empty
    };
    const Case cases[] = {
        {3, 2, 0, ""},            // two computers' turns in a row
        {3, 2, 2, ""},            // a computer dies while it aims
        {2, 1, 0, "computers 0"}, // its tank is handed back mid-turn
        {2, 1, 1, "tanks 2"},     // the person dies, a new game
        {2, 2, 0, "tanks 2"},     // computers only, then people
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tanks << " " << c.computers << " " << c.kill);
        flatten(0.1f);
        start(c.tanks, std::to_string(c.computers), c.computers < c.tanks);
        state->launchVelocity = 33.5f;
        state->velocityText = "33";
        state->currentWeapon = std::next(state->weapons.begin());
        if (c.computers < c.tanks)
            fire();
        ASSERT_TRUE(playUntil([this] { return state->launchVelocity != 33.5f; }, 10.0f));
        if (c.kill != 0) {
            (*std::next(state->tanks.begin(), c.kill - 1))->health = 0.0f;
            update(frame);
        }
        if (c.kill == 1 || c.computers == c.tanks) {
            EXPECT_NE(state->launchVelocity, 33.5f) << "no person left to give it back to";
        }
        if (*c.command != '\0')
            run(c.command);
        ASSERT_TRUE(playUntil([this] { return !state->computers.plays((*state->currentTank)->id); },
                              20.0f));
        update(frame);
        EXPECT_EQ(state->launchVelocity, 33.5f);
        EXPECT_EQ(state->velocityText, "33");
        EXPECT_TRUE(state->currentWeapon == std::next(state->weapons.begin()));
    }
}
