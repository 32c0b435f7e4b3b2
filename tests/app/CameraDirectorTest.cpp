#include "CoreFixture.h"
#include "world/Explosion.h"
#include <algorithm>
#include <cmath>

class CameraDirectorTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        state->tankSkeleton = aimingSkeleton();
        flatten(0.75f);
        newGame(3);
        settle(3.0f); // the tanks fall onto the ground and come to rest
    }

    void settle(float seconds) {
        for (float t = 0.0f; t < seconds; t += 0.02f)
            update(0.02f);
    }

    // Where the frame's camera puts a world point: inside the picture of a 4:3
    // window with a 90-degree field of view, and in front of the camera.
    bool inView(const Vector3& p) const {
        const double toRadians = 3.14159265358979323846 / 180.0;
        const double pitch = state->cameraRotation.x * toRadians;
        const double yaw = state->cameraRotation.y * toRadians;
        const Vector3 d = p - state->cameraPosition;
        // Turned by the yaw about y, then by the pitch about x, as the camera is.
        const double x = d.x * std::cos(yaw) + d.z * std::sin(yaw);
        const double z1 = -d.x * std::sin(yaw) + d.z * std::cos(yaw);
        const double y = d.y * std::cos(pitch) - z1 * std::sin(pitch);
        const double z = d.y * std::sin(pitch) + z1 * std::cos(pitch);
        return z < -0.1 && std::abs(x / -z) <= 4.0 / 3.0 && std::abs(y / -z) <= 1.0;
    }

    void fire() {
        TraceCapture quiet;
        tap(keys::space);
    }
    const TankObject& current() const { return **state->currentTank; }
    std::vector<const Object*> shells() const {
        std::vector<const Object*> flying;
        for (const auto& object : state->objects)
            if (object->active && !dynamic_cast<const TankObject*>(object.get()) &&
                !dynamic_cast<const Explosion*>(object.get()))
                flying.push_back(object.get());
        return flying;
    }
};

// Each turn starts with its tank in the picture; the shot that passed the turn
// is watched all the way down, its burst too, before the camera goes on.
TEST_F(CameraDirectorTest, FramesEachTurnsTankAndFollowsTheShotToItsBurst) {
    for (int turn = 0; turn < 3; ++turn) {
        SCOPED_TRACE(turn);
        EXPECT_TRUE(inView(current().position)) << current().name();
        state->tankNodes["barrel"]->rotate.x = -50.0f;
        state->tankNodes["turret"]->rotate.y = 40.0f + 100.0f * turn;
        state->launchVelocity = 35.0f;
        fire();
        ASSERT_EQ(shells().size(), 1u);
        Vector3 last;
        int steps = 0;
        for (; !shells().empty() && steps < 1000; ++steps) {
            last = shells().front()->position;
            update(0.02f);
            // The shell, or where it went off, stays in the picture.
            const Vector3 seen = shells().empty() ? last : shells().front()->position;
            ASSERT_TRUE(inView(seen)) << "step " << steps;
        }
        EXPECT_GT(steps, 50) << "a flight long enough to lose a fixed camera";
        update(0.1f);
        EXPECT_TRUE(inView(last)) << "the camera lingers on the burst";
        settle(1.5f);
    }
}

// A camera key or a drag gives the camera to the person for the rest of the
// turn; the next turn takes it back. With follow off it is the free camera.
TEST_F(CameraDirectorTest, APersonsCameraIsLeftAloneUntilTheNextTurn) {
    const auto moves = [&](auto take) {
        take();
        const Vector3 position = state->cameraPosition, rotation = state->cameraRotation;
        settle(0.5f);
        return state->cameraPosition != position || state->cameraRotation != rotation;
    };
    state->cameraPosition = Vector3(10.0f, 150.0f, 10.0f);
    EXPECT_TRUE(moves([] {})) << "the director glides back";
    EXPECT_TRUE(moves([&] { core->mouseMotion(false, 0.5f, 0.5f, 0.01f, 0.0f); })) << "no drag";
    EXPECT_FALSE(moves([&] { tap(keys::pageUp); }));
    fire(); // the next turn
    EXPECT_TRUE(moves([] {}));
    EXPECT_FALSE(moves([&] { core->mouseMotion(true, 0.5f, 0.5f, 0.01f, 0.0f); }));
    fire();
    state->variables["follow"] = 0;
    EXPECT_FALSE(moves([] {}));
}

// Two shots in the air: the first fired is watched to its burst, then the other.
TEST_F(CameraDirectorTest, ShotsAreWatchedInTheOrderTheyWereFired) {
    const auto aim = [&](float barrel, float turret, float velocity) {
        state->tankNodes["barrel"]->rotate.x = barrel;
        state->tankNodes["turret"]->rotate.y = turret;
        state->launchVelocity = velocity;
        fire();
    };
    aim(-45.0f, 160.0f, 18.0f);
    const Object* first = shells().back();
    aim(-80.0f, 0.0f, 28.0f); // nearly straight up: a long flight
    const Object* second = shells().back();
    const auto flying = [&](const Object* shell) {
        const std::vector<const Object*> now = shells();
        return std::find(now.begin(), now.end(), shell) != now.end();
    };
    int firstSteps = 0, secondSteps = 0;
    while (flying(first) && firstSteps < 1000) {
        update(0.02f);
        ++firstSteps;
        if (flying(first)) {
            ASSERT_TRUE(inView(first->position)) << "step " << firstSteps;
        }
    }
    settle(CameraDirector::lingerSeconds);
    ASSERT_TRUE(flying(second)) << "the second outlasts the first, which flew " << firstSteps;
    for (; flying(second) && secondSteps < 1000; ++secondSteps) {
        ASSERT_TRUE(inView(second->position)) << "step " << secondSteps;
        update(0.02f);
    }
    EXPECT_GT(firstSteps, 20);
    EXPECT_GT(secondSteps, 20);
}

// A ridge right behind the tank would hide it from the usual place: the camera
// goes round and sees it over open ground.
TEST_F(CameraDirectorTest, GoesRoundAHillThatWouldHideTheTank) {
    // The current tank stands at z 175 with its gun along +z: rows for z 150 to
    // 166 become a wall 40 units high.
    for (std::uint32_t i = 0; i < state->terrain.width(); ++i)
        for (std::uint32_t j = 48; j < 54; ++j)
            state->terrain.cells().at(i, j).height = 0.95f;
    state->cameraPosition = Vector3(100.0f, 150.0f, 100.0f);
    settle(2.0f);
    const Vector3 tank = current().position;
    const Vector3 eye = state->cameraPosition;
    ASSERT_TRUE(inView(tank));
    for (int k = 1; k < 20; ++k) {
        const Vector3 p = eye + (tank - eye) * (0.9f * k / 20.0f);
        const auto cell = [](float at) { return static_cast<std::uint32_t>(at / 200.0f * 64.0f); };
        EXPECT_GT(p.y, state->terrain.heightAt(cell(p.x), cell(p.z))) << "the view passes under the ground at " << k;
    }
}
