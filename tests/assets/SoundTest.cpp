#include "assets/Sound.h"

#include "support/CaptureStreams.h"
#include "support/TempDir.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// A WAV file made byte by byte, so a test can write any header, honest or not.
struct Wav {
    int formatTag = 1; // 1 integer PCM, 3 float
    int channels = 1;
    int rate = 22050;
    int bits = 16;
    std::uint32_t frames = 100; // written
    std::int64_t declared = -1; // data bytes the header claims; -1: the truth
    std::size_t cutAt = 0;      // keep only this many bytes of the file; 0: all

    std::string bytes() const {
        std::string out;
        const auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                out += static_cast<char>((v >> (8 * i)) & 0xff);
        };
        const auto u16 = [&](unsigned v) {
            out += static_cast<char>(v & 0xff);
            out += static_cast<char>((v >> 8) & 0xff);
        };
        const std::uint32_t blockAlign = channels * bits / 8;
        const std::uint32_t dataBytes = frames * blockAlign;
        const std::uint32_t claimed = declared < 0 ? dataBytes : std::uint32_t(declared);
        out += "RIFF";
        u32(36 + claimed);
        out += "WAVEfmt ";
        u32(16);
        u16(formatTag);
        u16(channels);
        u32(rate);
        u32(rate * blockAlign);
        u16(blockAlign);
        u16(bits);
        out += "data";
        u32(claimed);
        // A ramp, so the samples read back can be checked one by one.
        for (std::uint32_t i = 0; i < frames * channels; ++i) {
            if (formatTag == 3) {
                const float value = (i % 100) / 200.0f;
                std::uint32_t raw;
                static_assert(sizeof raw == sizeof value, "a float is 32 bits");
                std::memcpy(&raw, &value, sizeof raw);
                u32(raw);
            } else {
                u16(static_cast<unsigned>(static_cast<std::int16_t>(i * 100)) & 0xffff);
            }
        }
        return cutAt ? out.substr(0, cutAt) : out;
    }
};

