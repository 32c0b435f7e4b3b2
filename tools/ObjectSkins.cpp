// Skins of the things that move: the tanks' camouflage (also worn by the
// shells) and the flames of the explosion fireball. Both wrap round their
// meshes, so both tile in both directions.
#include "Noise.h"
#include "PackPictures.h"

#include <algorithm>
#include <cmath>

namespace {

// The camouflage is small on purpose: textures have no mipmaps, and a tank
// is often only a few dozen pixels wide, so every texel too many flickers.
constexpr int camouflageSize = 128;
constexpr int fireSize = 256;

} // namespace

Canvas makeCamouflage() {
    // A giraffe's net of patches, in the colours of a field army: patches
    // from a cellular noise whose coordinates are warped so that the edges
    // wander, separated by a lighter net.
    const Color palette[] = {rgb(92, 98, 52), rgb(60, 70, 40), rgb(110, 84, 52), rgb(78, 84, 46)};
    const Color net = rgb(186, 170, 120);
    constexpr int cells = 4;
    Canvas skin(camouflageSize, camouflageSize);
    for (int y = 0; y < camouflageSize; ++y) {
        for (int x = 0; x < camouflageSize; ++x) {
            const float u = (x + 0.5f) / camouflageSize;
            const float v = (y + 0.5f) / camouflageSize;
            const float wu = u + 0.05f * (fractalNoise(u, v, 4, 3, 51u) - 0.5f);
            const float wv = v + 0.05f * (fractalNoise(u, v, 4, 3, 52u) - 0.5f);
            const CellSample cell = cellNoise(wu * cells, wv * cells, cells, 53u);
            Color patch = palette[cell.cell % 4];
            // Patches darken toward their middle, as a giraffe's do.
            const float inner = smoothStep(0.0f, 0.45f, cell.second - cell.nearest);
            patch = mix(patch, mix(patch, Color{0, 0, 0, 1}, 0.25f), inner * 0.8f);
            const float gap = cell.second - cell.nearest;
            const float line = 1.0f - smoothStep(0.05f, 0.12f, gap);
            skin.at(x, y) = mix(patch, net, line * 0.85f);
        }
    }
    return skin;
}

Canvas makeFire() {
    // Turbulent flames: a noise warped by another noise, through a black-body
    // colour ramp. Kept bright, since the fireball is lit like everything else.
    const Color ramp[] = {rgb(120, 16, 4), rgb(214, 52, 8), rgb(250, 132, 20), rgb(255, 206, 70),
                          rgb(255, 248, 200)};
    Canvas fire(fireSize, fireSize);
    for (int y = 0; y < fireSize; ++y) {
        for (int x = 0; x < fireSize; ++x) {
            const float u = (x + 0.5f) / fireSize;
            const float v = (y + 0.5f) / fireSize;
            const float qu = fractalNoise(u, v, 3, 4, 61u);
            const float qv = fractalNoise(u, v, 3, 4, 62u);
            // The warp is itself tileable, so the warped noise still tiles.
            const float heat = fractalNoise(u + 0.35f * qu, v + 0.35f * qv, 4, 5, 63u);
            const float h = smoothStep(0.2f, 0.8f, heat) * 4.0f;
            const int i = std::min(3, static_cast<int>(h));
            fire.at(x, y) = mix(ramp[i], ramp[i + 1], h - i);
        }
    }
    return fire;
}
