#pragma once
#include <cstdint>
#include <vector>

// The building blocks of the pack's sounds, at one fixed rate. Everything is
// plain float arithmetic from fixed seeds, so two runs give the same samples.

constexpr int synthRate = 22050; // samples per second: enough for bursts and tones

using Samples = std::vector<float>;

Samples silence(float seconds);
float secondsOf(const Samples& samples);

// White noise in -1 to 1 from our own generator (xorshift), never std::rand.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed) : state(seed ? seed : 1u) {}
    float next();
    float unit() { return 0.5f * (next() + 1.0f); } // 0 to 1

private:
    std::uint32_t state;
};

// A one-pole low-pass filter: cuts above `hertz` by 6 dB an octave.
class LowPass {
public:
    float run(float x, float hertz);

private:
    float y = 0.0f;
};

// A state-variable filter's band-pass output around `hertz` (below a sixth of
// the rate, where it stays stable); `q` narrows the band.
class BandPass {
public:
    float run(float x, float hertz, float q);

private:
    float low = 0.0f;
    float band = 0.0f;
};

// A one-pole high-pass filter: keeps what lies above `hertz`.
class HighPass {
public:
    float run(float x, float hertz);

private:
    LowPass below;
};

// A sine whose frequency may change from sample to sample without a click.
class Oscillator {
public:
    float sine(float hertz);
    // A brassy tone: the first few harmonics with falling weights.
    float harmonics(float hertz, const std::vector<float>& weights);

private:
    double phase = 0.0; // in cycles
};

// A fast rise then an exponential fall with time constant `decaySeconds`.
float strike(float t, float attackSeconds, float decaySeconds);
// A glide from `from` to `to` hertz over `seconds`, even in pitch.
float glide(float t, float seconds, float from, float to);

// Scales to the given peak, fades the last `fadeSeconds` to silence so no sound
// ends in a click, and starts from silence.
void finish(Samples& samples, float peak, float fadeSeconds);
// Adds `source` into `target` from sample `at`, scaled by `gain`.
void mixInto(Samples& target, const Samples& source, std::size_t at, float gain);
