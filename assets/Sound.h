#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One channel of 16-bit samples, the form the audio layer hands to the device.
struct Sound {
    int sampleRate = 0; // frames per second
    std::vector<std::int16_t> samples;

    float seconds() const { return sampleRate > 0 ? float(samples.size()) / sampleRate : 0.0f; }
};

// What the loader takes. Everything outside is refused from the file's header,
// before a single sample is read.
constexpr int minSoundRate = 8000;
constexpr int maxSoundRate = 96000;
constexpr int maxSoundSeconds = 10;
// Ten seconds of 32-bit samples at 96 kHz, and a little more.
constexpr std::size_t maxSoundFileBytes = std::size_t{4} << 20;

// Reads a mono WAV file of plain integer or float samples through libsndfile.
// Returns false, with the reason in `problem` and `sound` emptied, for a file that
// cannot be read, is not such a WAV file or not one libsndfile can decode, has
// more than one channel, a rate outside the bounds, no frames or more than
// maxSoundSeconds of them, or gives other frames than libsndfile counted in it.
// Writes nothing to any stream: the caller says, once, what the game does
// without the sound.
bool loadSound(const char* fileName, Sound& sound, std::string& problem);
