// The core's part of the sound: it tells the audio layer what happened, where,
// at the moment it happens, and keeps its ears at the camera.
#include "CoreFixture.h"
#include "assets/Sound.h"
#include "support/GLReplay.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/MIRVObject.h"
#include <AL/al.h>
#include <cmath>

namespace {

constexpr Cue allCues[cueCount] = {Cue::launch,  Cue::burst4,  Cue::burst8,
                                   Cue::burst16, Cue::burst32, Cue::split,
                                   Cue::death,   Cue::win,     Cue::draw};

struct Played {
    Cue cue;
    Vector3 position;
    bool relative;
};

class GameCoreSoundTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->tankSkeleton = aimingSkeleton();
        Sound sound;
        sound.sampleRate = 22050;
        sound.samples.assign(100, 1000);
        for (Cue cue : allCues)
            ASSERT_TRUE(core->sound.setSound(cue, sound));
        flatten(0.25f); // ground at 50
    }

    // What was started since the last call, in order.
    std::vector<Played> played() {
        std::vector<Played> sounds;
        for (; seen < fakeal::played().size(); ++seen) {
            const fakeal::Source& s = *fakeal::source(fakeal::played()[seen]);
            for (Cue cue : allCues)
                if (core->sound.buffer(cue) == s.buffer)
                    sounds.push_back(
                        {cue, Vector3(s.position[0], s.position[1], s.position[2]), s.relative});
        }
        return sounds;
    }

    std::size_t seen = 0;
};

} // namespace

TEST_F(GameCoreSoundTest, AShotIsHeardLeavingTheTipAndOnlyWhenOneIsFired) {
    newGame(2);
    played();
    tap(keys::space);
    const auto* shell = dynamic_cast<const Explosive*>(std::next(core->objects.begin(), 2)->get());
    ASSERT_NE(shell, nullptr);
    const std::vector<Played> shot = played();
    ASSERT_EQ(shot.size(), 1u);
    EXPECT_EQ(shot[0].cue, Cue::launch);
    EXPECT_EQ(shot[0].position, shell->position);
    EXPECT_FALSE(shot[0].relative);

    // A tank without a barrel passes its turn in silence.
    core->tankSkeleton = node("body", Vector3(), {});
    newGame(2);
    tap(keys::space);
    EXPECT_TRUE(played().empty());
}

TEST_F(GameCoreSoundTest, DeathsAndTheResultAreHeardOnceEachWhenAnnounced) {
    struct Case {
        const char* name;
        int dying; // tanks of two killed
        Cue result;
    };
    for (const Case& c : {Case{"win", 1, Cue::win}, Case{"draw", 2, Cue::draw}}) {
        SCOPED_TRACE(c.name);
        newGame(2);
        core->messageShown = false;
        update(0.0f);
        played();
        std::vector<Vector3> where;
        for (TankObject* tank : core->tanks)
            if (static_cast<int>(where.size()) < c.dying) {
                tank->health = 0.0f;
                where.push_back(tank->position);
            }
        update(0.0f);
        const std::vector<Played> heard = played();
        ASSERT_EQ(heard.size(), std::size_t(c.dying + 1));
        for (int i = 0; i < c.dying; ++i) {
            EXPECT_EQ(heard[i].cue, Cue::death);
            EXPECT_EQ(heard[i].position, where[i]);
        }
        EXPECT_EQ(heard.back().cue, c.result);
        EXPECT_TRUE(heard.back().relative);

        // Latched: nothing more until Esc clears the latch and it is announced again.
        update(0.0f);
        EXPECT_TRUE(played().empty());
        tap(keys::escape);
        update(0.0f);
        const std::vector<Played> again = played();
        ASSERT_EQ(again.size(), 1u);
        EXPECT_EQ(again[0].cue, c.result);
        tap(keys::escape);
    }
}

// The physics reports, the core passes it on: a burst at the explosion's centre
// when it goes off, a split where the carrier was.
TEST_F(GameCoreSoundTest, BurstsAndSplitsInsideThePhysicsAreHeardWhereTheyHappen) {
    auto blast = std::make_unique<Explosion>(32.0f, 125.0f);
    blast->position = Vector3(60.0f, 50.0f, 70.0f);
    blast->radius = 31.99f;
    core->objects.push_back(std::move(blast));
    auto carrier = std::make_unique<MIRVObject>();
    carrier->position = Vector3(150.0f, 120.0f, 40.0f);
    carrier->velocity = Vector3(0.0f, -1.0f, 0.0f); // falling: it splits at once
    core->objects.push_back(std::move(carrier));
    core->messageShown = true; // no game: no result to announce
    played();
    update(0.02f);
    std::vector<Played> heard = played();
    ASSERT_EQ(heard.size(), 2u);
    // Updated back to front: the carrier, last in the list, splits first.
    EXPECT_EQ(heard[0].cue, Cue::split);
    EXPECT_LT(length(heard[0].position - Vector3(150.0f, 120.0f, 40.0f)), 0.1f);
    EXPECT_EQ(heard[1].cue, Cue::burst32);
    EXPECT_EQ(heard[1].position, Vector3(60.0f, 50.0f, 70.0f));
}

// Whatever the camera shows on the left must sound on the left: the listener's
// line of sight and head, carried through the matrix the Display's setCamera
// builds, must come out as the eye's -z and +y.
TEST_F(GameCoreSoundTest, TheListenerHearsFromWhereTheCameraLooks) {
    struct Case {
        Vector3 position, rotation;
    };
    const Case cases[] = {{{50, 25, 100}, {0, 0, 0}},
                          {{120, 80, 30}, {35, 0, 0}},
                          {{10, 60, 190}, {-20, 130, 0}},
                          {{100, 100, 100}, {60, 250, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rotation.x << ", " << c.rotation.y);
        core->cameraPosition = c.position;
        core->cameraRotation = c.rotation;
        core->cameraVelocity = Vector3(0, 0, 0);
        update(0.0f);
        fakegl::reset();
        core->display();
        const std::vector<float> ears = fakeal::listener();
        const float* o = &ears[3]; // at, then up
        EXPECT_EQ(Vector3(ears[0], ears[1], ears[2]), core->cameraPosition);

        // The modelview as setCamera leaves it: rotations, then the translation.
        const std::size_t camera = fakegl::find("glTranslatef") + 1;
        const auto eye = [&](float x, float y, float z) {
            return glreplay::transform({ears[0] + x, ears[1] + y, ears[2] + z}, camera);
        };
        EXPECT_LT(glreplay::distance(eye(0, 0, 0), {0, 0, 0}), 1e-3);
        EXPECT_LT(glreplay::distance(eye(o[0], o[1], o[2]), {0, 0, -1}), 1e-3);
        EXPECT_LT(glreplay::distance(eye(o[3], o[4], o[5]), {0, 1, 0}), 1e-3);
    }
}
