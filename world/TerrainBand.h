#pragma once
#include <array>
#include <cstdint>

// One height band of ground textures: [0] full tile, [1] one corner, [2] edge,
// [3] three corners, [4] two opposite corners.
struct TerrainBand {
    float threshold = 0.0f;  // upper bound of a cell's mean corner height
    std::array<std::uint32_t, 5> textures{};
};
