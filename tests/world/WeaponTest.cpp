#include "render/Display.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/ExplosiveWeapon.h"
#include "world/MIRV.h"
#include "world/MIRVObject.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A grey-free RGB picture `width` pixels wide and one high; the width tells the
// uploads apart in the GL log.
bool writePng(const fs::path& path, int width) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        std::vector<png_byte> row(static_cast<std::size_t>(width) * 3, 200);
        png_init_io(png, file);
        png_set_IHDR(png, info, width, 1, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_row(png, row.data());
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}

void writeSkeleton(const fs::path& path, const std::string& id) {
    std::ofstream(path) << "<skeleton><id>" << id << "</id></skeleton>\n";
}

constexpr int giraffeWidth = 1;
constexpr int fireWidth = 2;
constexpr int iconWidth = 4;
constexpr int carrierIconWidth = 8;

// Runs each test in a fresh folder holding (some of) the weapons' data files,
// with a Display on the fake GL.
class WeaponLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldDirectory = fs::current_path();
        directory = fs::temp_directory_path() /
                    ("vantrell-weapons-" +
                     std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        fs::create_directories(directory / "data" / "weapons");
        fs::current_path(directory);
        fakegl::reset();
        display = std::make_unique<Display>();
        fakegl::reset(); // forget the Display's own set-up calls
    }
    void TearDown() override {
        display.reset();
        fs::current_path(oldDirectory);
        fs::remove_all(directory);
    }

    void writeAll() {
        writeSkeleton("data/sphere.skel", "ball");
        writeSkeleton("data/explosion.skel", "blast");
        ASSERT_TRUE(writePng("data/giraffe.png", giraffeWidth));
        ASSERT_TRUE(writePng("data/fire.png", fireWidth));
        for (const char* icon : {"babymissile", "missile", "babynuke", "nuke"})
            ASSERT_TRUE(writePng(std::string("data/weapons/") + icon + ".png", iconWidth));
        ASSERT_TRUE(writePng("data/weapons/mirv.png", carrierIconWidth));
        ASSERT_TRUE(writePng("data/weapons/deathshead.png", carrierIconWidth));
    }

    static std::vector<int> uploadWidths() {
        std::vector<int> widths;
        for (const fakegl::Call& call : fakegl::callsNamed("glTexImage2D"))
            widths.push_back(static_cast<int>(call.args.at(3)));
        return widths;
    }

    fs::path oldDirectory;
    fs::path directory;
    std::unique_ptr<Display> display;
    MeshLibrary meshes;
    CaptureStreams capture; // loaders may write lines; keep them out of the test log
};

} // namespace

TEST(ExplosiveWeaponTest, KindsCarryTheirNamesIconsAndNumbers) {
    struct Case {
        int kind;
        const char* name;
        const char* iconPath;
        float blastRadius;
        float damage;
    };
    for (const Case& c : {Case{0, "Baby Missile", "data/weapons/babymissile.png", 4, 50},
                          Case{1, "Missile", "data/weapons/missile.png", 8, 75},
                          Case{2, "Baby Nuke", "data/weapons/babynuke.png", 16, 100},
                          Case{3, "Nuke", "data/weapons/nuke.png", 32, 125}}) {
        SCOPED_TRACE(c.name);
        const ExplosiveWeapon weapon(c.kind);
        EXPECT_EQ(weapon.name(), c.name);
        EXPECT_EQ(weapon.iconPath, c.iconPath);
        EXPECT_EQ(weapon.blastRadius, c.blastRadius);
        EXPECT_EQ(weapon.damage, c.damage);
        EXPECT_EQ(weapon.icon(), 0u); // nothing loads before load()
    }
    EXPECT_EQ(MIRV().name(), "MIRV");
}

