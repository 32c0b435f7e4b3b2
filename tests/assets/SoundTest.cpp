#include "assets/Sound.h"

#include "support/CaptureStreams.h"
#include "support/TempDir.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
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

// A file of `frames` of a quiet ramp in a format libsndfile writes.
void writeWith(const std::string& path, int format, int frames, int channels) {
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.25f * static_cast<float>((i / channels) % 50) / 50.0f;
    EXPECT_EQ(sf_writef_float(file, samples.data(), frames), frames);
    sf_close(file);
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

TEST(Sound, GoodFilesLoadAsMono16BitSamples) {
    TempDir dir;
    Wav pcm;
    Loaded a = load(dir.write("pcm.wav", pcm.bytes()));
    ASSERT_TRUE(a.ok) << a.problem;
    EXPECT_EQ(a.sound.sampleRate, 22050);
    ASSERT_EQ(a.sound.samples.size(), 100u);
    EXPECT_EQ(a.sound.samples[0], 0);
    EXPECT_EQ(a.sound.samples[99], 9900);
    EXPECT_EQ(a.problem, "");
    EXPECT_EQ(a.out, "");

    // Floats in -1 to 1 come out scaled to the 16-bit range.
    Wav floats;
    floats.formatTag = 3;
    floats.bits = 32;
    floats.rate = 96000;
    Loaded b = load(dir.write("float.wav", floats.bytes()));
    ASSERT_TRUE(b.ok) << b.problem;
    ASSERT_EQ(b.sound.samples.size(), 100u);
    EXPECT_NEAR(b.sound.samples[50], 0.25 * 32767, 2);

    writeWith(dir.path("extensible.wav"), SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, 11025, 1);
    Loaded c = load(dir.path("extensible.wav"));
    ASSERT_TRUE(c.ok) << c.problem;
    EXPECT_EQ(c.sound.samples.size(), 11025u);
    EXPECT_NEAR(c.sound.seconds(), 0.5f, 1e-6f);
    EXPECT_NEAR(c.sound.samples[49], 0.25 * 49 / 50 * 32768, 1);

    // The longest and the bounds of the rate are taken.
    Wav longest;
    longest.rate = 8000;
    longest.frames = 80000;
    EXPECT_TRUE(load(dir.write("ten.wav", longest.bytes())).ok);
}

TEST(Sound, BadFilesAreRefusedWithTheirReasonAndLeaveNothing) {
    struct Case {
        const char* name;
        std::string bytes; // empty: the file is not written at all
        const char* reason;
    };
    const auto wav = [](auto change) {
        Wav w;
        change(w);
        return w.bytes();
    };
    const Case cases[] = {
        {"missing", "", "cannot be opened"},
        {"empty", "", "is not a WAV file"},
        {"text", "vertices 1 2 3\n", "is not a WAV file"},
        {"picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, "is not a WAV file"},
        {"riff of another kind", "RIFF\x04\0\0\0AVI LIST"s, "is not a WAV file"},
        {"header cut short", wav([](Wav& w) { w.cutAt = 30; }), "cannot be decoded"},
        {"stereo", wav([](Wav& w) { w.channels = 2; }), "has 2 channels"},
        {"rate too low", wav([](Wav& w) { w.rate = 4000; }), "plays at 4000 Hz"},
        {"rate too high", wav([](Wav& w) { w.rate = 192000; }), "plays at 192000 Hz"},
        {"too long", wav([](Wav& w) {
             w.rate = 8000;
             w.frames = 80001;
         }),
         "lasts longer"},
        {"no frames", wav([](Wav& w) { w.frames = 0; }), "holds no sound"},
        {"no samples at all", wav([](Wav& w) {
             w.frames = 0;
             w.declared = 2000;
         }),
         "holds no sound"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("bad.wav");
        std::remove(path.c_str());
        if (std::string(c.name) != "missing")
            dir.write("bad.wav", c.bytes);
        Loaded r = load(path);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.problem.find(c.reason), std::string::npos) << r.problem;
        EXPECT_TRUE(r.sound.samples.empty());
        EXPECT_EQ(r.sound.sampleRate, 0);
        EXPECT_EQ(r.out, "");
    }

    // Sound files of other kinds, or WAV files that compress, even valid ones.
    const struct {
        const char* name;
        int format;
        int channels;
        const char* reason;
    } others[] = {
        {"ogg.wav", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, "is not a WAV file"},
        {"flac.wav", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, "is not a WAV file"},
        {"adpcm.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, "compressed"},
        {"stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, "has 2 channels"},
    };
    for (const auto& other : others) {
        SCOPED_TRACE(other.name);
        writeWith(dir.path(other.name), other.format, 1000, other.channels);
        EXPECT_NE(load(dir.path(other.name)).problem.find(other.reason), std::string::npos);
    }
}

TEST(Sound, FileLargerThanAnySoundIsRefusedBeforeItIsRead) {
    TempDir dir;
    Wav big;
    big.rate = 96000;
    big.frames = 96000 * 10; // ten seconds of 32-bit floats fit; more bytes do not
    big.formatTag = 3;
    big.bits = 32;
    std::string bytes = big.bytes();
    ASSERT_LT(bytes.size(), maxSoundFileBytes);
    EXPECT_TRUE(load(dir.write("fits.wav", bytes)).ok);
    bytes.resize(maxSoundFileBytes + 1, '\0');
    EXPECT_NE(load(dir.write("big.wav", bytes)).problem.find("larger"), std::string::npos);
}

// A header's length is only a promise. What loads is what the file really holds,
// never more, and no room is made for more than that.
TEST(Sound, LengthInTheHeaderIsHeldToTheFile) {
    struct Case {
        const char* name;
        Wav wav;
        std::size_t frames; // what the file holds
    };
    const auto wav = [](auto change) {
        Wav w;
        change(w);
        return w;
    };
    const Case cases[] = {
        {"huge declared length", wav([](Wav& w) { w.declared = 0x7ffffff0; }), 100},
        {"ten seconds declared", wav([](Wav& w) { w.declared = 441000; }), 100},
        {"cut in the samples", wav([](Wav& w) {
             w.frames = 1000;
             w.cutAt = 1000;
         }),
         478},
        {"cut in a sample", wav([](Wav& w) { w.cutAt = 45; }), 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded r = load(dir.write("short.wav", c.wav.bytes()));
        EXPECT_EQ(r.ok, c.frames > 0) << r.problem;
        EXPECT_EQ(r.sound.samples.size(), c.frames);
        EXPECT_LE(r.sound.samples.capacity(), std::size_t{4096} + c.frames);
        for (std::size_t i = 0; i < r.sound.samples.size(); ++i)
            ASSERT_EQ(r.sound.samples[i], static_cast<std::int16_t>(i * 100)) << i;
    }
}
