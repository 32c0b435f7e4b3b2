#include "audio/Audio.h"

#include "assets/Sound.h"
#include "support/CaptureStreams.h"
#include "support/FakeAL.h"
#include "support/TempDir.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace {

const std::string packSounds = std::string(VANTRELL_GAME_DIR) + "/data/sounds/";

const Cue allCues[] = {Cue::launch, Cue::burst4, Cue::burst8, Cue::burst16, Cue::burst32,
                       Cue::split,  Cue::death,  Cue::win,    Cue::draw};

// An Audio on the fake device, every cue given a sound; it must never write a
// trace line.
class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeal::reset();
        audio = std::make_unique<Audio>();
        Sound sound;
        sound.sampleRate = 22050;
        sound.samples.assign(100, 1000);
        for (Cue cue : allCues)
            ASSERT_TRUE(audio->setSound(cue, sound));
    }
    void TearDown() override {
        audio.reset();
        EXPECT_EQ(capture.out(), "");
    }

    static const fakeal::Source& last() { return *fakeal::source(fakeal::played().back()); }
    static std::size_t playing(unsigned buffer) {
        std::size_t n = 0;
        for (unsigned name : fakeal::sources(true))
            n += fakeal::source(name)->buffer == buffer;
        return n;
    }

    CaptureStreams capture;
    std::unique_ptr<Audio> audio;
};

} // namespace

TEST(AudioWithoutDevice, SaysOnceWhatItPlaysWithoutAndStaysSilent) {
    struct Case {
        bool device, context;
        int sources;
        std::string why;
    };
    for (const Case& c : {Case{false, true, 256, "no audio device could be opened"},
                          Case{true, false, 256, "the audio device could not be set up"},
                          Case{true, true, 1, "the audio device has no voices to spare"}}) {
        SCOPED_TRACE(c.why);
        fakeal::reset();
        fakeal::setDeviceAvailable(c.device);
        fakeal::setContextAvailable(c.context);
        fakeal::setSourceLimit(c.sources);
        CaptureStreams capture;
        {
            Audio audio;
            EXPECT_FALSE(audio.active() || fakeal::deviceOpen() || fakeal::contextCurrent());
            const std::size_t calls = fakeal::calls().size();
            audio.loadSounds(packSounds); // not even looked at
            audio.setListener(Vector3(1, 2, 3), Vector3(0, 90, 0));
            audio.launch(Vector3(1, 2, 3));
            audio.exploded(Vector3(1, 2, 3), 32.0f);
            audio.death(Vector3(1, 2, 3));
            audio.result(true);
            EXPECT_EQ(fakeal::calls().size(), calls);
        }
        EXPECT_EQ(capture.err(), "Sound: " + c.why + "; playing without sound.\n");
        EXPECT_EQ(capture.out(), "");
        EXPECT_TRUE(fakeal::sources().empty());
    }
}

TEST_F(AudioTest, OpensAPoolOfVoicesAndLetsGoOfEverythingInOrder) {
    EXPECT_TRUE(fakeal::contextCurrent());
    EXPECT_EQ(fakeal::distanceModel(), AL_INVERSE_DISTANCE_CLAMPED);
    ASSERT_EQ(fakeal::sources().size(), std::size_t(Audio::poolSize));
    for (unsigned name : fakeal::sources())
        EXPECT_GE(fakeal::source(name)->maxDistance, 300.0f) << "the whole field is in reach";
    const unsigned burst = audio->buffer(Cue::burst8);

    audio.reset();
    EXPECT_TRUE(fakeal::sources().empty());
    EXPECT_EQ(fakeal::buffer(burst), nullptr);
    const std::vector<std::string>& calls = fakeal::calls();
    EXPECT_EQ(
        std::vector<std::string>(calls.end() - 3, calls.end()),
        (std::vector<std::string>{"alcMakeContextCurrent", "alcDestroyContext", "alcCloseDevice"}));
    EXPECT_FALSE(fakeal::contextCurrent() || fakeal::deviceOpen());

    fakeal::reset();
    fakeal::setSourceLimit(5);
    EXPECT_EQ(Audio().voiceCount(), 5u) << "a device with few sources gives what it has";
}

TEST_F(AudioTest, EachEventPlaysItsCueWhereItHappened) {
    struct Case {
        const char* name;
        std::function<void(Audio&, const Vector3&)> event;
        Cue cue;
    };
    const Case cases[] = {
        {"launch", [](Audio& a, const Vector3& p) { a.launch(p); }, Cue::launch},
        {"split", [](Audio& a, const Vector3& p) { a.split(p); }, Cue::split},
        {"death", [](Audio& a, const Vector3& p) { a.death(p); }, Cue::death},
        {"baby missile", [](Audio& a, const Vector3& p) { a.exploded(p, 4.02f); }, Cue::burst4},
        {"missile", [](Audio& a, const Vector3& p) { a.exploded(p, 8.04f); }, Cue::burst8},
        {"baby nuke", [](Audio& a, const Vector3& p) { a.exploded(p, 16.0f); }, Cue::burst16},
        {"nuke", [](Audio& a, const Vector3& p) { a.exploded(p, 32.03f); }, Cue::burst32},
        {"smaller than any", [](Audio& a, const Vector3& p) { a.exploded(p, 1.0f); }, Cue::burst4},
        {"bigger than any", [](Audio& a, const Vector3& p) { a.exploded(p, 90.0f); }, Cue::burst32},
        // Inside the head: at the listener's centre, wherever it stands.
        {"win", [](Audio& a, const Vector3&) { a.result(false); }, Cue::win},
        {"draw", [](Audio& a, const Vector3&) { a.result(true); }, Cue::draw},
    };
    const Vector3 p(12.0f, 34.0f, 56.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t plays = fakeal::played().size();
        c.event(*audio, p);
        ASSERT_EQ(fakeal::played().size(), plays + 1);
        const bool inHead = c.cue == Cue::win || c.cue == Cue::draw;
        EXPECT_EQ(last().buffer, audio->buffer(c.cue));
        EXPECT_EQ(Vector3(last().position[0], last().position[1], last().position[2]),
                  inHead ? Vector3(0, 0, 0) : p);
        EXPECT_EQ(last().relative, inHead);
        EXPECT_TRUE(last().gain > 0.3f && last().gain <= 1.0f) << last().gain;
        EXPECT_NEAR(last().pitch, 1.0f, 0.05f);
        fakeal::finishAll();
    }
}

