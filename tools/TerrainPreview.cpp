// A small field laid with the pack's terrain tiles by the game's own rules for
// bands, transition tiles and their four orientations, so the contact sheet
// shows whether neighbouring tiles really meet without a seam.
#include "ContactSheet.h"
#include "Noise.h"

#include "world/Terrain.h"
#include "world/TileOrientation.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int points = 21; // grid points per side; one cell fewer
constexpr int cellPixels = 32;
constexpr int bandCount = 3;

float previewHeight(int i, int j) {
    const float u = i / static_cast<float>(points - 1);
    const float v = j / static_cast<float>(points - 1);
    const float hill = std::exp(-((u - 0.62f) * (u - 0.62f) + (v - 0.4f) * (v - 0.4f)) * 7.0f);
    return 0.2f + 0.62f * hill + 0.3f * (fractalNoise(u, v, 3, 3, 77u) - 0.5f);
}

// The pack's file of a tile: band digit, then kind digit (the last band has one
// picture for every kind).
struct Tile {
    int band = 0;
    int kind = 0;
};

// Stand-in texture names that say which picture a cell got: 1 + band * 5 + kind.
std::uint32_t nameOf(int band, int kind) {
    return static_cast<std::uint32_t>(1 + band * 5 + (band == bandCount - 1 ? 0 : kind));
}

Tile tileNamed(std::uint32_t name) {
    const int n = static_cast<int>(name) - 1;
    return Tile{n / 5, n % 5};
}

// The game's own terrain, laid with the game's thresholds by its own tile rules.
Terrain previewTerrain() {
    Terrain terrain(points, points, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < points; ++i)
        for (int j = 0; j < points; ++j)
            terrain.cells().at(i, j).height = previewHeight(i, j);
    const float thresholds[bandCount] = {0.4f, 0.55f, 1.0f};
    std::vector<TerrainBand> bands;
    for (int band = 0; band < bandCount; ++band) {
        TerrainBand b;
        b.threshold = thresholds[band];
        for (int kind = 0; kind < 5; ++kind)
            b.textures[kind] = nameOf(band, kind);
        bands.push_back(b);
    }
    terrain.setBands(bands);
    terrain.assignTextures(0, 0, points - 1, points - 1);
    return terrain;
}

} // namespace

Canvas ContactSheet::terrainPreview() const {
    const Terrain terrain = previewTerrain();
    const int cells = points - 1;
    Canvas preview(cells * cellPixels, cells * cellPixels);
    constexpr int sub = 4;
    // Seen from above: x (i) to the right, z (j) down the picture.
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const TerrainCell& cell = terrain.cells().at(i, j);
            const Tile tile = tileNamed(cell.texture);
            const Entry* e = find("terrain/" + std::to_string(tile.band) +
                                  std::to_string(tile.kind) + ".png");
            if (e == nullptr) {
                continue;
            }
            const Canvas& picture = e->picture;
            const auto& cc = tileCorners[cell.orientation];
            for (int py = 0; py < cellPixels; ++py) {
                for (int px = 0; px < cellPixels; ++px) {
                    Color sum{0, 0, 0, 0};
                    for (int sy = 0; sy < sub; ++sy) {
                        for (int sx = 0; sx < sub; ++sx) {
                            const float u = (px + (sx + 0.5f) / sub) / cellPixels; // along i
                            const float v = (py + (sy + 0.5f) / sub) / cellPixels; // along j
                            // Bilinear over A (0,0), B (0,1), C (1,1), D (1,0) in (u, v).
                            const float s = (1 - u) * (1 - v) * cc[0][0] + (1 - u) * v * cc[1][0] +
                                            u * v * cc[2][0] + u * (1 - v) * cc[3][0];
                            const float t = (1 - u) * (1 - v) * cc[0][1] + (1 - u) * v * cc[1][1] +
                                            u * v * cc[2][1] + u * (1 - v) * cc[3][1];
                            const int tx = std::min(picture.width() - 1,
                                                    static_cast<int>(s * picture.width()));
                            const int ty = std::min(picture.height() - 1,
                                                    static_cast<int>((1 - t) * picture.height()));
                            const Color& c = picture.at(tx, ty);
                            sum.r += c.r;
                            sum.g += c.g;
                            sum.b += c.b;
                        }
                    }
                    const float n = sub * sub;
                    preview.at(i * cellPixels + px, j * cellPixels + py) =
                        Color{sum.r / n, sum.g / n, sum.b / n, 1.0f};
                }
            }
        }
    }
    return preview;
}
