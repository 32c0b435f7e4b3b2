// The recipes are noise and sines shaped by filters and envelopes; the numbers
// were tuned by ear. Loudness is set at the end of each recipe by its peak, so
// the sizes of the bursts can be balanced against each other here, and the
// game's gains only place the sounds in the world.
#include "PackSounds.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace {

constexpr int burstSizes = 4;
// Per size of burst: length, peak, the noise's first cut-off and the thump's pitch.
constexpr float burstSeconds[burstSizes] = {0.7f, 1.0f, 1.5f, 2.4f};
constexpr float burstPeak[burstSizes] = {0.42f, 0.56f, 0.74f, 0.95f};
constexpr float burstBrightness[burstSizes] = {3500.0f, 2800.0f, 2000.0f, 1400.0f};
constexpr float burstThump[burstSizes] = {110.0f, 85.0f, 65.0f, 50.0f};

constexpr float c5 = 523.25f, e5 = 659.26f, g5 = 783.99f, c6 = 1046.50f;
constexpr float g4 = 392.00f, d4 = 293.66f;

// One note of a tune: an attack, a gentle fall to a sustain, a short release.
void addNote(Samples& tune, float start, float seconds, float hertz,
             const std::vector<float>& weights, float vibrato) {
    Oscillator tone;
    Oscillator wobble;
    const std::size_t at = static_cast<std::size_t>(start * synthRate);
    const std::size_t count = static_cast<std::size_t>(seconds * synthRate);
    for (std::size_t i = 0; i < count && at + i < tune.size(); ++i) {
        const float t = static_cast<float>(i) / synthRate;
        const float attack = std::min(t / 0.012f, 1.0f);
        const float release = std::min((seconds - t) / 0.05f, 1.0f);
        const float level = attack * release * (0.7f + 0.3f * std::exp(-t / 0.08f));
        const float pitch = hertz * (1.0f + vibrato * wobble.sine(5.5f) * std::min(t / 0.3f, 1.0f));
        tune[at + i] += level * tone.harmonics(pitch, weights);
    }
}

bool writeWav(const std::string& path, const Samples& samples) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    SF_INFO info{};
    info.samplerate = synthRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::cerr << "cannot write " << path << ": " << sf_strerror(nullptr) << std::endl;
        return false;
    }
    // Samples stay below full scale, so the conversion never clips.
    const sf_count_t frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    sf_close(file);
    if (!written)
        std::cerr << "cannot write all of " << path << std::endl;
    return written;
}

} // namespace

Samples makeLaunch() {
    Samples out = silence(0.5f);
    NoiseSource noise(0x1a0c);
    BandPass whoosh;
    LowPass thud;
    Oscillator report;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / synthRate;
        const float centre = glide(t, 0.45f, 300.0f, 2500.0f);
        const float rush = whoosh.run(noise.next(), centre, 2.0f) * strike(t, 0.06f, 0.2f);
        const float bang = (0.8f * report.sine(glide(t, 0.08f, 120.0f, 60.0f)) +
                            0.6f * thud.run(noise.next(), 500.0f)) *
                           strike(t, 0.002f, 0.04f);
        out[i] = 0.8f * rush + bang;
    }
    finish(out, 0.7f, 0.05f);
    return out;
}

Samples makeBurst(int size) {
    const int k = std::min(std::max(size, 0), burstSizes - 1);
    const float seconds = burstSeconds[k];
    Samples out = silence(seconds);
    NoiseSource noise(0xb057u + static_cast<std::uint32_t>(k));
    LowPass first;
    LowPass second;
    Oscillator thump;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / synthRate;
        // The roar darkens as it dies away; two poles make it a rumble, not a hiss.
        const float cutoff = burstBrightness[k] * std::exp(-t / (seconds / 3.0f)) + 80.0f;
        const float roar = second.run(first.run(noise.next(), cutoff), cutoff);
        const float boom =
            thump.sine(glide(t, seconds / 2.0f, burstThump[k], burstThump[k] / 2.0f)) *
            strike(t, 0.004f, seconds / 4.0f);
        out[i] = 2.5f * roar * strike(t, 0.004f, seconds / 4.5f) + 0.9f * boom;
    }
    finish(out, burstPeak[k], seconds / 5.0f);
    return out;
}

