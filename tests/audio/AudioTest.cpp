#include "audio/Audio.h"
#include "support/FakeAL.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string packSounds = std::string(VANTRELL_GAME_DIR) + "/data/sounds/";

// An Audio on a fresh fake device with the pack's sounds; it must never write
// a trace line.
class AudioTest : public ::testing::Test {
protected:
    void SetUp() override { audio.loadSounds(packSounds); }
    void TearDown() override { EXPECT_EQ(capture.out() + capture.err(), ""); }

    static unsigned lastVoice() { return fakeal::state().played.back(); }
    static std::size_t plays() { return fakeal::state().played.size(); }
    std::size_t playing(Cue cue) const {
        const auto& sources = fakeal::state().sources;
        return std::count_if(sources.begin(), sources.end(), [&](const auto& named) {
            return named.second.playing && named.second.buffer == audio.buffer(cue);
        });
    }

    struct FreshDevice {
        FreshDevice() { fakeal::reset(); }
    } fresh; // before the Audio opens it
    TraceCapture capture;
    Audio audio;
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
        fakeal::state().deviceAvailable = c.device;
        fakeal::state().contextAvailable = c.context;
        fakeal::state().sourceLimit = c.sources;
        TraceCapture capture;
        Audio audio;
        audio.loadSounds(packSounds);
        audio.exploded(Vector3(1, 2, 3), 32.0f);
        audio.result(true);
        EXPECT_FALSE(audio.active() || fakeal::state().deviceOpen);
        EXPECT_TRUE(fakeal::state().sources.empty() && fakeal::state().played.empty());
        EXPECT_EQ(capture.err(), "Sound: " + c.why + "; playing without sound.\n");
        EXPECT_EQ(capture.out(), "");
    }
}

// A burst by its blast radius, a Nuke's for anything bigger, where it happened;
// the result's sounds inside the head, wherever the listener stands. (The core's
// sound test hears the launch, the split and a death where they happen.)
TEST_F(AudioTest, BurstsGoByTheBlastAndTheResultSoundsInsideTheHead) {
    const Vector3 p(12.0f, 34.0f, 56.0f);
    for (const auto& [radius, cue] : {std::pair{4.02f, Cue::burst4}, std::pair{8.04f, Cue::burst8},
                                      std::pair{16.0f, Cue::burst16}, std::pair{90.0f, Cue::burst32}}) {
        audio.exploded(p, radius);
        EXPECT_EQ(fakeal::last().buffer, audio.buffer(cue)) << radius;
        EXPECT_TRUE(fakeal::last().position == p && !fakeal::last().relative) << radius;
    }
    for (const auto& [draw, cue] : {std::pair{false, Cue::win}, std::pair{true, Cue::draw}}) {
        fakeal::finishAll();
        audio.result(draw);
        EXPECT_EQ(fakeal::last().buffer, audio.buffer(cue)) << draw;
        EXPECT_TRUE(fakeal::last().position == Vector3() && fakeal::last().relative) << draw;
    }
}

// A voice that finished is taken first; with all busy, the oldest of the least
// important, never one more important than the new sound; and nothing takes the
// result's voice, through a Death's Head salvo and more.
TEST_F(AudioTest, VoicesAreReusedWithoutCuttingAMoreImportantSound) {
    audio.result(false);
    const unsigned fanfare = lastVoice();
    audio.launch(Vector3());
    const unsigned first = lastVoice();
    fakeal::state().sources.at(first).playing = false; // the launch is over
    audio.launch(Vector3());
    EXPECT_EQ(lastVoice(), first);

    // Launches and Missile bursts alternate on every shared voice.
    std::vector<unsigned> busy{first};
    for (int i = 2; i < Audio::poolSize; ++i) {
        i % 2 ? audio.launch(Vector3()) : audio.exploded(Vector3(), 8.0f);
        busy.push_back(lastVoice());
    }
    audio.launch(Vector3()); // takes the oldest launch, not the older burst
    EXPECT_EQ(lastVoice(), busy[0]);
    EXPECT_EQ(playing(Cue::burst8), 7u);

    // Deaths everywhere: nothing less important gets in, another death does.
    for (int i = 0; i < 40; ++i)
        audio.death(Vector3());
    const std::size_t before = plays();
    audio.exploded(Vector3(), 32.0f);
    audio.split(Vector3());
    EXPECT_EQ(plays(), before);
    audio.death(Vector3());
    EXPECT_EQ(plays(), before + 1);
    EXPECT_EQ(std::count(fakeal::state().played.begin(), fakeal::state().played.end(), fanfare), 1);
    EXPECT_EQ(playing(Cue::win), 1u);
}

// Seven of the nine, one of them spoiled, one missing: one line for both, and
// the game plays the others.
TEST(AudioSounds, MissingAndBadFilesAreNamedOnceAndLeftOut) {
    fakeal::reset();
    TraceCapture capture;
    TempDir dir;
    for (const char* name : {"burst4", "burst8", "burst16", "burst32", "split", "death", "draw"})
        std::filesystem::copy_file(packSounds + name + ".wav",
                                   dir.path(name + std::string(".wav")));
    dir.write("win.wav", "RIFF, but then nothing");
    Audio audio;
    audio.loadSounds(dir.path(""));
    EXPECT_EQ(capture.err(), "Sound: 2 of 9 sound files missing or bad (" + dir.path("") +
                                 "launch.wav cannot be opened); playing without them.\n");
    audio.launch(Vector3());
    audio.result(false);
    EXPECT_TRUE(fakeal::state().played.empty());
    audio.result(true);
    EXPECT_EQ(fakeal::state().played.size(), 1u);
}
