// Ground tiles. Each band has a tileable ground texture; a transition tile lays
// the lower band over the band above it through a mask. Cells meet without a
// seam because, along every tile edge, the mask depends only on the distance
// from the edge's marked corners: the lower band reaches exactly half way
// along an edge from a marked corner, and the wobble that makes the border look
// natural fades out before it reaches the edge.
#include "Noise.h"
#include "PackPictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int tileSize = 128;

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

Color scaled(const Color& c, float f) {
    return {c.r * f, c.g * f, c.b * f, 1.0f};
}

// Ground textures. They stay low in contrast and free of features with a
// direction, because the game turns tiles by quarter turns and draws far cells
// without mipmaps: anything bold would flicker or show the grid.
Color sand(float s, float t) {
    const float broad = fractalNoise(s, t, 2, 2, 11u);
    const float ripple = fractalNoise(s, t, 8, 3, 13u);
    const float grain =
        hashUnit(static_cast<int>(s * tileSize), static_cast<int>(t * tileSize), 12u);
    const Color light = rgb(236, 214, 164);
    const Color dark = rgb(212, 184, 130);
    const Color c = mix(dark, light, 0.35f + 0.15f * broad + 0.4f * ripple);
    return scaled(c, 0.97f + 0.05f * grain);
}

Color grass(float s, float t) {
    const float broad = fractalNoise(s, t, 2, 3, 21u);
    const float clumps = fractalNoise(s, t, 8, 3, 22u);
    const float grain =
        hashUnit(static_cast<int>(s * tileSize), static_cast<int>(t * tileSize), 23u);
    const Color deep = rgb(74, 120, 46);
    const Color fresh = rgb(118, 164, 66);
    const Color dry = rgb(140, 156, 76);
    Color c = mix(deep, fresh, smoothStep(0.3f, 0.7f, clumps));
    c = mix(c, dry, 0.2f * smoothStep(0.5f, 0.8f, broad));
    return scaled(c, 0.92f + 0.12f * grain);
}

Color rock(float s, float t) {
    // Broken stone: cells of a cellular noise as stones of varied tone, each
    // a little lighter toward its middle, in thin dark joints; a mottle over
    // it all keeps the stones from looking laid.
    const float wu = s + 0.04f * (fractalNoise(s, t, 4, 2, 35u) - 0.5f);
    const float wv = t + 0.04f * (fractalNoise(s, t, 4, 2, 36u) - 0.5f);
    const CellSample stone = cellNoise(wu * 5, wv * 5, 5, 32u);
    const float mottle = fractalNoise(s, t, 4, 4, 31u);
    const float grain =
        hashUnit(static_cast<int>(s * tileSize), static_cast<int>(t * tileSize), 33u);
    const float tone = (stone.cell & 0xff) / 255.0f;
    const Color grey = rgb(140, 136, 130);
    const Color warm = rgb(166, 152, 130);
    Color c = mix(grey, warm, 0.55f * tone + 0.45f * mottle);
    c = scaled(c, 0.92f + 0.12f * smoothStep(0.0f, 0.5f, stone.second - stone.nearest));
    c = scaled(c, lerp(0.72f, 1.0f, smoothStep(0.02f, 0.07f, stone.second - stone.nearest)));
    return scaled(c, 0.93f + 0.1f * grain);
}

Color ground(int band, float s, float t) {
    switch (band) {
    case 0:
        return sand(s, t);
    case 1:
        return grass(s, t);
    default:
        return rock(s, t);
    }
}

float distanceTo(float s, float t, float cs, float ct) {
    return std::sqrt((s - cs) * (s - cs) + (t - ct) * (t - ct));
}

// How far inside the lower band a point lies: positive in the lower band, 0
// on the border. (0, 0) is texture corner (0, 0), t = 0 the bottom edge.
float lowerSide(int kind, float s, float t) {
    switch (kind) {
    case 1:
        return 0.5f - distanceTo(s, t, 0, 0);
    case 2:
        return 0.5f - t;
    case 3:
        return distanceTo(s, t, 0, 0) - 0.5f;
    case 4:
        return 0.5f - std::min(distanceTo(s, t, 0, 0), distanceTo(s, t, 1, 1));
    default:
        return 1.0f;
    }
}

} // namespace

Canvas makeTerrainTile(int band, int kind) {
    Canvas tile(tileSize, tileSize);
    for (int y = 0; y < tileSize; ++y) {
        for (int x = 0; x < tileSize; ++x) {
            const float s = (x + 0.5f) / tileSize;
            const float t = 1.0f - (y + 0.5f) / tileSize; // row 0 is the top: t = 1
            if (kind == 0) {
                tile.at(x, y) = ground(band, s, t);
                continue;
            }
            const float edgeDistance = std::min(std::min(s, 1 - s), std::min(t, 1 - t));
            const float window = smoothStep(0.03f, 0.2f, edgeDistance);
            const float wobble = (fractalNoise(s, t, 4, 3, 41u + band) - 0.5f) * 0.3f * window;
            const float side = lowerSide(kind, s, t) + wobble;
            const float lower = smoothStep(-0.025f, 0.025f, side);
            Color c = mix(ground(band + 1, s, t), ground(band, s, t), lower);
            // A slightly darker rim on the lower band's side of the border,
            // like damp sand at a grass edge or soil under a rock ledge.
            const float rim = std::exp(-((side - 0.04f) / 0.035f) * ((side - 0.04f) / 0.035f));
            c = scaled(c, 1.0f - 0.12f * rim);
            tile.at(x, y) = c;
        }
    }
    return tile;
}
