#include "world/PhysicsSettings.h"
#include "support/CaptureStreams.h"
#include "world/Object.h"
#include "world/Terrain.h"
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records its events in a shared log as "contact <id>", "update <id>", "gone <id>".
class Spy : public Object {
public:
    explicit Spy(std::vector<std::string>& log) : log(log) {}
    ~Spy() override { log.push_back("gone " + std::to_string(id)); }
    void contactEvent(World) override { log.push_back("contact " + std::to_string(id)); }
    void update(World world, float seconds) override {
        Object::update(world, seconds);
        log.push_back("update " + std::to_string(id));
        if (spawnOnUpdate) {
            spawnOnUpdate = false;
            world.objects->push_back(std::make_unique<Spy>(log));
        }
    }

    bool spawnOnUpdate = false;

private:
    std::vector<std::string>& log;
};

// A 200 x 200 x 200 box over the game's 64 x 64 terrain, flat at `ground` world units.
class PhysicsSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { flatten(0.0f); }

    void flatten(float ground) {
        for (std::uint32_t j = 0; j < 64; ++j)
            for (std::uint32_t i = 0; i < 64; ++i)
                terrain.cells().at(i, j).height = ground / 200.0f;
    }

    Spy& add(const Vector3& position, const Vector3& velocity) {
        objects.push_back(std::make_unique<Spy>(log));
        Spy& spy = static_cast<Spy&>(*objects.back());
        spy.position = position;
        spy.velocity = velocity;
        return spy;
    }

    World world() { return World{&objects, &box, &terrain}; }

    std::vector<std::string> log;
    ObjectList objects;
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
    PhysicsSettings physics;
};

std::string id(const Object& o) {
    return std::to_string(o.id);
}

} // namespace