// The bytes of a mono file of `frames` of a ramp, written by libsndfile.
std::string writtenBy(const TempDir& dir, int format, int frames) {
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(dir.path("written").c_str(), SFM_WRITE, &info);
    std::vector<float> samples(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.25f * static_cast<float>(i % 50) / 50.0f;
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    std::ifstream in(dir.path("written"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Wav with(void (*change)(Wav&)) {
    Wav w;
    change(w);
    return w;
}

struct Loaded {
    bool ok;
    Sound sound;
    std::string problem;
    std::string out; // both streams: the loader must write nothing
};

Loaded load(const std::string& path) {
    Loaded result{};
    CaptureStreams capture;
    result.ok = loadSound(path.c_str(), result.sound, result.problem);
    result.out = capture.out() + capture.err();
    return result;
}

} // namespace

// Every plain encoding comes out as 16-bit samples, exactly for 16-bit files and
// scaled to the 16-bit range for others; the bounds themselves are taken.
TEST(Sound, GoodFilesLoadAsMono16BitSamples) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t frames;
        std::size_t at; // a sample to check
        double value;
    };
    TempDir dir;
    const Case cases[] = {
        {"16-bit", Wav().bytes(), 100, 99, 9900},
        {"floats at 96 kHz", with([](Wav& w) {
                                 w.formatTag = 3;
                                 w.bits = 32;
                                 w.rate = 96000;
                             }).bytes(),
         100, 50, 0.25 * 32768},
        {"24-bit extensible", writtenBy(dir, SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 11025), 11025, 49,
         0.245 * 32768},
        {"ten seconds at 8 kHz", with([](Wav& w) {
                                     w.rate = 8000;
                                     w.frames = 80000;
                                 }).bytes(),
         80000, 1, 100},
        {"ten seconds of floats at 96 kHz", with([](Wav& w) {
                                                w.formatTag = 3, w.bits = 32, w.rate = 96000,
                                                w.frames = 960000;
                                            }).bytes(),
         960000, 50, 0.25 * 32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Loaded r = load(dir.write("good.wav", c.bytes));
        ASSERT_TRUE(r.ok) << r.problem;
        EXPECT_EQ(r.problem + r.out, "");
        ASSERT_EQ(r.sound.samples.size(), c.frames);
        EXPECT_NEAR(r.sound.samples[c.at], c.value, 1.0);
        EXPECT_NEAR(r.sound.seconds(), double(c.frames) / r.sound.sampleRate, 1e-6);
    }
}

TEST(Sound, BadFilesAreRefusedWithTheirReasonAndLeaveNothing) {
    struct Case {
        const char* name;
        std::string bytes; // not written at all for "missing"
        const char* reason;
    };
    TempDir dir;
    std::string tooLarge = with([](Wav& w) { w.frames = 1000; }).bytes();
    tooLarge.resize(maxSoundFileBytes + 1, '\0');
    const Case cases[] = {
        {"missing", "", "cannot be opened"},
        {"empty", "", "is not a WAV file"},
        {"text", "vertices 1 2 3\n", "is not a WAV file"},
        {"picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, "is not a WAV file"},
        {"riff of another kind", "RIFF\x04\0\0\0AVI LIST"s, "is not a WAV file"},
        {"ogg", writtenBy(dir, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1000), "is not a WAV file"},
        {"compressed", writtenBy(dir, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1000), "compressed"},
        {"header cut short", with([](Wav& w) { w.cutAt = 30; }).bytes(), "cannot be decoded"},
        {"stereo", with([](Wav& w) { w.channels = 2; }).bytes(), "has 2 channels"},
        {"rate too low", with([](Wav& w) { w.rate = 4000; }).bytes(), "plays at 4000 Hz"},
        {"rate too high", with([](Wav& w) { w.rate = 192000; }).bytes(), "plays at 192000 Hz"},
        {"too long", with([](Wav& w) {
                         w.rate = 8000;
                         w.frames = 80001;
                     }).bytes(),
         "lasts longer"},
        {"no frames", with([](Wav& w) { w.frames = 0; }).bytes(), "holds no sound"},
        {"no samples at all", with([](Wav& w) {
                                  w.frames = 0;
                                  w.declared = 2000;
                              }).bytes(),
         "holds no sound"},
        {"larger than any sound", tooLarge, "larger"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("bad.wav");
        std::remove(path.c_str());
        if (std::string(c.name) != "missing")
            dir.write("bad.wav", c.bytes);
        const Loaded r = load(path);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.problem.find(c.reason), std::string::npos) << r.problem;
        EXPECT_TRUE(r.sound.samples.empty());
        EXPECT_EQ(r.sound.sampleRate, 0);
        EXPECT_EQ(r.out, "");
    }
}

// A header's length is only a promise. What loads is what the file really holds,
// never more, and no room is made for more than that.
TEST(Sound, LengthInTheHeaderIsHeldToTheFile) {
    struct Case {
        const char* name;
        Wav wav;
        std::size_t frames; // what the file holds
    };
    const Case cases[] = {
        {"huge declared length", with([](Wav& w) { w.declared = 0x7ffffff0; }), 100},
        {"ten seconds declared", with([](Wav& w) { w.declared = 441000; }), 100},
        {"cut in the samples", with([](Wav& w) {
             w.frames = 1000;
             w.cutAt = 1000;
         }),
         478},
        {"cut in a sample", with([](Wav& w) { w.cutAt = 45; }), 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Loaded r = load(dir.write("short.wav", c.wav.bytes()));
        EXPECT_EQ(r.ok, c.frames > 0) << r.problem;
        EXPECT_EQ(r.sound.samples.size(), c.frames);
        EXPECT_LE(r.sound.samples.capacity(), std::size_t{4096} + c.frames);
        for (std::size_t i = 0; i < r.sound.samples.size(); ++i)
            ASSERT_EQ(r.sound.samples[i], static_cast<std::int16_t>(i * 100)) << i;
    }
}
