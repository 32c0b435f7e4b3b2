#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace {

int wrap(int i, int period) {
    const int r = i % period;
    return r < 0 ? r + period : r;
}

// Quintic fade: continuous slope and curvature, so no lattice lines show.
float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9u + 0x7F4A7C15u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return (hash3(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float valueNoise(float x, float y, int period, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int x0 = static_cast<int>(fx);
    const int y0 = static_cast<int>(fy);
    const float tx = fade(x - fx);
    const float ty = fade(y - fy);
    const int xa = wrap(x0, period), xb = wrap(x0 + 1, period);
    const int ya = wrap(y0, period), yb = wrap(y0 + 1, period);
    const float a = hashUnit(xa, ya, seed);
    const float b = hashUnit(xb, ya, seed);
    const float c = hashUnit(xa, yb, seed);
    const float d = hashUnit(xb, yb, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float fractalNoise(float u, float v, int basePeriod, int octaves, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    int period = basePeriod;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(u * period, v * period, period, seed + 101u * o);
        total += amplitude;
        amplitude *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

CellSample cellNoise(float x, float y, int period, std::uint32_t seed) {
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    CellSample s;
    s.nearest = 1e9f;
    s.second = 1e9f;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int gx = cx + dx;
            const int gy = cy + dy;
            const int wx = wrap(gx, period);
            const int wy = wrap(gy, period);
            // Jitter kept inside 0.1 to 0.9 so patches stay roughly even in size.
            const float px = gx + 0.1f + 0.8f * hashUnit(wx, wy, seed);
            const float py = gy + 0.1f + 0.8f * hashUnit(wx, wy, seed ^ 0x5bd1e995u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < s.nearest) {
                s.second = s.nearest;
                s.nearest = d;
                s.cell = hash3(wx, wy, seed + 7u);
            } else if (d < s.second) {
                s.second = d;
            }
        }
    }
    return s;
}

float smoothStep(float edge0, float edge1, float x) {
    const float t = std::min(1.0f, std::max(0.0f, (x - edge0) / (edge1 - edge0)));
    return t * t * (3.0f - 2.0f * t);
}