TEST_F(PhysicsSettingsTest, DroppedSphereFollowsEulerStepsAndLands) {
    flatten(50.0f);
    Spy& ball = add({100.0f, 175.0f, 100.0f}, {0.0f, 0.0f, 0.0f});
    CaptureStreams capture;

    // Position first with the old velocity: after k steps the sphere has fallen
    // g dt^2 k (k - 1) / 2 (velocity first would give k (k + 1) / 2).
    for (int k = 1; k <= 503; ++k) {
        physics.step(world());
        if (k == 1 || k == 2 || k == 100 || k == 503) {
            const float fallen = 9.81f * 0.0001f * static_cast<float>(k * (k - 1)) / 2.0f;
            EXPECT_NEAR(ball.position.y, 175.0f - fallen, 5e-3f) << "step " << k;
            EXPECT_NEAR(ball.velocity.y, -9.81f * 0.01f * static_cast<float>(k), 1e-3f);
        }
    }
    EXPECT_FALSE(ball.resting);
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(log.size(), 503u); // one update per step, no contact yet

    // Step 504 would end below the ground (bottom at 51 - ...): it stops on it.
    const float y = ball.position.y;
    const float vy = ball.velocity.y;
    physics.step(world());
    EXPECT_NEAR(ball.position.y, 51.0f, 1e-3f);
    EXPECT_LT(ball.position.y, y);
    EXPECT_GT(ball.position.y, y + vy * 0.01f);
    EXPECT_EQ(ball.velocity, Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(ball.resting);
    EXPECT_EQ(ball.position.x, 100.0f);
    EXPECT_EQ(capture.out(), "bounce sphere terrain " + id(ball) + "\n");
    EXPECT_EQ(log.back(), "contact " + id(ball));

    // Resting on flat ground it stays put.
    const Vector3 landed = ball.position;
    for (int k = 0; k < 50; ++k)
        physics.step(world());
    EXPECT_EQ(ball.position, landed);
}

TEST_F(PhysicsSettingsTest, WallsReflectTheCentreWithoutRegardToTheRadius) {
    struct Case {
        const char* name;
        Vector3 position;
        Vector3 velocity;
        Vector3 reflected; // velocity after the bounce, gravity aside
        float seconds;     // time advanced before the bounce
    };
    const Case cases[] = {
        {"x max", {199.95f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f}, {-10.0f, 0.0f, 0.0f}, 0.005f},
        {"x min", {0.02f, 100.0f, 100.0f}, {-10.0f, 0.0f, 3.0f}, {10.0f, 0.0f, 3.0f}, 0.002f},
        {"z max", {50.0f, 100.0f, 199.99f}, {1.0f, 0.0f, 5.0f}, {1.0f, 0.0f, -5.0f}, 0.002f},
        {"ceiling", {50.0f, 199.97f, 50.0f}, {0.0f, 10.0f, 0.0f}, {0.0f, -10.0f, 0.0f}, 0.003f},
        {"outside, leaving",
         {201.0f, 100.0f, 100.0f},
         {10.0f, 0.0f, 0.0f},
         {-10.0f, 0.0f, 0.0f},
         0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        objects.clear();
        log.clear();
        physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
        Spy& ball = add(c.position, c.velocity);
        ball.radius = 3.0f;
        CaptureStreams capture;
        physics.step(world());
        EXPECT_EQ(capture.out(), "bounce sphere wall" + id(ball) + "\n");
        EXPECT_NEAR(ball.velocity.x, c.reflected.x, 1e-5f);
        EXPECT_NEAR(ball.velocity.y, c.reflected.y, 1e-5f);
        EXPECT_NEAR(ball.velocity.z, c.reflected.z, 1e-5f);
        EXPECT_NEAR(ball.age, c.seconds, 1e-5f);
        EXPECT_EQ(log, std::vector<std::string>{"update " + id(ball)}); // no contact event
    }
}

TEST_F(PhysicsSettingsTest, HeadOnEqualMassesExchangeVelocities) {
    physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    Spy& a = add({100.0f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f});
    Spy& b = add({102.1f, 100.0f, 100.0f}, {-10.0f, 0.0f, 0.0f});
    CaptureStreams capture;
    physics.step(world());
    // They close 20 units a second and are 0.1 apart: they touch after 0.005 s.
    EXPECT_NEAR(a.position.x, 100.05f, 1e-4f);
    EXPECT_NEAR(b.position.x, 102.05f, 1e-4f);
    EXPECT_NEAR(a.velocity.x, -10.0f, 1e-4f);
    EXPECT_NEAR(b.velocity.x, 10.0f, 1e-4f);
    EXPECT_NEAR(a.velocity.y, 0.0f, 1e-6f);
    EXPECT_EQ(log, (std::vector<std::string>{"update " + id(b), "update " + id(a),
                                             "contact " + id(a), "contact " + id(b)}));
    EXPECT_EQ(capture.out(), "bounce sphere " + id(a) + " sphere , " + id(b) +
                                 "\n"
                                 "resting:  0, 0\n"
                                 "fixed:    0, 0\n"
                                 "immobile: 0, 0\n");
}

TEST_F(PhysicsSettingsTest, GlancingBlowKeepsTangentialVelocity) {
    physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    // B sits still; A comes in along x, offset so that the line of centres at
    // contact is at 60 degrees to x: sin 30 * 2 = 1 unit off axis.
    Spy& a = add({98.0f, 101.0f, 100.0f}, {100.0f, 0.0f, 0.0f});
    Spy& b = add({100.0f, 100.0f, 100.0f}, {0.0f, 0.0f, 0.0f});
    CaptureStreams capture;
    physics.step(world());
    // Contact when A's centre is at (100 - sqrt 3, 101): the normal is (-cos 30, sin 30).
    EXPECT_NEAR(a.position.x, 100.0f - std::sqrt(3.0f), 1e-3f);
    // A keeps the part across the normal, B takes the part along it.
    EXPECT_NEAR(a.velocity.x, 25.0f, 0.05f);
    EXPECT_NEAR(a.velocity.y, 43.30f, 0.05f);
    EXPECT_NEAR(b.velocity.x, 75.0f, 0.05f);
    EXPECT_NEAR(b.velocity.y, -43.30f, 0.05f);
    EXPECT_NEAR(dot(a.velocity, b.velocity), 0.0f, 1.0f);
}

TEST_F(PhysicsSettingsTest, FixedSphereKeepsBothVelocitiesButBothHearTheContact) {
    physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    Spy& a = add({100.0f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f});
    Spy& b = add({102.1f, 100.0f, 100.0f}, {-10.0f, 0.0f, 0.0f});
    a.fixed = true;
    CaptureStreams capture;
    physics.step(world());
    EXPECT_EQ(a.velocity, Vector3(10.0f, 0.0f, 0.0f));
    EXPECT_EQ(b.velocity, Vector3(-10.0f, 0.0f, 0.0f));
    // The look-ahead counted on A moving too; A stayed where it was.
    EXPECT_EQ(a.position.x, 100.0f);
    EXPECT_NEAR(b.position.x, 102.05f, 1e-4f);
    EXPECT_EQ(log.back(), "contact " + id(b));
    EXPECT_EQ(log[log.size() - 2], "contact " + id(a));
    EXPECT_EQ(capture.out(), "bounce sphere " + id(a) + " sphere , " + id(b) +
                                 "\n"
                                 "resting:  1, 0\n"
                                 "fixed:    1, 0\n"
                                 "immobile: 0, 0\n");
}

TEST_F(PhysicsSettingsTest, SpheresSplittingFromOneCentreNeverCollide) {
    Spy& a = add({100.0f, 100.0f, 100.0f}, {4.0f, 10.0f, 0.0f});
    Spy& b = add({100.0f, 100.0f, 100.0f}, {-4.0f, 10.0f, 0.0f});
    CaptureStreams capture;
    for (int k = 0; k < 60; ++k)
        physics.step(world());
    EXPECT_EQ(capture.out(), "");
    for (const std::string& line : log)
        EXPECT_EQ(line.rfind("contact", 0), std::string::npos) << line;
    EXPECT_NEAR(a.position.x - b.position.x, 4.8f, 1e-3f);
}

TEST_F(PhysicsSettingsTest, RestingPairsAndRestingAgainstImmobileAreNotTested) {
    struct Case {
        const char* name;
        bool firstResting, firstImmobile, secondResting, secondImmobile;
        bool contact;
    };
    const Case cases[] = {
        {"both moving", false, false, false, false, true},
        {"both resting", true, false, true, false, false},
        {"resting then immobile", true, false, false, true, false},
        {"immobile then resting", false, true, true, false, false},
        {"resting then moving", true, false, false, false, true},
        {"moving immobile then moving", false, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        objects.clear();
        log.clear();
        physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
        // Overlapping and approaching: a contact at time 0 unless the pair is skipped.
        // Their speeds stay below the wake threshold so resting ones keep resting.
        Spy& first = add({100.0f, 100.0f, 100.0f}, {0.05f, 0.0f, 0.0f});
        Spy& second = add({101.5f, 100.0f, 100.0f}, {-0.05f, 0.0f, 0.0f});
        first.resting = c.firstResting;
        first.immobile = c.firstImmobile;
        second.resting = c.secondResting;
        second.immobile = c.secondImmobile;
        CaptureStreams capture;
        physics.step(world());
        const bool contacted = log.size() >= 2 && log[log.size() - 2].rfind("contact", 0) == 0;
        EXPECT_EQ(contacted, c.contact);
        EXPECT_EQ(capture.out().rfind("bounce sphere " + id(first) + " sphere , ", 0) == 0,
                  c.contact);
    }
}

TEST_F(PhysicsSettingsTest, InactiveObjectsNeitherMoveNorCollideNorUpdate) {
    Spy& ghost = add({100.0f, 100.0f, 100.0f}, {0.0f, -50.0f, 0.0f});
    Spy& ball = add({100.5f, 100.0f, 100.0f}, {-5.0f, 0.0f, 0.0f});
    ghost.active = false;
    CaptureStreams capture;
    physics.step(world());
    EXPECT_EQ(ghost.position, Vector3(100.0f, 100.0f, 100.0f));
    EXPECT_EQ(ghost.age, 0.0f);
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(log, std::vector<std::string>{"update " + id(ball)});
}

TEST_F(PhysicsSettingsTest, WakeThresholdIsASpeedOfOneTenth) {
    struct Case {
        float speed;
        bool wakes;
    };
    for (const Case& c : {Case{0.1f, true}, Case{0.09f, false}, Case{0.0f, false}}) {
        SCOPED_TRACE(c.speed);
        objects.clear();
        Spy& ball = add({100.0f, 100.0f, 100.0f}, {c.speed, 0.0f, 0.0f});
        ball.resting = true;
        physics.advance(world(), 0.01f);
        EXPECT_EQ(ball.resting, !c.wakes);
        EXPECT_EQ(ball.position.x != 100.0f, c.wakes);
        EXPECT_EQ(ball.velocity.y != 0.0f, c.wakes); // gravity only acts on the awake
    }
}

TEST_F(PhysicsSettingsTest, FixedObjectsRestAndNeverMove) {
    Spy& rock = add({100.0f, 100.0f, 100.0f}, {3.0f, 0.0f, 0.0f});
    rock.fixed = true;
    physics.advance(world(), 0.01f);
    EXPECT_TRUE(rock.resting);
    EXPECT_EQ(rock.position, Vector3(100.0f, 100.0f, 100.0f));
    EXPECT_EQ(rock.age, 0.01f);
}

TEST_F(PhysicsSettingsTest, AccumulatorRunsWholeStepsOnlyWhenStrictlyAboveOne) {
    Spy& ball = add({100.0f, 150.0f, 100.0f}, {0.0f, 0.0f, 0.0f});
    physics.tick(world(), physics.timeStep);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(physics.accumulator, physics.timeStep);
    physics.tick(world(), 0.001f);
    EXPECT_EQ(log, std::vector<std::string>{"update " + id(ball)});
    EXPECT_NEAR(physics.accumulator, 0.001f, 1e-6f);
    physics.tick(world(), 0.035f);
    EXPECT_EQ(log.size(), 4u);
    EXPECT_NEAR(physics.accumulator, 0.006f, 1e-6f);

    objects.clear();
    physics.tick(world(), 0.25f); // an empty world only uses the time up
    EXPECT_LE(physics.accumulator, physics.timeStep);
}

TEST_F(PhysicsSettingsTest, UpdatesRunBackToFrontAndSkipWhatTheyAppend) {
    Spy& first = add({50.0f, 100.0f, 50.0f}, {0.0f, 0.0f, 0.0f});
    Spy& second = add({150.0f, 100.0f, 150.0f}, {0.0f, 0.0f, 0.0f});
    first.spawnOnUpdate = true;
    physics.advance(world(), 0.01f);
    ASSERT_EQ(objects.size(), 3u);
    const std::string born = id(*objects.back());
    EXPECT_EQ(log, (std::vector<std::string>{"update " + id(second), "update " + id(first)}));
    log.clear();
    physics.advance(world(), 0.01f);
    EXPECT_EQ(log, (std::vector<std::string>{"update " + born, "update " + id(second),
                                             "update " + id(first)}));
}

TEST_F(PhysicsSettingsTest, DeadObjectsStayUntilTheNextStepBegins) {
    Spy& doomed = add({50.0f, 100.0f, 50.0f}, {0.0f, 0.0f, 0.0f});
    Spy& other = add({150.0f, 100.0f, 150.0f}, {0.0f, 0.0f, 0.0f});
    const std::string doomedId = id(doomed);
    doomed.dead = true;
    doomed.active = false;
    EXPECT_EQ(objects.size(), 2u);
    physics.step(world());
    EXPECT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects.front().get(), &other);
    EXPECT_EQ(log.front(), "gone " + doomedId);
}