TEST(ExplosiveWeaponTest, FireAppendsTheShellThenItsHiddenExplosion) {
    ExplosiveWeapon weapon(0);
    weapon.projectileSkeleton.id = "ball";
    weapon.explosionSkeleton.id = "blast";
    weapon.projectileTexture = 7;
    weapon.explosionTexture = 9;

    ObjectList objects;
    objects.push_back(std::make_unique<Object>()); // firing appends; it keeps what is there
    CaptureStreams capture;
    weapon.fire(objects, Vector3(10, 20, 30), Vector3(1, 2, 3));

    EXPECT_EQ(capture.out(), "Explosive()\nExplosion()\n");
    ASSERT_EQ(objects.size(), 3u);
    auto it = std::next(objects.begin());
    const auto* shell = dynamic_cast<const Explosive*>(it->get());
    const auto* explosion = dynamic_cast<const Explosion*>(std::next(it)->get());
    ASSERT_NE(shell, nullptr);
    ASSERT_NE(explosion, nullptr);

    EXPECT_EQ(shell->position, Vector3(10, 20, 30));
    EXPECT_EQ(shell->velocity, Vector3(1, 2, 3));
    EXPECT_TRUE(shell->active);
    EXPECT_FALSE(shell->resting);
    EXPECT_EQ(shell->radius, 1.0f);
    EXPECT_EQ(shell->skeleton.id, "ball");
    EXPECT_EQ(shell->texture, 7u);

    EXPECT_EQ(shell->explosionId, explosion->id);
    EXPECT_NE(explosion->id, 0u);
    EXPECT_FALSE(explosion->active);
    EXPECT_TRUE(explosion->resting);
    EXPECT_EQ(explosion->position, Vector3(0, 0, 0));
    EXPECT_EQ(explosion->velocity, Vector3(0, 0, 0));
    EXPECT_EQ(explosion->blastRadius, 4.0f);
    EXPECT_EQ(explosion->damage, 50.0f);
    EXPECT_EQ(explosion->skeleton.id, "blast");
    EXPECT_EQ(explosion->texture, 9u);
    capture.clear();
    objects.clear();
}

TEST(ExplosiveWeaponTest, CopiesOwnTheirSkeletons) {
    CaptureStreams capture;
    ExplosiveWeapon original(1);
    original.projectileSkeleton.children.resize(1);
    original.projectileSkeleton.children[0].id = "fin";

    ExplosiveWeapon copy = original;
    copy.projectileSkeleton.children[0].id = "changed";
    copy.explosionSkeleton.children.resize(3);

    EXPECT_EQ(original.projectileSkeleton.children[0].id, "fin");
    EXPECT_TRUE(original.explosionSkeleton.children.empty());

    // A carrier's submunition is such a copy: the weapon's shells stay as loaded
    // whatever happens to a carrier in flight.
    MIRV mirv;
    mirv.submunition.projectileSkeleton.id = "missile";
    mirv.submunition.projectileTexture = 42;
    ObjectList objects;
    mirv.fire(objects, Vector3(0, 0, 0), Vector3(0, 0, 0));
    auto* carrier = dynamic_cast<MIRVObject*>(objects.front().get());
    ASSERT_NE(carrier, nullptr);
    EXPECT_EQ(carrier->submunition.projectileTexture, 42u);
    carrier->submunition.projectileSkeleton.id = "dented";
    EXPECT_EQ(mirv.submunition.projectileSkeleton.id, "missile");
    objects.clear();
}

TEST_F(WeaponLoadTest, EverythingPresentLoadsInOrder) {
    writeAll();
    ExplosiveWeapon weapon(2);
    EXPECT_TRUE(weapon.load(meshes, *display));
    EXPECT_EQ(weapon.projectileSkeleton.id, "ball");
    EXPECT_EQ(weapon.explosionSkeleton.id, "blast");
    EXPECT_EQ(weapon.projectileTexture, 1u);
    EXPECT_EQ(weapon.explosionTexture, 2u);
    EXPECT_EQ(weapon.iconTexture, 3u);
    EXPECT_EQ(weapon.icon(), 3u);
    EXPECT_EQ(uploadWidths(), (std::vector<int>{giraffeWidth, fireWidth, iconWidth}));
    EXPECT_TRUE(meshes.empty()); // the weapons leave the mesh library to the core
}

