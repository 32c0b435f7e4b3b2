#include "world/Explosion.h"
#include "support/CaptureStreams.h"
#include "world/Explosive.h"
#include "world/PhysicsSettings.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// Remembers every damage amount it is dealt.
class Target : public Object {
public:
    void damageEvent(World, float amount) override { amounts.push_back(amount); }
    std::vector<float> amounts;
};

// A flat game terrain with its ground at world height 100.
class ExplosionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (std::uint32_t j = 0; j < 64; ++j)
            for (std::uint32_t i = 0; i < 64; ++i)
                terrain.cells().at(i, j).height = 0.5f;
    }

    template <typename T, typename... Args> T& add(Args... args) {
        objects.push_back(std::make_unique<T>(args...));
        return static_cast<T&>(*objects.back());
    }

    World world() { return World{&objects, &box, &terrain}; }

    CaptureStreams quiet; // constructor and destructor lines of the setup
    ObjectList objects;
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    Terrain terrain{64, 64, 200.0f, 200.0f, 200.0f};
};

const Vector3 centre(100.0f, 100.0f, 100.0f); // on vertex (32, 32), at ground level

} // namespace

TEST_F(ExplosionTest, WaitsAsAFixedRestingPointAndAnnouncesItself) {
    CaptureStreams capture;
    {
        const Explosion blast(8.0f, 75.0f);
        EXPECT_EQ(blast.blastRadius, 8.0f);
        EXPECT_EQ(blast.damage, 75.0f);
        EXPECT_EQ(blast.radius, 0.0f);
        EXPECT_EQ(blast.elasticity, 0.0f);
        EXPECT_TRUE(blast.resting && blast.fixed);
    }
    EXPECT_EQ(capture.out(), "Explosion()\n~Explosion()\n");
}

TEST_F(ExplosionTest, GrowsFiveUnitsASecond) {
    Explosion& blast = add<Explosion>(8.0f, 75.0f);
    blast.update(world(), 0.1f);
    blast.update(world(), 0.3f);
    EXPECT_FLOAT_EQ(blast.radius, 2.0f);
    EXPECT_EQ(blast.scale, Vector3(blast.radius, blast.radius, blast.radius));
    EXPECT_TRUE(blast.active);
    EXPECT_FALSE(blast.dead);
    EXPECT_EQ(terrain.heightAt(32, 32), 100.0f);
}

TEST_F(ExplosionTest, DamageFallsOffWithSquaredDistanceLessBothRadii) {
    struct Case {
        const char* name;
        float distance;
        float radius;
        float damage; // 0: none dealt
    };
    // Blast radius 4, damage 50: q = distance^2 - radius - 4 against 16.
    const Case cases[] = {
        {"centre", 0.0f, 0.0f, 62.5f},        // q = -4
        {"close tank", 2.0f, 3.0f, 59.375f},  // q = -3
        {"at four", 4.0f, 1.0f, 15.625f},     // q = 11
        {"exactly out", 4.5f, 0.25f, 0.0f},   // q = 16
        {"at five", 5.0f, 1.0f, 0.0f},        // q = 20
        {"big but far", 6.0f, 30.0f, 43.75f}, // q = 2: its size brings it in reach
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        objects.clear();
        Explosion& blast = add<Explosion>(4.0f, 50.0f);
        blast.position = centre;
        blast.radius = 4.0f;
        Target& target = add<Target>();
        target.position = centre + Vector3(0.0f, c.distance, 0.0f);
        target.radius = c.radius;
        CaptureStreams capture;
        blast.update(world(), 0.0f);
        if (c.damage == 0.0f) {
            EXPECT_TRUE(target.amounts.empty());
        } else {
            ASSERT_EQ(target.amounts.size(), 1u);
            EXPECT_FLOAT_EQ(target.amounts[0], c.damage);
        }
        // The explosion never hurts itself.
        EXPECT_EQ(capture.out(), "");
    }
}

