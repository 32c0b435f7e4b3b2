// A small field laid with the pack's terrain tiles by the game's own rules for
// bands, transition tiles and their four orientations, so the contact sheet
// shows whether neighbouring tiles really meet without a seam.
#include "ContactSheet.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int points = 21; // grid points per side; one cell fewer
constexpr int cellPixels = 32;
constexpr float thresholds[] = {0.4f, 0.55f, 1.0f};
constexpr int bandCount = 3;

// Texture coordinates (s, t) of the corners A, B, C, D for each orientation.
constexpr float cornerCoords[4][4][2] = {
    {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
    {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
    {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
    {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
};

struct Tile {
    int band = -1; // -1: none yet
    int kind = 0;
    int orientation = 0;
};

float heightAt(int i, int j) {
    const float u = i / static_cast<float>(points - 1);
    const float v = j / static_cast<float>(points - 1);
    const float hill = std::exp(-((u - 0.62f) * (u - 0.62f) + (v - 0.4f) * (v - 0.4f)) * 7.0f);
    return 0.2f + 0.62f * hill + 0.3f * (fractalNoise(u, v, 3, 3, 77u) - 0.5f);
}

// The tile assignment over the whole grid, pass by pass.
std::vector<Tile> assign(const std::vector<float>& height) {
    std::vector<Tile> tiles(points * points);
    std::vector<int> level(points * points, 0);
    const auto index = [](int i, int j) { return i * points + j; };
    const auto levelIs = [&](int i, int j, int wanted) {
        return i >= 0 && j >= 0 && i < points && j < points && level[index(i, j)] == wanted;
    };
    for (int pass = 1; pass <= bandCount; ++pass) {
        const int band = pass - 1;
        if (pass > 1) {
            for (int i = 0; i < points; ++i) {
                for (int j = 0; j < points; ++j) {
                    Tile& tile = tiles[index(i, j)];
                    if (tile.band >= 0) {
                        continue;
                    }
                    const int low = pass - 1;
                    const bool a = levelIs(i - 1, j - 1, low) || levelIs(i - 1, j, low) ||
                                   levelIs(i, j - 1, low);
                    const bool b = levelIs(i - 1, j, low) || levelIs(i - 1, j + 1, low) ||
                                   levelIs(i, j + 1, low);
                    const bool c = levelIs(i, j + 1, low) || levelIs(i + 1, j + 1, low) ||
                                   levelIs(i + 1, j, low);
                    const bool d = levelIs(i, j - 1, low) || levelIs(i + 1, j - 1, low) ||
                                   levelIs(i + 1, j, low);
                    const int marks = a + b + c + d;
                    if (marks == 0) {
                        continue;
                    }
                    tile.band = band - 1;
                    if (marks == 1) {
                        tile.kind = 1;
                        tile.orientation = d ? 0 : c ? 1 : b ? 2 : 3;
                    } else if (marks == 2 && a == c) {
                        tile.kind = 4;
                        tile.orientation = a ? 1 : 0;
                    } else if (marks == 2) {
                        tile.kind = 2;
                        tile.orientation = (a && d) ? 0 : (d && c) ? 1 : (c && b) ? 2 : 3;
                    } else if (marks == 3) {
                        tile.kind = 3;
                        tile.orientation = !d ? 0 : !c ? 1 : !b ? 2 : 3;
                    } else {
                        tile.kind = 0;
                        tile.orientation = 0;
                    }
                    level[index(i, j)] = pass;
                }
            }
        }
        for (int i = 0; i + 1 < points; ++i) {
            for (int j = 0; j + 1 < points; ++j) {
                const double m =
                    (static_cast<double>(height[index(i, j)]) + height[index(i + 1, j)] +
                     height[index(i, j + 1)] + height[index(i + 1, j + 1)]) /
                    4.0;
                Tile& tile = tiles[index(i, j)];
                if ((m < thresholds[band] || band == bandCount - 1) && tile.band < 0) {
                    level[index(i, j)] = pass;
                    tile = Tile{band, 0, 0};
                }
            }
        }
    }
    return tiles;
}

} // namespace

Canvas ContactSheet::terrainPreview() const {
    std::vector<float> height(points * points);
    for (int i = 0; i < points; ++i) {
        for (int j = 0; j < points; ++j) {
            height[i * points + j] = heightAt(i, j);
        }
    }
    const std::vector<Tile> tiles = assign(height);
    const int cells = points - 1;
    Canvas preview(cells * cellPixels, cells * cellPixels);
    constexpr int sub = 4;
    // Seen from above: x (i) to the right, z (j) down the picture.
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const Tile& tile = tiles[i * points + j];
            const Entry* e = find("terrain/" + std::to_string(tile.band) +
                                  std::to_string(tile.band == 2 ? 0 : tile.kind) + ".png");
            if (e == nullptr) {
                continue;
            }
            const Canvas& picture = e->picture;
            const auto& cc = cornerCoords[tile.orientation];
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
