#include "world/ShotSolver.h"
#include "WorldTest.h"
#include "world/ClusterWeapon.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/ExplosiveWeapon.h"
#include "world/Launch.h"
#include "world/MIRV.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

Skeleton node(const std::string& id, const Vector3& translate, std::vector<Skeleton> children) {
    Skeleton skeleton;
    skeleton.id = id;
    skeleton.translate = translate;
    skeleton.children = std::move(children);
    return skeleton;
}

// The game's tank: the muzzle 5.55 ahead of the centre and 0.45 below it when level.
Skeleton tankModel() {
    Skeleton tip = node("tip", {0.0f, 0.0f, 4.6f}, {});
    Skeleton barrel = node("barrel", {0.0f, 0.45f, 0.95f}, {tip});
    Skeleton turret = node("turret", {0.0f, -0.9f, 0.0f}, {barrel});
    return node("tank", {}, {turret});
}

Skeleton aimed(Skeleton tank, const Aim& aim) {
    tank.children[0].rotate.y = aim.turretDegrees;
    tank.children[0].children[0].rotate.x = aim.barrelDegrees;
    return tank;
}

float acrossGround(const Vector3& a, const Vector3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

class ShotSolverTest : public WorldTest {
protected:
    std::unique_ptr<ShotSolver> solverAt(const Vector3& position) {
        return std::make_unique<ShotSolver>(terrain, physics.gravity, physics.timeStep, tank,
                                            position, 3.0f);
    }

    // Fires a plain shell with `aim` from a tank at `position` and steps the
    // physics until its explosion wakes; false when that takes over a minute.
    // `bounced` tells whether a wall turned it on the way.
    bool landWithPhysics(const Vector3& position, const Aim& aim, Vector3& landing,
                         bool* bounced = nullptr) {
        objects.clear();
        ExplosiveWeapon(ExplosiveKind::babyMissile)
            .fire(objects, muzzlePosition(aimed(tank, aim), position),
                  muzzleVelocity(aim.turretDegrees, aim.barrelDegrees, aim.speed));
        const Object& explosion = *objects.back();
        CaptureStreams capture;
        for (int step = 0; step < 6000 && !explosion.active; ++step)
            physics.step(world());
        landing = explosion.position;
        if (bounced)
            *bounced = capture.out().find("bounce sphere wall") != std::string::npos;
        return explosion.active;
    }

    Skeleton tank = tankModel();
};

} // namespace

// Shooter and target stand either side of the middle, so every line fits the field.
TEST_F(ShotSolverTest, OnFlatGroundTheShotLandsWithinThreeUnitsOfTargetsFrom20To120) {
    flatten(0.1f); // ground at 20, tank centres at 23
    for (float distance : {20.0f, 45.0f, 70.0f, 95.0f, 120.0f}) {
        for (float heading : {0.0f, 100.0f, 225.0f, 300.0f}) {
            SCOPED_TRACE(testing::Message() << distance << " units towards " << heading);
            const float radians = heading * 3.14159265f / 180.0f;
            const Vector3 half(std::sin(radians) * distance / 2, 0.0f,
                               std::cos(radians) * distance / 2);
            const Vector3 shooter = Vector3(100.0f, 23.0f, 100.0f) - half;
            const Vector3 target = Vector3(100.0f, 23.0f, 100.0f) + half;
            const Shot shot = solverAt(shooter)->solve(target, 0.0f);
            EXPECT_LT(shot.miss, ShotSolver::hitTolerance);
            Vector3 landing;
            ASSERT_TRUE(landWithPhysics(shooter, shot.aim, landing));
            EXPECT_LT(acrossGround(landing, target), 3.0f);
            EXPECT_LT(length(landing - shot.flight.landing), 1e-3f) << "as foreseen";
        }
    }
}

// A lone shell comes down exactly where the solver says, over hills too, and a
// shot into a wall or the ceiling is known as one.
TEST_F(ShotSolverTest, AFlightIsThePhysicsOwnOverHillsAndIntoWalls) {
    Random once;
    std::srand(31);
    terrain.generate(300, 0.25f, 0.75f);
    const Vector3 shooter(100.0f, terrain.heightAt(32, 32) + 3.0f, 100.0f);
    struct Case {
        Aim aim;
        bool landed;
    };
    const Case cases[] = {
        {{30.0f, -20.0f, 25.0f}, true},    {{200.0f, -60.0f, 30.0f}, true},
        {{300.0f, -45.0f, 0.0f}, true},    {{135.0f, -5.0f, 20.0f}, true},
        {{270.0f, -10.0f, 100.0f}, false}, // the x = 0 wall
        {{0.0f, -89.0f, 100.0f}, false},   // the ceiling
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.aim.turretDegrees << " / " << c.aim.barrelDegrees
                                        << " / " << c.aim.speed);
        const Flight flight = solverAt(shooter)->fly(c.aim);
        EXPECT_EQ(flight.landed, c.landed);
        Vector3 landing;
        bool bounced = false;
        ASSERT_TRUE(landWithPhysics(shooter, c.aim, landing, &bounced));
        EXPECT_EQ(bounced, !c.landed);
        if (c.landed) {
            EXPECT_LT(length(landing - flight.landing), 1e-4f);
        }
    }
}

