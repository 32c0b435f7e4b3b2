#include "assets/Sound.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out;
}

// A WAV file made byte by byte, so a test can write any header, honest or not.
// It holds a ramp that wraps round: sample i is i * 100 as a 16-bit integer, or
// as a float of the same value. Tag 1 is integer samples, 3 floats, 7 mu-law.
std::string wav(std::uint32_t frames, int rate = 22050, int channels = 1, int tag = 1,
                int bits = 16) {
    const std::uint32_t align = channels * bits / 8;
    std::string out = "RIFF" + le(36 + frames * align, 4) + "WAVEfmt " + le(16, 4) + le(tag, 2) +
                      le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) +
                      le(bits, 2) + "data" + le(frames * align, 4);
    for (std::uint32_t i = 0; i < frames * channels; ++i) {
        const float value = static_cast<std::int16_t>(i * 100) / 32768.0f;
        std::uint32_t raw;
        std::memcpy(&raw, &value, sizeof raw);
        out += bits == 32 ? le(raw, 4) : le(i * 100, bits / 8);
    }
    return out;
}

// The same file with another data length in its header.
std::string declaring(std::string bytes, std::uint32_t dataBytes) {
    return bytes.replace(40, 4, le(dataBytes, 4));
}

} // namespace

// Every file is read back either whole, as exact 16-bit samples, or refused with
// its reason, leaving nothing. A header's length is only a promise: what loads
// is what the file really holds, and no room is made for more. The bounds
// themselves are taken.
TEST(Sound, FilesLoadAsWhatTheyHoldOrAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        std::string bytes;  // not written at all for "missing"
        std::size_t frames; // loaded, 0 when refused
        const char* reason;
    };
    std::string tooLarge = wav(1000);
    tooLarge.resize(maxSoundFileBytes + 1, '\0');
    const Case cases[] = {
        {"16-bit", wav(100), 100, ""},
        {"ten seconds at 8 kHz", wav(80000, 8000), 80000, ""},
        {"ten seconds of floats at 96 kHz", wav(960000, 96000, 1, 3, 32), 960000, ""},
        {"huge declared length", declaring(wav(100), 0x7ffffff0), 100, ""},
        {"cut in the samples", wav(1000).substr(0, 1000), 478, ""},
        {"cut in the first sample", wav(100).substr(0, 45), 0, "holds no sound"},
        {"missing", "", 0, "cannot be opened"},
        {"text", "vertices 1 2 3\n", 0, "is not a WAV file"},
        {"riff of another kind", std::string("RIFF\x04\0\0\0AVI LIST", 16), 0, "is not a WAV file"},
        {"mu-law", wav(1000, 8000, 1, 7, 8), 0, "compressed"},
        {"header cut short", wav(100).substr(0, 30), 0, "cannot be decoded"},
        {"stereo", wav(100, 22050, 2), 0, "has 2 channels"},
        {"rate too low", wav(100, 4000), 0, "plays at 4000 Hz"},
        {"rate too high", wav(100, 192000), 0, "plays at 192000 Hz"},
        {"too long", wav(80001, 8000), 0, "lasts longer"},
        {"larger than any sound", tooLarge, 0, "larger"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("sound.wav");
        std::remove(path.c_str());
        if (std::string(c.name) != "missing")
            dir.write("sound.wav", c.bytes);
        Sound sound;
        std::string problem;
        TraceCapture capture;
        EXPECT_EQ(loadSound(path.c_str(), sound, problem), c.frames > 0);
        EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
        EXPECT_EQ(problem.empty(), c.frames > 0) << problem;
        EXPECT_EQ(capture.out() + capture.err(), "");
        ASSERT_EQ(sound.samples.size(), c.frames);
        EXPECT_LE(sound.samples.capacity(), 2 * c.frames + 4096); // grown, never reserved
        for (std::size_t i = 0; i < c.frames; ++i)
            ASSERT_EQ(sound.samples[i], static_cast<std::int16_t>(i * 100)) << i;
    }
}
