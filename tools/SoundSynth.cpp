#include "SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double twoPi = 6.283185307179586;
} // namespace

Samples silence(float seconds) {
    return Samples(static_cast<std::size_t>(std::lround(seconds * synthRate)), 0.0f);
}

float secondsOf(const Samples& samples) {
    return static_cast<float>(samples.size()) / synthRate;
}

float NoiseSource::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

float LowPass::run(float x, float hertz) {
    const float a = 1.0f - std::exp(-static_cast<float>(twoPi) * hertz / synthRate);
    y += a * (x - y);
    return y;
}

float BandPass::run(float x, float hertz, float q) {
    const float f = 2.0f * std::sin(static_cast<float>(twoPi / 2.0) * hertz / synthRate);
    low += f * band;
    const float high = x - low - band / q;
    band += f * high;
    return band;
}

float HighPass::run(float x, float hertz) {
    return x - below.run(x, hertz);
}

float Oscillator::sine(float hertz) {
    const float value = static_cast<float>(std::sin(twoPi * phase));
    phase += static_cast<double>(hertz) / synthRate;
    phase -= std::floor(phase);
    return value;
}

float Oscillator::harmonics(float hertz, const std::vector<float>& weights) {
    float value = 0.0f;
    for (std::size_t k = 0; k < weights.size(); ++k)
        value += weights[k] * static_cast<float>(std::sin(twoPi * phase * (k + 1)));
    phase += static_cast<double>(hertz) / synthRate;
    phase -= std::floor(phase);
    return value;
}

float strike(float t, float attackSeconds, float decaySeconds) {
    if (t < 0.0f)
        return 0.0f;
    const float rise = t < attackSeconds ? t / attackSeconds : 1.0f;
    return rise * std::exp(-t / decaySeconds);
}

float glide(float t, float seconds, float from, float to) {
    const float u = std::min(std::max(t / seconds, 0.0f), 1.0f);
    return from * std::pow(to / from, u);
}

void finish(Samples& samples, float peak, float fadeSeconds) {
    float loudest = 0.0f;
    for (float s : samples)
        loudest = std::max(loudest, std::fabs(s));
    const float scale = loudest > 0.0f ? peak / loudest : 0.0f;
    const std::size_t fade =
        std::min(samples.size(), static_cast<std::size_t>(fadeSeconds * synthRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] *= scale;
        const std::size_t left = samples.size() - i;
        if (left <= fade)
            samples[i] *= static_cast<float>(left - 1) / static_cast<float>(fade);
    }
    if (!samples.empty())
        samples.front() = 0.0f;
}

void mixInto(Samples& target, const Samples& source, std::size_t at, float gain) {
    for (std::size_t i = 0; i < source.size() && at + i < target.size(); ++i)
        target[at + i] += gain * source[i];
}