// A ridge before the target blocks every arc near the usual 40 degrees; the
// solver goes over it.
TEST_F(ShotSolverTest, ARidgeInTheWayIsClearedByASteeperArc) {
    const auto raiseRidge = [this] {
        flatten(0.1f);
        for (std::uint32_t i = 40; i <= 41; ++i) // x = 125 to 131.25
            for (std::uint32_t j = 0; j < 64; ++j)
                terrain.cells().at(i, j).height = 0.4f; // 60 above the ground
    };
    raiseRidge();
    const Vector3 shooter(50.0f, 23.0f, 100.0f);
    const Vector3 target(160.0f, 23.0f, 100.0f);

    const Shot shot = solverAt(shooter)->solve(target, 0.0f);
    EXPECT_LT(shot.miss, ShotSolver::hitTolerance);
    EXPECT_LT(shot.aim.barrelDegrees, -60.0f);
    Vector3 landing;
    ASSERT_TRUE(landWithPhysics(shooter, shot.aim, landing));
    EXPECT_LT(acrossGround(landing, target), 3.0f);

    // The same target without the ridge: that aim now lands on the ridge's face.
    flatten(0.1f);
    const Shot open = solverAt(shooter)->solve(target, 0.0f);
    EXPECT_GT(open.aim.barrelDegrees, -50.0f);
    raiseRidge();
    ASSERT_TRUE(landWithPhysics(shooter, open.aim, landing));
    EXPECT_LT(landing.x, 126.0f);
}

// Whatever the distance, the chosen weapon's real blast (the whole fan of a
// cluster) leaves the shooter unhurt; nearer targets never get a bigger blast
// than farther ones, and the Nuke is used where it is safe.
TEST_F(ShotSolverTest, TheChosenWeaponNeverHurtsItsOwnTank) {
    ExplosiveWeapon babyMissile(ExplosiveKind::babyMissile), missile(ExplosiveKind::missile),
        babyNuke(ExplosiveKind::babyNuke), nuke(ExplosiveKind::nuke);
    MIRV mirv;
    DeathsHead deathsHead;
    const std::vector<Weapon*> armoury = {&babyMissile, &missile, &babyNuke,
                                          &nuke,        &mirv,    &deathsHead};
    const std::vector<const Weapon*> weapons(armoury.begin(), armoury.end());
    const Vector3 shooter(30.0f, 23.0f, 100.0f);
    float lastBlast = 0.0f;
    for (float distance :
         {6.0f, 14.0f, 17.0f, 20.0f, 26.0f, 30.0f, 34.0f, 38.0f, 45.0f, 60.0f, 100.0f, 140.0f}) {
        SCOPED_TRACE(distance);
        flatten(0.1f); // the last case's craters filled in
        objects.clear();
        const auto solver = solverAt(shooter);
        const Shot shot = solver->solve(shooter + Vector3(distance, 0.0f, 0.0f), 0.0f);
        const int chosen = solver->strongestSafeWeapon(weapons, shot.flight);
        if (distance < 8.0f) {
            EXPECT_EQ(chosen, -1) << "even a Baby Missile would reach it";
            continue;
        }
        ASSERT_GE(chosen, 0);
        const auto* plain = dynamic_cast<const ExplosiveWeapon*>(weapons[chosen]);
        const auto* cluster = dynamic_cast<const ClusterWeapon*>(weapons[chosen]);
        const float blast = plain ? plain->blastRadius : cluster->submunition.blastRadius;
        EXPECT_GE(blast, lastBlast);
        lastBlast = blast;
        if (distance >= 45.0f) {
            EXPECT_EQ(weapons[chosen], &nuke);
        }

        TankObject& self = add<TankObject>(shooter);
        self.radius = 3.0f;
        self.resting = true;
        armoury[chosen]->fire(
            objects, muzzlePosition(aimed(tank, shot.aim), shooter),
            muzzleVelocity(shot.aim.turretDegrees, shot.aim.barrelDegrees, shot.aim.speed));
        for (int step = 0; step < 4000 && objects.size() > 1; ++step)
            physics.step(world());
        EXPECT_EQ(objects.size(), 1u) << "everything went off";
        EXPECT_EQ(self.health, 100.0f) << weapons[chosen]->name();
    }
}