Samples makeSplit() {
    Samples out = silence(0.45f);
    NoiseSource noise(0x5b17);
    NoiseSource dice(0xc4ac);
    BandPass pop;
    HighPass crackle;
    // Clicks come at random, thinning from 400 a second to a few.
    float click = 0.0f;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / synthRate;
        const float rate = 400.0f * std::exp(-t / 0.09f) + 15.0f;
        if (dice.unit() < rate / synthRate)
            click = dice.next();
        click *= 0.93f; // each click rings for a few milliseconds
        const float crack = crackle.run(click * noise.next(), 1500.0f);
        const float burst = pop.run(noise.next(), 1500.0f, 1.5f) * strike(t, 0.001f, 0.012f);
        out[i] = 2.5f * crack + 2.0f * burst;
    }
    finish(out, 0.6f, 0.04f);
    return out;
}

Samples makeDeath() {
    Samples out = silence(1.5f);
    NoiseSource noise(0xdead);
    LowPass first;
    LowPass second;
    Oscillator engine;
    Oscillator sputter;
    Oscillator clank[3];
    const float clankHertz[3] = {523.0f, 1187.0f, 1790.0f}; // inharmonic: struck metal
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / synthRate;
        const float rumble = second.run(first.run(noise.next(), 150.0f), 150.0f) * 6.0f *
                             (1.0f + 0.5f * sputter.sine(6.0f));
        const float sinking =
            engine.harmonics(glide(t, 1.2f, 140.0f, 45.0f), {1.0f, 0.5f, 0.33f}) * 0.5f;
        float metal = 0.0f;
        for (int n = 0; n < 3; ++n)
            metal += clank[n].sine(clankHertz[n]) / (n + 1);
        out[i] =
            (rumble + sinking) * strike(t, 0.01f, 0.6f) + 0.5f * metal * strike(t, 0.001f, 0.08f);
    }
    finish(out, 0.8f, 0.2f);
    return out;
}

Samples makeWin() {
    Samples out = silence(1.7f);
    const std::vector<float> brass = {1.0f, 0.5f, 0.3f, 0.15f};
    addNote(out, 0.00f, 0.16f, c5, brass, 0.0f);
    addNote(out, 0.18f, 0.16f, e5, brass, 0.0f);
    addNote(out, 0.36f, 0.16f, g5, brass, 0.0f);
    addNote(out, 0.54f, 1.05f, c6, brass, 0.006f);
    finish(out, 0.75f, 0.1f);
    return out;
}

Samples makeDraw() {
    Samples out = silence(1.4f);
    const std::vector<float> soft = {1.0f, 0.3f};
    addNote(out, 0.0f, 0.6f, g4, soft, 0.0f);
    addNote(out, 0.7f, 0.65f, d4, soft, 0.0f);
    finish(out, 0.6f, 0.15f);
    return out;
}

bool writePackSounds(const std::string& dataDir) {
    const std::string folder = dataDir + "/sounds/";
    const char* const burstFiles[burstSizes] = {"burst4.wav", "burst8.wav", "burst16.wav",
                                                "burst32.wav"};
    bool ok = writeWav(folder + "launch.wav", makeLaunch());
    for (int k = 0; k < burstSizes; ++k)
        ok = writeWav(folder + burstFiles[k], makeBurst(k)) && ok;
    ok = writeWav(folder + "split.wav", makeSplit()) && ok;
    ok = writeWav(folder + "death.wav", makeDeath()) && ok;
    ok = writeWav(folder + "win.wav", makeWin()) && ok;
    ok = writeWav(folder + "draw.wav", makeDraw()) && ok;
    return ok;
}
