#include "CoreFixture.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/Launch.h"
#include "world/Random.h"
#include <cmath>
#include <cstdlib>

namespace {

constexpr float frame = 1.0f / 60.0f;

} // namespace

class ComputerPlayersTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->tankSkeleton = aimingSkeleton();
    }

    std::string run(const std::string& line) {
        CaptureStreams capture;
        core->processCommands(line);
        return capture.out();
    }

    // Starts "tanks N;computers ...", lets the tanks land and, when asked, takes
    // Player 1's gun away so its Space only passes the turn: a tank that never
    // shoots back.
    void start(int tanks, const std::string& computers, bool stillPlayer1) {
        run("tanks " + std::to_string(tanks) + ";computers " + computers);
        if (stillPlayer1) {
            core->tanks.front()->skeleton.children.clear();
            core->selectTankNodes();
        }
        for (int n = 0; n < 600 && !allResting(); ++n)
            update(frame);
        ASSERT_TRUE(allResting());
    }

    bool allResting() const {
        for (const TankObject* tank : core->tanks)
            if (!tank->resting)
                return false;
        return true;
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

    void playFor(float seconds) {
        playUntil([] { return false; }, seconds);
    }

    int computerShots() const {
        int shots = 0;
        for (const std::string& line : consoleLines())
            shots += line.find("(computer, ") != std::string::npos;
        return shots;
    }

    // Space for the current player, its shot's trace lines swallowed.
    void fire() {
        CaptureStreams quiet;
        tap(keys::space);
    }

    // The current tank's turret and barrel rotations; NaN for a tank without them.
    float turret() const { return node("turret") ? node("turret")->rotate.y : std::nanf(""); }
    float barrel() const { return node("barrel") ? node("barrel")->rotate.x : std::nanf(""); }
    const Skeleton* node(const char* id) const {
        const auto found = core->tankNodes.find(id);
        return found == core->tankNodes.end() ? nullptr : found->second;
    }

    // Plays a two-player game on the present ground, Player 1 standing still and
    // Player 2 the computer at `level`, until Player 1 dies: the computer's shots,
    // or 99 when it takes too long. `firstMiss` is how far across the ground from
    // Player 1 its first shot went off.
    int shotsToKillAStillTank(const std::string& level, float& firstMiss) {
        core->console = Console();
        start(2, "1 " + level, true);
        const Vector3 target = core->tanks.front()->position;
        firstMiss = -1.0f;
        const bool killed = playUntil(
            [&] {
                for (const std::unique_ptr<Object>& object : core->objects)
                    if (firstMiss < 0.0f && object->shotId != 0 && object->active &&
                        dynamic_cast<const Explosion*>(object.get()))
                        firstMiss = std::hypot(object->position.x - target.x,
                                               object->position.z - target.z);
                if (*core->currentTank == core->tanks.front())
                    fire();
                return core->tanks.size() == 1 && core->objects.size() == 1;
            },
            180.0f);
        return killed ? computerShots() : 99;
    }

    // Ground at `height`, with a ridge 60 high across the field between the two
    // players of a two-player game, near Player 1 (z = 125 to 131.25).
    void ridgeBetween(float height) {
        flatten(height);
        for (std::uint32_t i = 0; i < 64; ++i)
            for (std::uint32_t j = 40; j <= 41; ++j)
                core->terrain.cells().at(i, j).height = height + 0.3f;
    }
};

