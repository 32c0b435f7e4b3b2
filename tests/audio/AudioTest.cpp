#include "audio/Audio.h"

#include "assets/Sound.h"
#include "support/CaptureStreams.h"
#include "support/FakeAL.h"
#include "support/TempDir.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string packSounds = std::string(VANTRELL_GAME_DIR) + "/data/sounds/";

constexpr Cue allCues[cueCount] = {Cue::launch,  Cue::burst4,  Cue::burst8,
                                   Cue::burst16, Cue::burst32, Cue::split,
                                   Cue::death,   Cue::win,     Cue::draw};

Sound tone(std::size_t frames) {
    Sound sound;
    sound.sampleRate = 22050;
    sound.samples.assign(frames, 1000);
    return sound;
}

// An Audio on the fake device, every cue given a sound; what it writes is kept.
class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeal::reset();
        capture = std::make_unique<CaptureStreams>();
        audio = std::make_unique<Audio>();
        for (Cue cue : allCues)
            ASSERT_TRUE(audio->setSound(cue, tone(100)));
    }
    void TearDown() override {
        audio.reset();
        EXPECT_EQ(capture->out(), "") << "the sound never writes a trace line";
    }

    // The source the last alSourcePlay started, or 0.
    static unsigned lastPlayed() {
        for (auto it = fakeal::calls().rbegin(); it != fakeal::calls().rend(); ++it)
            if (it->name == "alSourcePlay")
                return static_cast<unsigned>(it->args[0]);
        return 0;
    }
    static std::size_t playingWith(unsigned buffer) {
        std::size_t n = 0;
        for (unsigned name : fakeal::playingSources())
            n += fakeal::source(name)->buffer == buffer;
        return n;
    }

    std::unique_ptr<CaptureStreams> capture;
    std::unique_ptr<Audio> audio;
};

} // namespace

TEST(AudioWithoutDevice, SaysOnceWhatItPlaysWithoutAndStaysSilent) {
    struct Case {
        const char* name;
        bool device, context;
        int sources;
        const char* line;
    };
    const Case cases[] = {
        {"no device", false, true, 256,
         "Sound: no audio device could be opened; playing without sound.\n"},
        {"no context", true, false, 256,
         "Sound: the audio device could not be set up; playing without sound.\n"},
        {"one voice", true, true, 1,
         "Sound: the audio device has no voices to spare; playing without sound.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakeal::reset();
        fakeal::setDeviceAvailable(c.device);
        fakeal::setContextAvailable(c.context);
        fakeal::setSourceLimit(c.sources);
        CaptureStreams capture;
        {
            Audio audio;
            EXPECT_FALSE(audio.active());
            EXPECT_FALSE(fakeal::deviceOpen());
            const std::size_t callsAfterOpening = fakeal::calls().size();
            // Not even the files are looked at, and nothing said about them.
            audio.loadSounds(packSounds);
            EXPECT_FALSE(audio.setSound(Cue::launch, tone(10)));
            audio.setListener(Vector3(1, 2, 3), Vector3(0, 90, 0));
            audio.launch(Vector3(1, 2, 3));
            audio.exploded(Vector3(1, 2, 3), 32.0f);
            audio.split(Vector3(1, 2, 3));
            audio.death(Vector3(1, 2, 3));
            audio.result(true);
            EXPECT_EQ(fakeal::calls().size(), callsAfterOpening);
        }
        EXPECT_EQ(capture.err(), c.line);
        EXPECT_EQ(capture.out(), "");
        EXPECT_TRUE(fakeal::liveSources().empty());
        EXPECT_FALSE(fakeal::contextCurrent());
    }
}

TEST_F(AudioTest, OpensAPoolOfVoicesAndLetsGoOfEverythingInOrder) {
    EXPECT_TRUE(audio->active());
    EXPECT_TRUE(fakeal::contextCurrent());
    EXPECT_EQ(fakeal::distanceModel(), AL_INVERSE_DISTANCE_CLAMPED);
    ASSERT_EQ(audio->voiceCount(), std::size_t(Audio::poolSize));
    for (unsigned name : fakeal::liveSources()) {
        EXPECT_EQ(fakeal::source(name)->rolloff, 1.0f);
        EXPECT_GE(fakeal::source(name)->maxDistance, 300.0f) << "the whole field is in reach";
    }
    audio->exploded(Vector3(5, 5, 5), 8.0f);
    const unsigned burst = audio->buffer(Cue::burst8);

    audio.reset();
    EXPECT_TRUE(fakeal::liveSources().empty());
    EXPECT_EQ(fakeal::buffer(burst), nullptr);
    EXPECT_FALSE(fakeal::contextCurrent());
    EXPECT_FALSE(fakeal::deviceOpen());
    const auto& calls = fakeal::calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3].name, "alcMakeContextCurrent");
    EXPECT_EQ(calls[calls.size() - 2].name, "alcDestroyContext");
    EXPECT_EQ(calls[calls.size() - 1].name, "alcCloseDevice");

    // A device with few sources gives what it has.
    fakeal::reset();
    fakeal::setSourceLimit(5);
    EXPECT_EQ(Audio().voiceCount(), 5u);
}

