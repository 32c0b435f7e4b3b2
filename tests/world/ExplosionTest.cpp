#include "world/Explosion.h"
#include "WorldTest.h"
#include "world/Explosive.h"
#include <vector>

namespace {

// Remembers every damage amount it is dealt.
class Target : public Object {
public:
    void damageEvent(World, float amount) override { amounts.push_back(amount); }
    std::vector<float> amounts;
};

const Vector3 centre(100.0f, 100.0f, 100.0f); // on vertex (32, 32), at ground level

// Ground at world height 100; a Baby Missile's explosion, grown to its full size,
// goes off at the centre.
class ExplosionTest : public WorldTest {
protected:
    void SetUp() override { flatten(0.5f); }

    Explosion& fullBlast() {
        Explosion& blast = add<Explosion>(centre, 4.0f, 50.0f);
        blast.radius = 4.0f;
        return blast;
    }
};

} // namespace

TEST_F(ExplosionTest, DamageFallsOffWithSquaredDistanceLessBothRadii) {
    struct Case {
        const char* name;
        float distance, radius;
        float damage; // 0: none dealt
    };
    // Blast radius 4, damage 50: q = distance^2 - radius - 4 against 16.
    const Case cases[] = {
        {"centre", 0.0f, 0.0f, 62.5f},        // q = -4
        {"close tank", 2.0f, 3.0f, 59.375f},  // q = -3
        {"at four", 4.0f, 1.0f, 15.625f},     // q = 11
        {"exactly out", 4.5f, 0.25f, 0.0f},   // q = 16
        {"big but far", 6.0f, 30.0f, 43.75f}, // q = 2: its size brings it in reach
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        objects.clear();
        Explosion& blast = fullBlast();
        Target& target = add<Target>(centre + Vector3(0.0f, c.distance, 0.0f));
        target.radius = c.radius;
        TraceCapture capture;
        blast.update(world(), 0.0f);
        EXPECT_EQ(target.amounts,
                  c.damage == 0.0f ? std::vector<float>{} : std::vector<float>{c.damage});
        EXPECT_EQ(capture.out(), ""); // the explosion never hurts itself
    }
}

TEST_F(ExplosionTest, GoingOffDigsWakesEverythingAndVanishesAtTheNextStep) {
    Explosion& blast = fullBlast();
    Object& far = add<Object>(Vector3(20.0f, 150.0f, 20.0f));
    far.resting = true;
    Explosion& waiting = add<Explosion>(Vector3(0.0f, 0.0f, 0.0f), 8.0f, 75.0f);
    waiting.active = false;

    TraceCapture capture;
    blast.update(world(), 0.0f);
    EXPECT_EQ(capture.out(), ""); // nobody in reach
    EXPECT_FALSE(far.resting || waiting.resting || blast.resting || blast.active);
    EXPECT_TRUE(blast.dead);
    EXPECT_FLOAT_EQ(terrain.heightAt(32, 32), 96.0f);

    physics.step(world());
    EXPECT_EQ(objects.size(), 2u);
    EXPECT_EQ(capture.out().rfind("~Explosion()\n", 0), 0u);
}

TEST_F(ExplosionTest, ShellFlyingIntoAGrowingExplosionSetsOffItsOwn) {
    Explosion& growing = add<Explosion>(Vector3(100.0f, 150.0f, 100.0f), 8.0f, 75.0f);
    growing.radius = 2.0f;
    Explosive& shell = add<Explosive>(Vector3(102.5f, 150.0f, 100.0f));
    shell.velocity = Vector3(-10.0f, 0.0f, 0.0f);
    Explosion& own = add<Explosion>(Vector3(0.0f, 0.0f, 0.0f), 8.0f, 75.0f);
    own.active = false;
    shell.explosionId = own.id;

    physics.gravity = Vector3(0.0f, 0.0f, 0.0f);
    TraceCapture capture;
    physics.step(world());
    EXPECT_EQ(capture.out(), "Explosion::contactEvent\nExplosive::contactEvent\n"
                             "Activating explosion " +
                                 std::to_string(own.id) + "\nbounce sphere " +
                                 std::to_string(growing.id) + " sphere , " +
                                 std::to_string(shell.id) +
                                 "\nresting:  1, 0\nfixed:    1, 0\nimmobile: 0, 0\n");
    // The growing explosion is fixed: neither sphere's velocity changes.
    EXPECT_EQ(shell.velocity, Vector3(-10.0f, 0.0f, 0.0f));
    EXPECT_TRUE(shell.dead);
    EXPECT_TRUE(own.active);
    EXPECT_EQ(own.position, shell.position);
}