TEST_F(ComputerPlayersTest, TheCommandTakesTheLastTanksAndRefusesABadCountOrLevel) {
    run("tanks 3");
    struct Case {
        const char* line;
        const char* consoleLine;
        std::vector<bool> computers; // per player
        ComputerLevel level;
    };
    const std::string countLine = "computers: the count must be from 0 to 3";
    const std::string levelLine = "computers: the level must be easy, normal or hard";
    const Case cases[] = {
        {"computers 1",
         "Computers (normal): Player 3",
         {false, false, true},
         ComputerLevel::normal},
        {"computers 2 hard",
         "Computers (hard): Player 2, Player 3",
         {false, true, true},
         ComputerLevel::hard},
        {"computers 4", countLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers -1 easy", countLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers", countLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers two", countLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers 1 impossible", levelLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers 1 Easy", levelLine.c_str(), {false, true, true}, ComputerLevel::hard},
        {"computers  3\teasy and more",
         "Computers (easy): Player 1, Player 2, Player 3",
         {true, true, true},
         ComputerLevel::easy},
        {"computers 0", "Computers: none", {false, false, false}, ComputerLevel::normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::size_t lines = consoleLines().size();
        EXPECT_EQ(run(c.line), "processCommand: \"" + std::string(c.line) + "\"\n");
        EXPECT_EQ(consoleLines().size(), lines + 1);
        EXPECT_EQ(consoleLines().front(), c.consoleLine);
        std::vector<bool> computers;
        for (const TankObject* tank : core->tanks)
            computers.push_back(core->computers.plays(tank->id));
        EXPECT_EQ(computers, c.computers);
        EXPECT_EQ(core->computers.level(), c.level);
    }

    run("computers 2;tanks 3");
    for (const TankObject* tank : core->tanks)
        EXPECT_FALSE(core->computers.plays(tank->id)) << "a new game is of people";
    run("tanks 0;computers 1");
    EXPECT_EQ(consoleLines().front(), "computers: the count must be from 0 to 0");
}

// After a pause it turns and raises no faster than the held keys, sets the launch
// velocity, steps to its weapon one Tab at a time, and fires through the firing
// of Space: the shot leaves the tip with the aimed velocity, the turn passes, and
// standard output shows only the shot's own lines.
TEST_F(ComputerPlayersTest, ItsTurnMovesAtTheKeysRateAndFiresAsSpaceDoes) {
    flatten(0.1f);
    start(2, "1 hard", true);
    fire(); // Player 1 passes
    ASSERT_EQ(currentName(), "Player 2");
    TankObject& computer = **core->currentTank;
    const std::size_t objectsBefore = core->objects.size();

    constexpr float dt = 1.0f / 30.0f;
    const float step = 90.0f * dt + 1e-3f;
    float time = 0.0f;
    float lastTurret = turret(), lastBarrel = barrel(), lastVelocity = core->launchVelocity;
    int weapon = 0, tabs = 0;
    float lastTab = -1.0f;
    Vector3 muzzle, velocity;
    CaptureStreams capture;
    while (core->currentTank == std::next(core->tanks.begin()) && time < 10.0f) {
        // What Space would fire now.
        muzzle = muzzlePosition(computer.skeleton, computer.position);
        velocity = muzzleVelocity(turret(), barrel(), core->launchVelocity);
        core->update(dt);
        time += dt;
        if (core->currentTank != std::next(core->tanks.begin()))
            break;
        const float turned = std::fabs(std::remainder(turret() - lastTurret, 360.0f));
        const bool moved =
            turned > 0.0f || barrel() != lastBarrel || core->launchVelocity != lastVelocity;
        if (time < ComputerPlayers::thinkSeconds - dt) {
            EXPECT_FALSE(moved) << "at " << time;
        }
        EXPECT_LE(turned, step);
        EXPECT_LE(std::fabs(barrel() - lastBarrel), step);
        EXPECT_LE(std::fabs(core->launchVelocity - lastVelocity), step);
        EXPECT_EQ(core->angleText, std::to_string(static_cast<int>(turret())));
        EXPECT_EQ(core->elevationText, std::to_string(static_cast<int>(-barrel())));
        const int now = static_cast<int>(std::distance(core->weapons.begin(), core->currentWeapon));
        if (now != weapon) {
            EXPECT_EQ(now, (weapon + 1) % 6) << "one Tab at a time";
            EXPECT_GE(time - lastTab, ComputerPlayers::tabSeconds - dt);
            lastTab = time;
            ++tabs;
        }
        weapon = now;
        lastTurret = turret(), lastBarrel = barrel(), lastVelocity = core->launchVelocity;
    }
    EXPECT_EQ(capture.out(), "Explosive()\nExplosion()\n");
    EXPECT_LT(time, 5.0f);
    EXPECT_EQ(currentName(), "Player 1");
    EXPECT_EQ(tabs, 3) << "Baby Missile to Nuke at 150 units";
    EXPECT_EQ(consoleLines().front(), "Player 2 (computer, hard) fires a Nuke at Player 1");

    ASSERT_EQ(core->objects.size(), objectsBefore + 2);
    const auto* shell = dynamic_cast<const Explosive*>(std::prev(core->objects.end(), 2)->get());
    const auto* blast = dynamic_cast<const Explosion*>(core->objects.back().get());
    ASSERT_TRUE(shell && blast);
    EXPECT_EQ(blast->blastRadius, 32.0f);
    EXPECT_LT(length(shell->position - muzzle), 1e-4f);
    EXPECT_LT(length(shell->velocity - velocity), 1e-4f);
    EXPECT_GT(velocity.y, 0.0f);

    EXPECT_TRUE(playUntil([this] { return core->tanks.size() == 1; }, 20.0f))
        << "hard hits a still tank on open ground";
}

TEST_F(ComputerPlayersTest, TheMenuOrTheConsoleHoldsItsTurn) {
    flatten(0.1f);
    start(2, "1", true);
    fire();
    ASSERT_TRUE(playUntil([this] { return barrel() < -1.0f; }, 5.0f)) << "it aims";
    for (unsigned char key : {keys::escape, keys::backquote}) {
        SCOPED_TRACE(static_cast<int>(key));
        tap(key); // the menu or the console opens
        const float aimed = barrel();
        playFor(5.0f);
        EXPECT_EQ(barrel(), aimed);
        EXPECT_EQ(currentName(), "Player 2");
        tap(key);
        update(frame);
        EXPECT_NE(barrel(), aimed) << "and goes on when it closes";
    }
    EXPECT_TRUE(playUntil([this] { return currentName() == "Player 1"; }, 5.0f));
}

TEST_F(ComputerPlayersTest, ANewGameOrComputersZeroStopsItMidAim) {
    for (const char* stop : {"computers 0", "tanks 2"}) {
        SCOPED_TRACE(stop);
        flatten(0.1f);
        start(2, "1", false);
        fire(); // Player 1 fires a Baby Missile a few units ahead
        ASSERT_TRUE(playUntil([this] { return barrel() < -1.0f; }, 5.0f));
        run(stop);
        const std::string who = currentName();
        const float aimed = barrel();
        const std::size_t objects = core->objects.size();
        playFor(6.0f);
        EXPECT_EQ(barrel(), aimed) << "nothing aims by itself";
        EXPECT_EQ(currentName(), who);
        EXPECT_LE(core->objects.size(), objects) << "nobody fired";

        // The tank is a person's now: its keys work.
        press('w');
        update(0.1f);
        release('w');
        EXPECT_NEAR(barrel(), aimed - 9.0f, 1e-3f);
    }
}

// A person's held key waits for that person's next turn; Tab and Space during
// the computer's turn do nothing.
TEST_F(ComputerPlayersTest, HeldKeysStayWithTheirOwner) {
    flatten(0.1f);
    start(2, "1 hard", false);
    press('a');
    fire(); // Player 1 fires, still holding 'a'
    ASSERT_EQ(currentName(), "Player 2");
    const std::size_t objects = core->objects.size();
    playFor(0.3f);
    EXPECT_EQ(turret(), 0.0f);
    taps({keys::tab});
    fire();
    EXPECT_EQ(core->currentWeapon, core->weapons.begin());
    EXPECT_EQ(core->objects.size(), objects);
    EXPECT_EQ(currentName(), "Player 2");

    ASSERT_TRUE(playUntil([this] { return currentName() == "Player 1"; }, 5.0f));
    const float before = turret();
    update(0.1f);
    EXPECT_NEAR(turret(), before + 9.0f, 1e-3f) << "Player 1's 'a' turns Player 1's turret";
    release('a');
}

// A death in the middle of its aim: with its target gone and nobody else to
// fight it stops; with its own tank gone the turn is a person's.
TEST_F(ComputerPlayersTest, ADeathDuringItsTurnLeavesNothingBehind) {
    for (bool targetDies : {true, false}) {
        SCOPED_TRACE(targetDies ? "the target dies" : "the computer dies");
        flatten(0.1f);
        start(2, "1", true);
        fire();
        ASSERT_TRUE(playUntil([this] { return barrel() < -1.0f; }, 5.0f));
        (targetDies ? core->tanks.front() : core->tanks.back())->health = 0.0f;
        const std::size_t objects = core->objects.size();
        playFor(8.0f);
        ASSERT_EQ(core->tanks.size(), 1u);
        EXPECT_EQ(core->objects.size(), objects - 1) << "no shot";
        EXPECT_EQ(currentName(), targetDies ? "Player 2" : "Player 1");
        EXPECT_EQ(computerShots(), 0);
    }
}

TEST_F(ComputerPlayersTest, HardKillsAStillTankOnOpenGroundWithItsFirstOrSecondShot) {
    // Each ground height is another game: the computer's dice start from the ground.
    for (float ground : {0.05f, 0.1f, 0.2f, 0.3f, 0.4f}) {
        SCOPED_TRACE(ground);
        flatten(ground);
        float firstMiss = 0.0f;
        EXPECT_LE(shotsToKillAStillTank("hard", firstMiss), 2);
        EXPECT_LT(firstMiss, 10.0f);
    }
}

// A ridge 60 high blocks every arc near the usual one; the computer lobs over it
// (hard lands its first shot by the target), and at the normal level it still
// kills within four shots.
TEST_F(ComputerPlayersTest, WithARidgeBetweenItStillHitsWithinFourShots) {
    float firstMiss = 0.0f;
    ridgeBetween(0.1f);
    EXPECT_LE(shotsToKillAStillTank("hard", firstMiss), 2);
    EXPECT_LT(firstMiss, 10.0f);
    for (float ground : {0.1f, 0.15f, 0.2f}) {
        SCOPED_TRACE(ground);
        ridgeBetween(ground);
        EXPECT_LE(shotsToKillAStillTank("normal", firstMiss), 4);
    }
}

// The computer's dice are its own: the terrain's generator gives the same ground
// and the same numbers after it whether computers played or not, and the same
// ground gives the same game.
TEST_F(ComputerPlayersTest, ItNeverDrawsFromTheTerrainsGenerator) {
    const auto heights = [this] {
        std::vector<float> all;
        for (std::uint32_t i = 0; i < 64; ++i)
            for (std::uint32_t j = 0; j < 64; ++j)
                all.push_back(core->terrain.cells().at(i, j).height);
        return all;
    };
    // New ground is raised on the old, so each game starts from the same old ground.
    Random once;
    flatten(0.0f);
    std::srand(4242);
    run("terrain;tanks 2");
    const std::vector<float> people = heights();
    const int next = std::rand();

    std::vector<std::string> games;
    for (int game = 0; game < 2; ++game) {
        flatten(0.0f);
        std::srand(4242);
        run("terrain;tanks 2;computers 2 hard");
        EXPECT_EQ(heights(), people);
        playFor(30.0f); // both fire at least once
        EXPECT_GE(computerShots(), 2 * (game + 1));
        EXPECT_EQ(std::rand(), next);
        std::string state;
        for (const TankObject* tank : core->tanks)
            state += tank->name() + " " + std::to_string(tank->health) + " ";
        games.push_back(state + std::to_string(core->objects.size()));
    }
    EXPECT_EQ(games[0], games[1]);
}