TEST_F(ExplosionTest, CloseTankTakesMoreThanFullDamage) {
    Explosion& blast = add<Explosion>(4.0f, 50.0f);
    blast.position = centre;
    blast.radius = 4.0f;
    TankObject& tank = add<TankObject>();
    tank.radius = 3.0f;
    tank.position = centre + Vector3(2.0f, 0.0f, 0.0f);
    CaptureStreams capture;
    blast.update(world(), 0.0f);
    // q = 4 - 3 - 4 = -3: (1 + 3 / 16) * 50.
    EXPECT_EQ(tank.health, 40.625f);
    EXPECT_EQ(capture.out(), "TankObject::damageEvent(59.375) health = 40.625\n");
}

TEST_F(ExplosionTest, GoingOffDigsWakesEverythingAndVanishes) {
    Explosion& blast = add<Explosion>(4.0f, 50.0f);
    blast.position = centre;
    blast.radius = 4.0f;
    TankObject& far = add<TankObject>();
    far.position = Vector3(20.0f, 150.0f, 20.0f);
    far.resting = true;
    Explosion& waiting = add<Explosion>(8.0f, 75.0f);
    waiting.active = false;

    CaptureStreams capture;
    blast.update(world(), 0.0f);
    EXPECT_EQ(capture.out(), ""); // nobody in reach
    EXPECT_FALSE(far.resting);
    EXPECT_FALSE(waiting.resting);
    EXPECT_FALSE(blast.resting);
    EXPECT_FALSE(blast.active);
    EXPECT_TRUE(blast.dead);
    EXPECT_FLOAT_EQ(terrain.heightAt(32, 32), 96.0f);
    EXPECT_EQ(far.health, 100.0f);

    // Still listed until the next step begins, then destroyed.
    EXPECT_EQ(objects.size(), 3u);
    PhysicsSettings physics;
    physics.step(world());
    EXPECT_EQ(objects.size(), 2u);
    EXPECT_EQ(capture.out().rfind("~Explosion()\n", 0), 0u);
}

TEST_F(ExplosionTest, ShellFlyingIntoAGrowingExplosionSetsOffItsOwn) {
    Explosion& growing = add<Explosion>(8.0f, 75.0f);
    growing.position = Vector3(100.0f, 150.0f, 100.0f);
    growing.radius = 2.0f;
    // A resting tank inside the growing explosion: never tested against it.
    TankObject& tank = add<TankObject>();
    tank.position = Vector3(100.0f, 150.0f, 98.5f);
    tank.resting = true;
    Explosive& shell = add<Explosive>();
    shell.position = Vector3(102.5f, 150.0f, 100.0f);
    shell.velocity = Vector3(-10.0f, 0.0f, 0.0f);
    Explosion& own = add<Explosion>(8.0f, 75.0f);
    own.active = false;
    shell.explosionId = own.id;

    PhysicsSettings physics;
    physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    CaptureStreams capture;
    physics.step(world());
    const std::string g = std::to_string(growing.id);
    const std::string s = std::to_string(shell.id);
    EXPECT_EQ(capture.out(), "Explosion::contactEvent\n"
                             "Explosive::contactEvent\n"
                             "Activating explosion " +
                                 std::to_string(own.id) +
                                 "\n"
                                 "bounce sphere " +
                                 g + " sphere , " + s +
                                 "\n"
                                 "resting:  1, 0\n"
                                 "fixed:    1, 0\n"
                                 "immobile: 0, 0\n");
    EXPECT_EQ(shell.velocity, Vector3(-10.0f, 0.0f, 0.0f));
    EXPECT_EQ(growing.position, Vector3(100.0f, 150.0f, 100.0f));
    EXPECT_TRUE(shell.dead);
    EXPECT_TRUE(own.active);
    EXPECT_EQ(own.position, shell.position);
    EXPECT_EQ(tank.health, 100.0f);
}
