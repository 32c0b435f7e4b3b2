#include "world/ShotSolver.h"
#include "WorldTest.h"
#include "world/ClusterWeapon.h"
#include "world/DeathsHead.h"
#include "world/ExplosiveWeapon.h"
#include "world/Launch.h"
#include "world/MIRV.h"
#include "world/TankObject.h"
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// The game's tank, aimed: the muzzle 5.55 ahead of the centre and 0.45 below it
// when level.
Skeleton tankModel(const Aim& aim) {
    const Vector3 one(1.0f, 1.0f, 1.0f);
    const Skeleton tip{"tip", "", {0.0f, 0.0f, 4.6f}, {}, one, {}};
    const Skeleton barrel{"barrel", "",   {0.0f, 0.45f, 0.95f}, {aim.barrelDegrees, 0.0f, 0.0f},
                          one,      {tip}};
    const Skeleton turret{"turret", "",      {0.0f, -0.9f, 0.0f}, {0.0f, aim.turretDegrees, 0.0f},
                          one,      {barrel}};
    return Skeleton{"tank", "", {}, {}, one, {turret}};
}

class ShotSolverTest : public WorldTest {
protected:
    std::unique_ptr<ShotSolver> solverAt(const Vector3& position) {
        return std::make_unique<ShotSolver>(terrain, physics.gravity, physics.timeStep,
                                            tankModel(Aim()), position, 3.0f);
    }

    // Fires a plain shell with `aim` from a tank at `position` and steps the
    // physics until its explosion wakes; false when that takes over a minute.
    bool landWithPhysics(const Vector3& position, const Aim& aim, Vector3& landing) {
        objects.clear();
        ExplosiveWeapon(ExplosiveKind::babyMissile)
            .fire(objects, muzzlePosition(tankModel(aim), position),
                  muzzleVelocity(aim.turretDegrees, aim.barrelDegrees, aim.speed));
        const Object& explosion = *objects.back();
        for (int step = 0; step < 6000 && !explosion.active; ++step)
            physics.step(world());
        landing = explosion.position;
        return explosion.active;
    }
};

} // namespace

// Shooter and target stand either side of the middle, so every line fits the field.
TEST_F(ShotSolverTest, OnFlatGroundTheShotLandsWithinAUnitOfTargetsFrom20To120) {
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
            EXPECT_TRUE(landing == shot.flight.landing) << "exactly as foreseen";
        }
    }
    // Past the end of the field a shell meets a wall, and a bounce is no landing.
    EXPECT_FALSE(solverAt(Vector3(150.0f, 23.0f, 100.0f))->fly(Aim{90.0f, -45.0f, 100.0f}).landed);
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
    // Each weapon at the nearest distance it is chosen for, where its blast comes
    // closest to the shooter.
    for (float distance : {6.0f, 12.0f, 16.0f, 22.0f, 26.0f, 36.0f, 40.0f, 100.0f, 140.0f}) {
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
        if (distance >= 40.0f) {
            EXPECT_EQ(weapons[chosen], &nuke);
        }

        TankObject& self = add<TankObject>(shooter);
        self.radius = 3.0f;
        self.resting = true;
        armoury[chosen]->fire(
            objects, muzzlePosition(tankModel(shot.aim), shooter),
            muzzleVelocity(shot.aim.turretDegrees, shot.aim.barrelDegrees, shot.aim.speed));
        for (int step = 0; step < 4000 && objects.size() > 1; ++step)
            physics.step(world());
        EXPECT_EQ(objects.size(), 1u) << "everything went off";
        EXPECT_EQ(self.health, 100.0f) << weapons[chosen]->name();
    }
}
