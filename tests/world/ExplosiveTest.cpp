#include "world/Explosive.h"
#include "support/CaptureStreams.h"
#include "world/Explosion.h"
#include <gtest/gtest.h>

TEST(ExplosiveTest, AnnouncesItsBirthAndDeath) {
    CaptureStreams capture;
    { const Explosive shell; }
    EXPECT_EQ(capture.out(), "Explosive()\n~Explosive()\n");
}

TEST(ExplosiveTest, ContactKillsTheShellAndWakesItsExplosionWhereItWas) {
    CaptureStreams quiet;
    ObjectList objects;
    objects.push_back(std::make_unique<Explosive>());
    objects.push_back(std::make_unique<Object>());
    objects.push_back(std::make_unique<Explosion>(4.0f, 50.0f));
    auto& shell = static_cast<Explosive&>(*objects.front());
    Object& bystander = **std::next(objects.begin());
    Object& blast = *objects.back();
    blast.active = false;
    shell.position = Vector3(10.0f, 20.0f, 30.0f);
    shell.explosionId = blast.id;

    CaptureStreams capture;
    shell.contactEvent(World{&objects, nullptr, nullptr});
    EXPECT_EQ(capture.out(),
              "Explosive::contactEvent\nActivating explosion " + std::to_string(blast.id) + "\n");
    EXPECT_TRUE(shell.dead);
    EXPECT_TRUE(blast.active);
    EXPECT_TRUE(blast.resting);
    EXPECT_EQ(blast.position, Vector3(10.0f, 20.0f, 30.0f));
    EXPECT_EQ(bystander.position, Vector3(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(bystander.dead);
}

TEST(ExplosiveTest, ShellWithoutExplosionJustDisappears) {
    CaptureStreams quiet;
    ObjectList objects;
    objects.push_back(std::make_unique<Explosive>());
    objects.push_back(std::make_unique<Object>());
    auto& shell = static_cast<Explosive&>(*objects.front());
    for (std::uint32_t missing : {0u, objects.back()->id + 1000}) {
        SCOPED_TRACE(missing);
        shell.dead = false;
        shell.explosionId = missing;
        CaptureStreams capture;
        shell.contactEvent(World{&objects, nullptr, nullptr});
        EXPECT_EQ(capture.out(), "Explosive::contactEvent\n");
        EXPECT_TRUE(shell.dead);
        EXPECT_TRUE(objects.back()->active);
    }
}
