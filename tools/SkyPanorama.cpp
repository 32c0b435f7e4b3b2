// The sky behind the battlefield, wrapped once round the sky cylinder: u runs
// round it (u = 0.125 faces the light, which stands over the field's +x, +z
// corner), rows run from the top of the wall (sky) to its foot (far hills).
// Everything is tileable sideways; the top rows are plain zenith blue, the
// colour of the cylinder's lid.
#include "Noise.h"
#include "PackPictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int panoramaWidth = 1024;
constexpr int panoramaHeight = 256;

// Noise with its own period sideways; rows never wrap within the picture.
float bandNoise(float u, float t, int periodU, int octaves, std::uint32_t seed) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    int period = periodU;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueNoise(u * period, t * period, period, seed + 31u * o);
        total += amplitude;
        amplitude *= 0.5f;
        period *= 2;
    }
    return sum / total;
}

// Height (t) of a ridge line at u: tileable because u enters through the noise.
float ridge(float u, float base, float height, int period, std::uint32_t seed) {
    const float n = bandNoise(u, 0.37f, period, 5, seed);
    const float sharp =
        1.0f - std::fabs(2.0f * bandNoise(u, 0.71f, period * 2, 3, seed + 5u) - 1.0f);
    return base + height * (0.7f * n + 0.3f * sharp);
}

Color skyColor(float u, float t) {
    const Color zenith = rgb(46, 92, 168);
    const Color high = rgb(92, 146, 214);
    const Color horizon = rgb(206, 222, 236);
    Color c = t > 0.6f ? mix(high, zenith, smoothStep(0.6f, 0.97f, t))
                       : mix(horizon, high, smoothStep(0.22f, 0.6f, t));
    // Warm glow round the sun, stronger near the horizon beneath it.
    float du = std::fabs(u - 0.125f);
    du = std::min(du, 1.0f - du) * 4.0f; // the picture is four times wider than high
    const float dt = t - 0.72f;
    const float d = std::sqrt(du * du + dt * dt);
    const float glow = std::exp(-d * d / 0.02f) * 0.5f + std::exp(-d * d / 0.2f) * 0.2f;
    c = mix(c, rgb(255, 244, 214), std::min(1.0f, glow));
    if (d < 0.028f) {
        c = mix(c, rgb(255, 252, 236), smoothStep(0.028f, 0.022f, d));
    }
    return c;
}

Color withClouds(Color sky, float u, float t) {
    // Clouds thin out toward the horizon and vanish before the plain zenith rows.
    const float envelope = smoothStep(0.32f, 0.5f, t) * (1.0f - smoothStep(0.78f, 0.9f, t));
    const float stretchedT = t * 1.6f; // flattened, as clouds seen edge-on are
    const float density = bandNoise(u, stretchedT, 8, 6, 71u);
    const float cover = smoothStep(0.5f, 0.72f, density) * envelope;
    if (cover <= 0.0f) {
        return sky;
    }
    // Shade by the density a little below: cloud bottoms are greyer.
    const float below = bandNoise(u, stretchedT - 0.02f, 8, 6, 71u);
    // Not quite white: the menus draw white text over the sky.
    const Color lit = rgb(232, 236, 244);
    const Color shadow = rgb(150, 162, 186);
    const Color cloud = mix(lit, shadow, smoothStep(0.55f, 0.85f, below) * 0.8f);
    return mix(sky, cloud, cover * 0.8f);
}

} // namespace

Canvas makeSkyPanorama() {
    Canvas sky(panoramaWidth, panoramaHeight);
    const Color farHills = rgb(150, 170, 196);
    const Color midHills = rgb(104, 128, 150);
    const Color nearHills = rgb(72, 96, 84);
    for (int x = 0; x < panoramaWidth; ++x) {
        const float u = (x + 0.5f) / panoramaWidth;
        const float far = ridge(u, 0.18f, 0.16f, 6, 81u);
        const float mid = ridge(u, 0.12f, 0.13f, 9, 82u);
        const float near = ridge(u, 0.05f, 0.10f, 14, 83u);
        for (int y = 0; y < panoramaHeight; ++y) {
            const float t = 1.0f - (y + 0.5f) / panoramaHeight;
            Color c = withClouds(skyColor(u, t), u, t);
            // Each range fades into the haze toward its foot, with a soft edge.
            const float px = 1.0f / panoramaHeight;
            c = mix(c, mix(farHills, rgb(190, 204, 220), smoothStep(far - 0.12f, far, t) * 0.3f),
                    smoothStep(far + px, far - px, t));
            c = mix(c, mix(midHills, farHills, smoothStep(mid - 0.1f, mid, t) * 0.3f),
                    smoothStep(mid + px, mid - px, t));
            c = mix(c, mix(nearHills, midHills, smoothStep(near - 0.08f, near, t) * 0.4f),
                    smoothStep(near + px, near - px, t));
            sky.at(x, y) = c;
        }
    }
    return sky;
}