TEST_F(AudioTest, EachEventPlaysItsCueWhereItHappened) {
    struct Case {
        const char* name;
        std::function<void(Audio&)> event;
        Cue cue;
        Vector3 position;
        bool relative;
    };
    const Vector3 p(12.0f, 34.0f, 56.0f);
    const Case cases[] = {
        {"launch", [&](Audio& a) { a.launch(p); }, Cue::launch, p, false},
        {"split", [&](Audio& a) { a.split(p); }, Cue::split, p, false},
        {"death", [&](Audio& a) { a.death(p); }, Cue::death, p, false},
        {"baby missile", [&](Audio& a) { a.exploded(p, 4.02f); }, Cue::burst4, p, false},
        {"missile", [&](Audio& a) { a.exploded(p, 8.04f); }, Cue::burst8, p, false},
        {"baby nuke", [&](Audio& a) { a.exploded(p, 16.0f); }, Cue::burst16, p, false},
        {"nuke", [&](Audio& a) { a.exploded(p, 32.03f); }, Cue::burst32, p, false},
        {"smaller than any", [&](Audio& a) { a.exploded(p, 1.0f); }, Cue::burst4, p, false},
        {"bigger than any", [&](Audio& a) { a.exploded(p, 90.0f); }, Cue::burst32, p, false},
        // Inside the head: relative to the listener, at its centre.
        {"win", [](Audio& a) { a.result(false); }, Cue::win, Vector3(0, 0, 0), true},
        {"draw", [](Audio& a) { a.result(true); }, Cue::draw, Vector3(0, 0, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t plays = fakeal::count("alSourcePlay");
        c.event(*audio);
        ASSERT_EQ(fakeal::count("alSourcePlay"), plays + 1);
        const fakeal::Source& s = *fakeal::source(lastPlayed());
        EXPECT_EQ(s.buffer, audio->buffer(c.cue));
        EXPECT_EQ(Vector3(s.position[0], s.position[1], s.position[2]), c.position);
        EXPECT_EQ(s.relative, c.relative);
        EXPECT_GT(s.gain, 0.3f);
        EXPECT_LE(s.gain, 1.0f);
        EXPECT_NEAR(s.pitch, 1.0f, 0.05f);
        fakeal::finishAll();
    }
}

// Heard from 100 units away, with OpenAL's clamped inverse distance law.
TEST_F(AudioTest, BiggerBurstsAreLouderAndCarryFurther) {
    float previousGain = 0.0f, previousReach = 0.0f, previousHeard = 0.0f;
    float heard[4];
    int k = 0;
    for (float radius : {4.0f, 8.0f, 16.0f, 32.0f}) {
        SCOPED_TRACE(radius);
        audio->exploded(Vector3(0, 0, 0), radius);
        const fakeal::Source& s = *fakeal::source(lastPlayed());
        const float distance = std::max(100.0f, s.referenceDistance);
        heard[k] = s.gain * s.referenceDistance /
                   (s.referenceDistance + s.rolloff * (distance - s.referenceDistance));
        EXPECT_GT(s.gain, previousGain);
        EXPECT_GT(s.referenceDistance, previousReach);
        EXPECT_GT(heard[k], previousHeard);
        previousGain = s.gain;
        previousReach = s.referenceDistance;
        previousHeard = heard[k++];
    }
    EXPECT_GT(heard[3], 3.0f * heard[0]) << "a Nuke far off outsounds a Baby Missile";
}

TEST_F(AudioTest, AFinishedVoiceIsTakenBeforeAPlayingOneAndThenTheOldest) {
    std::vector<unsigned> used;
    for (int i = 0; i < 3; ++i) {
        audio->launch(Vector3(float(i), 0, 0));
        used.push_back(lastPlayed());
    }
    EXPECT_EQ(std::set<unsigned>(used.begin(), used.end()).size(), 3u);
    fakeal::finishAll();
    audio->launch(Vector3(9, 0, 0));
    EXPECT_NE(std::find(used.begin(), used.end(), lastPlayed()), used.end())
        << "a voice that finished plays again";

    // All shared voices busy: the next launch takes the one that started first.
    fakeal::finishAll();
    std::vector<unsigned> order;
    for (int i = 1; i < Audio::poolSize; ++i) {
        audio->launch(Vector3(float(i), 0, 0));
        order.push_back(lastPlayed());
    }
    EXPECT_EQ(std::set<unsigned>(order.begin(), order.end()).size(), order.size());
    const int playsBefore = fakeal::source(order[1])->plays;
    audio->launch(Vector3(99, 0, 0));
    EXPECT_EQ(lastPlayed(), order[0]);
    EXPECT_EQ(fakeal::source(order[0])->position[0], 99.0f);
    EXPECT_EQ(fakeal::source(order[1])->plays, playsBefore);
    EXPECT_EQ(fakeal::playingSources().size(), order.size());
}

TEST_F(AudioTest, ASoundNeverCutsAMoreImportantOne) {
    // Deaths on every shared voice: launches and bursts wait their turn.
    for (int i = 1; i < Audio::poolSize; ++i)
        audio->death(Vector3(float(i), 0, 0));
    const std::size_t plays = fakeal::count("alSourcePlay");
    audio->launch(Vector3(0, 0, 0));
    audio->exploded(Vector3(0, 0, 0), 32.0f);
    audio->split(Vector3(0, 0, 0));
    EXPECT_EQ(fakeal::count("alSourcePlay"), plays);
    EXPECT_EQ(playingWith(audio->buffer(Cue::death)), std::size_t(Audio::poolSize - 1));

    // Launches and bursts mixed: a burst takes the oldest launch, not an older burst.
    fakeal::finishAll();
    for (int i = 1; i < Audio::poolSize; ++i) {
        if (i % 2)
            audio->exploded(Vector3(0, 0, 0), 8.0f);
        else
            audio->launch(Vector3(float(i), 0, 0));
    }
    audio->exploded(Vector3(0, 0, 0), 16.0f);
    EXPECT_EQ(fakeal::source(lastPlayed())->buffer, audio->buffer(Cue::burst16));
    EXPECT_EQ(playingWith(audio->buffer(Cue::burst8)), 8u);
    EXPECT_EQ(playingWith(audio->buffer(Cue::launch)), 6u);
}

// A Death's Head salvo, and more: the result plays on, and a death still gets a voice.
TEST_F(AudioTest, ASalvoNeitherCutsTheResultNorStarvesTheRest) {
    audio->result(false);
    const unsigned fanfare = lastPlayed();
    for (int i = 0; i < 40; ++i)
        audio->exploded(Vector3(float(i), 0, 0), 16.0f);
    const fakeal::Source& result = *fakeal::source(fanfare);
    EXPECT_EQ(result.state, AL_PLAYING);
    EXPECT_EQ(result.buffer, audio->buffer(Cue::win));
    EXPECT_EQ(result.plays, 1);
    EXPECT_EQ(fakeal::playingSources().size(), std::size_t(Audio::poolSize));
    audio->death(Vector3(1, 2, 3));
    EXPECT_EQ(fakeal::source(lastPlayed())->buffer, audio->buffer(Cue::death));
    EXPECT_NE(lastPlayed(), fanfare);
    // Announced again after Esc: the same voice starts over.
    audio->result(false);
    EXPECT_EQ(lastPlayed(), fanfare);
}

TEST_F(AudioTest, TheListenerStandsAtTheCameraAndFacesItsWay) {
    audio->setListener(Vector3(50, 25, 100), Vector3(0, 90, 0));
    EXPECT_EQ(fakeal::listenerPosition(), (std::vector<float>{50, 25, 100}));
    const std::vector<float> o = fakeal::listenerOrientation();
    ASSERT_EQ(o.size(), 6u);
    EXPECT_NEAR(o[0], 1.0f, 1e-6f); // looking along +x
    EXPECT_NEAR(o[2], 0.0f, 1e-6f);
    EXPECT_NEAR(o[4], 1.0f, 1e-6f); // head up
}

// The camera's own examples: rotation (0, 0, 0) looks along -z with +y up, and
// (0, 90, 0) along +x; a positive x rotation tips the view down.
TEST(ListenerOrientation, SeesWhatTheCameraShows) {
    struct Case {
        Vector3 rotation, at, up;
    };
    const float h = std::sqrt(0.5f);
    const Case cases[] = {
        {{0, 0, 0}, {0, 0, -1}, {0, 1, 0}},
        {{0, 90, 0}, {1, 0, 0}, {0, 1, 0}},
        {{0, 180, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, -90, 0}, {-1, 0, 0}, {0, 1, 0}},
        {{90, 0, 0}, {0, -1, 0}, {0, 0, -1}},
        {{45, 0, 0}, {0, -h, -h}, {0, h, -h}},
        {{30, 90, 0}, {0.8660254f, -0.5f, 0}, {0.5f, 0.8660254f, 0}},
        {{0, 0, 90}, {0, 0, -1}, {1, 0, 0}}, // rolled: the world's +x shows at the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.rotation.x << ", " << c.rotation.y << ", " << c.rotation.z);
        const ListenerOrientation o = listenerOrientation(c.rotation);
        EXPECT_NEAR(o.at.x, c.at.x, 1e-5f);
        EXPECT_NEAR(o.at.y, c.at.y, 1e-5f);
        EXPECT_NEAR(o.at.z, c.at.z, 1e-5f);
        EXPECT_NEAR(o.up.x, c.up.x, 1e-5f);
        EXPECT_NEAR(o.up.y, c.up.y, 1e-5f);
        EXPECT_NEAR(o.up.z, c.up.z, 1e-5f);
    }
}

TEST(AudioSounds, ThePackLoadsWholeAndMissingFilesAreNamedOnce) {
    fakeal::reset();
    CaptureStreams capture;
    {
        Audio audio;
        audio.loadSounds(packSounds);
        for (Cue cue : allCues) {
            const fakeal::Buffer* b = fakeal::buffer(audio.buffer(cue));
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->format, AL_FORMAT_MONO16);
            EXPECT_EQ(b->rate, 22050);
            EXPECT_GT(b->bytes, 22050 / 4);
        }
    }
    EXPECT_EQ(capture.err(), "");

    // Seven of the nine, one of them spoiled, one missing: one line for both.
    TempDir dir;
    for (const char* name : {"burst4", "burst8", "burst16", "burst32", "split", "death", "draw"})
        std::filesystem::copy_file(packSounds + name + ".wav",
                                   dir.path(std::string(name) + ".wav"));
    dir.write("win.wav", "RIFF, but then nothing");
    fakeal::reset();
    capture.clear();
    Audio audio;
    audio.loadSounds(dir.path(""));
    EXPECT_EQ(capture.err(), "Sound: 2 of 9 sound files missing or bad (" + dir.path("") +
                                 "launch.wav cannot be opened); playing without them.\n");
    EXPECT_EQ(audio.buffer(Cue::launch), 0u);
    EXPECT_EQ(audio.buffer(Cue::win), 0u);
    audio.launch(Vector3(0, 0, 0));
    audio.result(false);
    EXPECT_EQ(fakeal::count("alSourcePlay"), 0u);
    audio.result(true);
    EXPECT_EQ(fakeal::count("alSourcePlay"), 1u);
    EXPECT_EQ(capture.out(), "");
}