// The result is the AND of every load, and a failure skips nothing after it.
TEST_F(WeaponLoadTest, EachMissingFileFailsTheLoadAndOnlyItself) {
    for (const char* missing : {"data/sphere.skel", "data/explosion.skel", "data/giraffe.png",
                                "data/fire.png", "data/weapons/babymissile.png"}) {
        SCOPED_TRACE(missing);
        writeAll();
        fs::remove(missing);
        fakegl::reset();

        ExplosiveWeapon weapon(0);
        EXPECT_FALSE(weapon.load(meshes, *display));
        const std::string m = missing;
        EXPECT_EQ(weapon.projectileSkeleton.id, m == "data/sphere.skel" ? "" : "ball");
        EXPECT_EQ(weapon.explosionSkeleton.id, m == "data/explosion.skel" ? "" : "blast");
        EXPECT_EQ(weapon.projectileTexture == 0, m == "data/giraffe.png");
        EXPECT_EQ(weapon.explosionTexture == 0, m == "data/fire.png");
        EXPECT_EQ(weapon.iconTexture == 0, m == "data/weapons/babymissile.png");
        const bool anImageMissing = m.size() > 4 && m.compare(m.size() - 4, 4, ".png") == 0;
        EXPECT_EQ(fakegl::count("glGenTextures"), anImageMissing ? 2u : 3u);
    }
}

TEST_F(WeaponLoadTest, NothingPresentFailsAndMakesNoTextures) {
    ExplosiveWeapon weapon(3);
    MIRV mirv;
    EXPECT_FALSE(weapon.load(meshes, *display));
    EXPECT_FALSE(mirv.load(meshes, *display));
    EXPECT_EQ(fakegl::count("glGenTextures"), 0u);
    EXPECT_EQ(weapon.icon(), 0u);
    EXPECT_EQ(mirv.icon(), 0u);
    EXPECT_TRUE(display->textureNames().empty());
}

TEST_F(WeaponLoadTest, ClusterWeaponsLoadTheirOwnFilesThenTheSubmunitions) {
    writeAll();
    MIRV mirv;
    EXPECT_TRUE(mirv.load(meshes, *display));
    EXPECT_EQ(mirv.carrierTexture, 1u);
    EXPECT_EQ(mirv.iconTexture, 2u);
    EXPECT_EQ(mirv.submunition.projectileTexture, 3u);
    EXPECT_EQ(mirv.submunition.iconTexture, 5u);
    EXPECT_EQ(mirv.carrierSkeleton.id, "ball");
    EXPECT_EQ(mirv.submunition.explosionSkeleton.id, "blast");
    EXPECT_EQ(uploadWidths(), (std::vector<int>{giraffeWidth, carrierIconWidth, giraffeWidth,
                                                fireWidth, iconWidth}));

    // Each weapon's own icon counts; the other's does not matter to it.
    fs::remove("data/weapons/deathshead.png");
    fakegl::reset();
    DeathsHead deathsHead;
    EXPECT_FALSE(deathsHead.load(meshes, *display));
    EXPECT_EQ(deathsHead.iconTexture, 0u);
    EXPECT_NE(deathsHead.carrierTexture, 0u);
    EXPECT_NE(deathsHead.submunition.iconTexture, 0u);
    EXPECT_EQ(deathsHead.carrierSkeleton.id, "ball");

    // A submunition file missing fails the cluster weapon too.
    fs::remove("data/fire.png");
    MIRV third;
    EXPECT_FALSE(third.load(meshes, *display));
    EXPECT_NE(third.iconTexture, 0u);
    EXPECT_EQ(third.carrierSkeleton.id, "ball");
}