// Heard from 100 units away, under OpenAL's clamped inverse distance law.
TEST_F(AudioTest, BiggerBurstsAreLouderAndCarryFurther) {
    std::vector<float> gains, reaches, heard;
    for (float radius : {4.0f, 8.0f, 16.0f, 32.0f}) {
        audio->exploded(Vector3(0, 0, 0), radius);
        const fakeal::Source& s = last();
        gains.push_back(s.gain);
        reaches.push_back(s.referenceDistance);
        heard.push_back(s.gain * s.referenceDistance /
                        (s.referenceDistance + s.rolloff * (100.0f - s.referenceDistance)));
    }
    for (const std::vector<float>* growing : {&gains, &reaches, &heard})
        EXPECT_TRUE(std::is_sorted(growing->begin(), growing->end()) &&
                    std::set<float>(growing->begin(), growing->end()).size() == 4);
    EXPECT_GT(heard[3], 3.0f * heard[0]) << "a Nuke far off outsounds a Baby Missile";
}

// A voice that finished is taken first; with all busy, the oldest of the least
// important, never one more important than the new sound.
TEST_F(AudioTest, VoicesAreReusedWithoutCuttingAMoreImportantSound) {
    audio->launch(Vector3(1, 0, 0));
    const unsigned first = fakeal::played().back();
    fakeal::finishAll();
    audio->launch(Vector3(2, 0, 0));
    EXPECT_EQ(fakeal::played().back(), first);

    // Launches and Missile bursts alternate on every shared voice.
    fakeal::finishAll();
    for (int i = 1; i < Audio::poolSize; ++i) {
        if (i % 2)
            audio->exploded(Vector3(float(i), 0, 0), 8.0f);
        else
            audio->launch(Vector3(float(i), 0, 0));
    }
    const std::vector<unsigned> busy(fakeal::played().end() - 15, fakeal::played().end());
    EXPECT_EQ(std::set<unsigned>(busy.begin(), busy.end()).size(), 15u);
    audio->launch(Vector3(99, 0, 0)); // takes the oldest launch, not the older burst
    EXPECT_EQ(fakeal::played().back(), busy[1]);
    audio->exploded(Vector3(0, 0, 0), 16.0f); // takes the next launch
    EXPECT_EQ(fakeal::played().back(), busy[3]);
    EXPECT_EQ(playing(audio->buffer(Cue::burst8)), 8u);

    // Deaths everywhere: nothing less important gets in, another death does.
    for (int i = 1; i < Audio::poolSize; ++i)
        audio->death(Vector3(float(i), 0, 0));
    const std::size_t plays = fakeal::played().size();
    audio->launch(Vector3(0, 0, 0));
    audio->exploded(Vector3(0, 0, 0), 32.0f);
    audio->split(Vector3(0, 0, 0));
    EXPECT_EQ(fakeal::played().size(), plays);
    audio->death(Vector3(0, 0, 0));
    EXPECT_EQ(fakeal::played().size(), plays + 1);
    EXPECT_EQ(playing(audio->buffer(Cue::death)), std::size_t(Audio::poolSize - 1));
}

// A Death's Head salvo and more: the result plays on, and a death still gets a voice.
TEST_F(AudioTest, ASalvoNeitherCutsTheResultNorStarvesTheRest) {
    audio->result(false);
    const unsigned fanfare = fakeal::played().back();
    for (int i = 0; i < 40; ++i)
        audio->exploded(Vector3(float(i), 0, 0), 16.0f);
    EXPECT_EQ(fakeal::source(fanfare)->state, AL_PLAYING);
    EXPECT_EQ(fakeal::source(fanfare)->buffer, audio->buffer(Cue::win));
    EXPECT_EQ(fakeal::source(fanfare)->plays, 1);
    EXPECT_EQ(fakeal::sources(true).size(), std::size_t(Audio::poolSize));
    audio->death(Vector3(1, 2, 3));
    EXPECT_EQ(last().buffer, audio->buffer(Cue::death));
    audio->result(false); // announced again after Esc: its own voice starts over
    EXPECT_EQ(fakeal::played().back(), fanfare);
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
        }
    }
    EXPECT_EQ(capture.err(), "");

    // Seven of the nine, one of them spoiled, one missing: one line for both.
    TempDir dir;
    for (const char* name : {"burst4", "burst8", "burst16", "burst32", "split", "death", "draw"})
        std::filesystem::copy_file(packSounds + name + ".wav",
                                   dir.path(name + std::string(".wav")));
    dir.write("win.wav", "RIFF, but then nothing");
    Audio audio;
    audio.loadSounds(dir.path(""));
    EXPECT_EQ(capture.err(), "Sound: 2 of 9 sound files missing or bad (" + dir.path("") +
                                 "launch.wav cannot be opened); playing without them.\n");
    audio.launch(Vector3(0, 0, 0));
    audio.result(false);
    EXPECT_TRUE(fakeal::played().empty());
    audio.result(true);
    EXPECT_EQ(fakeal::played().size(), 1u);
    EXPECT_EQ(capture.out(), "");
}
