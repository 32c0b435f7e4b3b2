#include "support/TraceCapture.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/ExplosiveWeapon.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>

// Firing appends the shell, carrying the weapon's model, and its explosion hidden
// and waiting, with the kind's radius and damage; it keeps what is in the list.
TEST(ExplosiveWeaponTest, FireAppendsTheShellThenItsHiddenExplosion) {
    struct Case {
        ExplosiveKind kind;
        const char *name, *iconPath;
        float blastRadius, damage;
    };
    for (const Case& c :
         {Case{ExplosiveKind::babyMissile, "Baby Missile", "babymissile.png", 4, 50},
          Case{ExplosiveKind::missile, "Missile", "missile.png", 8, 75},
          Case{ExplosiveKind::babyNuke, "Baby Nuke", "babynuke.png", 16, 100},
          Case{ExplosiveKind::nuke, "Nuke", "nuke.png", 32, 125}}) {
        SCOPED_TRACE(c.name);
        ExplosiveWeapon weapon(c.kind);
        EXPECT_EQ(weapon.name(), c.name);
        EXPECT_EQ(weapon.iconPath, std::string("data/weapons/") + c.iconPath);
        weapon.projectileSkeleton.id = "ball";
        weapon.projectileTexture = 7;
        weapon.explosionTexture = 9;
        TraceCapture capture;
        ObjectList objects;
        objects.push_back(std::make_unique<Object>());
        weapon.fire(objects, Vector3(10, 20, 30), Vector3(1, 2, 3));
        EXPECT_EQ(capture.out(), "Explosive()\nExplosion()\n");
        ASSERT_EQ(objects.size(), 3u);
        const auto* shell = dynamic_cast<const Explosive*>(std::next(objects.begin())->get());
        const auto* explosion = dynamic_cast<const Explosion*>(objects.back().get());
        ASSERT_TRUE(shell != nullptr && explosion != nullptr);
        EXPECT_TRUE(shell->position == Vector3(10, 20, 30) && shell->velocity == Vector3(1, 2, 3));
        EXPECT_EQ(shell->explosionId, explosion->id);
        EXPECT_EQ(std::tuple(explosion->active, explosion->blastRadius, explosion->damage),
                  std::tuple(false, c.blastRadius, c.damage));
        EXPECT_EQ(shell->skeleton.id, "ball");
        EXPECT_EQ(std::pair(shell->texture, explosion->texture), std::pair(7u, 9u));
    }
}
