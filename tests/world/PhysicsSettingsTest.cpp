#include "world/PhysicsSettings.h"
#include "WorldTest.h"
#include "world/Explosion.h"
#include "world/TankObject.h"
#include <string>
#include <vector>

namespace {

std::string id(const Object& o) {
    return std::to_string(o.id);
}

// Records its events in a shared log as "contact <id>" and "update <id>".
class Spy : public Object {
public:
    explicit Spy(std::vector<std::string>& sharedLog) : log(sharedLog) {}
    void contactEvent(World) override { log.push_back("contact " + std::to_string(id)); }
    void update(World world, float seconds) override {
        Object::update(world, seconds); // its age
        log.push_back("update " + std::to_string(id));
    }
    std::vector<std::string>& log;
};

// Spies in the world; `log` collects their events.
class PhysicsSettingsTest : public WorldTest {
protected:
    Spy& spy(const Vector3& position, const Vector3& velocity) {
        Spy& s = add<Spy>(position, log);
        s.velocity = velocity;
        return s;
    }

    // Starts a case afresh without gravity.
    void weightless() {
        objects.clear();
        log.clear();
        physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    }

    std::vector<std::string> log;
};

} // namespace

TEST_F(PhysicsSettingsTest, DroppedSphereFollowsEulerStepsAndLands) {
    flatten(0.25f); // ground at 50
    Spy& ball = spy({100.0f, 175.0f, 100.0f}, {0.0f, 0.0f, 0.0f});
    TraceCapture capture;

    // Position first with the old velocity: after k steps the sphere has fallen
    // g dt^2 k (k - 1) / 2: 123.85 after 503 steps and 124.35 after 504, where it
    // stops on the ground part-way through (velocity first would land a step sooner).
    for (int k = 1; k <= 503; ++k)
        physics.step(world());
    EXPECT_EQ(capture.out(), "");
    EXPECT_EQ(log.size(), 503u); // one update per step, no contact yet
    EXPECT_NEAR(ball.position.y, 175.0f - 123.85f, 0.01f);
    physics.step(world());
    EXPECT_NEAR(ball.position.y, 51.0f, 1e-3f);
    EXPECT_EQ(ball.velocity, Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(ball.resting);
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
        Vector3 position, velocity, reflected;
        float seconds; // time advanced before the bounce
    };
    const Case cases[] = {
        {"x max", {199.95f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f}, {-10.0f, 0.0f, 0.0f}, 0.005f},
        {"x min", {0.02f, 100.0f, 100.0f}, {-10.0f, 0.0f, 3.0f}, {10.0f, 0.0f, 3.0f}, 0.002f},
        {"outside", {201.0f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f}, {-10.0f, 0.0f, 0.0f}, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        weightless();
        Spy& ball = spy(c.position, c.velocity);
        ball.radius = 3.0f;
        TraceCapture capture;
        physics.step(world());
        EXPECT_EQ(capture.out(), "bounce sphere wall" + id(ball) + "\n");
        EXPECT_NEAR(length(ball.velocity - c.reflected), 0.0f, 1e-5f);
        EXPECT_NEAR(ball.age, c.seconds, 1e-5f);
        EXPECT_EQ(log, std::vector<std::string>{"update " + id(ball)}); // no contact event
    }
}

TEST_F(PhysicsSettingsTest, HeadOnEqualMassesExchangeVelocitiesUnlessOneIsFixed) {
    for (bool fixed : {false, true}) {
        SCOPED_TRACE(fixed);
        weightless();
        Spy& a = spy({100.0f, 100.0f, 100.0f}, {10.0f, 0.0f, 0.0f});
        Spy& b = spy({102.1f, 100.0f, 100.0f}, {-10.0f, 0.0f, 0.0f});
        a.fixed = fixed;
        TraceCapture capture;
        physics.step(world());
        // They close 20 units a second and are 0.1 apart: they touch after 0.005 s.
        // A fixed sphere stays where it was, and both keep their velocities.
        EXPECT_NEAR(a.position.x, fixed ? 100.0f : 100.05f, 1e-4f);
        EXPECT_NEAR(b.position.x, 102.05f, 1e-4f);
        EXPECT_NEAR(length(a.velocity - Vector3(fixed ? 10.0f : -10.0f, 0, 0)), 0.0f, 1e-4f);
        EXPECT_NEAR(length(b.velocity - Vector3(fixed ? -10.0f : 10.0f, 0, 0)), 0.0f, 1e-4f);
        EXPECT_EQ(log, (std::vector<std::string>{"update " + id(b), "update " + id(a),
                                                 "contact " + id(a), "contact " + id(b)}));
        EXPECT_EQ(capture.out(), "bounce sphere " + id(a) + " sphere , " + id(b) + "\nresting:  " +
                                     (fixed ? "1" : "0") + ", 0\nfixed:    " + (fixed ? "1" : "0") +
                                     ", 0\nimmobile: 0, 0\n");
    }
}

// A tank about to land on ground that an explosion digs away in the same step
// must not stay resting on the old ground: it falls on to the new.
TEST_F(PhysicsSettingsTest, GroundDugInTheStepOfALandingLetsTheLanderFall) {
    flatten(0.5f); // ground at 100
    TankObject& tank = add<TankObject>({100.0f, 103.05f, 100.0f});
    tank.radius = 3.0f;
    tank.velocity = Vector3(0.0f, -10.0f, 0.0f); // touches the ground 0.005 s into the step
    Explosion& blast = add<Explosion>({100.0f, 100.0f, 100.0f}, 4.0f, 50.0f);
    blast.radius = 3.99f; // goes off within that same advance
    TraceCapture capture;
    physics.step(world());
    const float dug = terrain.heightAt(32, 32);
    EXPECT_LT(dug, 96.0f);
    EXPECT_EQ(capture.out().find("bounce sphere terrain"), std::string::npos);
    EXPECT_FALSE(tank.resting);

    for (int k = 0; k < 200 && !tank.resting; ++k)
        physics.step(world());
    EXPECT_TRUE(tank.resting);
    EXPECT_NEAR(tank.position.y, dug + 3.0f, 0.05f);
    EXPECT_NE(capture.out().find("bounce sphere terrain " + id(tank)), std::string::npos);
}

// Whole steps only while the accumulator is strictly above one. A clock that
// gives NaN, an infinity or a negative time adds nothing: the accumulator stays a
// number and the next real time runs the steps it should.
TEST_F(PhysicsSettingsTest, AccumulatorRunsWholeStepsOnlyForTimeThatPassed) {
    spy({100.0f, 150.0f, 100.0f}, {0.0f, 0.0f, 0.0f});
    for (float elapsed : {std::nanf(""), -5.0f, 1.0f / 0.0f, -1.0f / 0.0f, physics.timeStep}) {
        SCOPED_TRACE(elapsed);
        physics.tick(world(), elapsed);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(physics.accumulator, physics.timeStep);
    physics.tick(world(), 0.001f);
    EXPECT_EQ(log.size(), 1u);
    physics.tick(world(), 0.035f);
    EXPECT_EQ(log.size(), 4u);
    EXPECT_NEAR(physics.accumulator, 0.006f, 1e-6f);
}
