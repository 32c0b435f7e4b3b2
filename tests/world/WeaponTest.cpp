#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/ExplosiveWeapon.h"
#include "world/MIRV.h"
#include "world/TextureMaker.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

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

namespace {

// Makes texture names 1, 2, 3... for the picture files that exist, none for the
// others, and remembers what it was asked for.
class FakeTextures : public TextureMaker {
public:
    MadeTexture makeTexture(const char* fileName) override {
        asked.push_back(fileName);
        return fs::exists(fileName) ? MadeTexture{next++, true} : MadeTexture{0, false};
    }
    std::vector<std::string> asked;
    std::uint32_t next = 1;
};

} // namespace

// In a fresh folder for the weapons' data files: the result is the AND of every
// load, and a failure skips nothing after it; a missing picture gives no texture
// and takes none of the names.
TEST(WeaponLoadTest, EachMissingFileFailsTheWeaponsThatReadIt) {
    const TempDir directory;
    const fs::path oldDirectory = fs::current_path();
    fs::create_directories(directory.path("data/weapons"));
    fs::current_path(directory.path(""));
    TraceCapture capture; // loaders may write lines; keep them out of the test log
    MeshLibrary meshes;
    struct Case {
        std::string missing;
        bool babyMissile, mirv, deathsHead;
    };
    for (const Case& c :
         {Case{"", true, true, true}, Case{"data/sphere.skel", false, false, false},
          Case{"data/explosion.skel", false, false, false},
          Case{"data/giraffe.png", false, false, false}, Case{"data/fire.png", false, false, false},
          Case{"data/weapons/babymissile.png", false, true, true},
          Case{"data/weapons/missile.png", true, false, true},
          Case{"data/weapons/deathshead.png", true, true, false}}) {
        SCOPED_TRACE(c.missing);
        std::ofstream("data/sphere.skel") << "<skeleton><id>ball</id></skeleton>\n";
        std::ofstream("data/explosion.skel") << "<skeleton><id>blast</id></skeleton>\n";
        for (const char* name : {"giraffe", "fire", "weapons/babymissile", "weapons/missile",
                                 "weapons/babynuke", "weapons/mirv", "weapons/deathshead"})
            std::ofstream(std::string("data/") + name + ".png") << "picture";
        std::remove(c.missing.c_str());

        FakeTextures textures;
        ExplosiveWeapon weapon(ExplosiveKind::babyMissile);
        EXPECT_EQ(weapon.load(meshes, textures), c.babyMissile);
        EXPECT_EQ(weapon.projectileSkeleton.id, c.missing == "data/sphere.skel" ? "" : "ball");
        EXPECT_EQ(weapon.explosionSkeleton.id, c.missing == "data/explosion.skel" ? "" : "blast");
        EXPECT_EQ(textures.asked, (std::vector<std::string>{"data/giraffe.png", "data/fire.png",
                                                            "data/weapons/babymissile.png"}));
        const std::uint32_t names[] = {weapon.projectileTexture, weapon.explosionTexture,
                                       weapon.icon()};
        for (std::uint32_t k = 0, next = 1; k < 3; ++k)
            EXPECT_EQ(names[k], c.missing == textures.asked[k] ? 0u : next++) << k;
        EXPECT_EQ(MIRV().load(meshes, textures), c.mirv);
        EXPECT_EQ(DeathsHead().load(meshes, textures), c.deathsHead);
    }
    EXPECT_TRUE(meshes.empty()); // the weapons leave the mesh library to the core
    fs::current_path(oldDirectory);
}
