#pragma once
#include <cstdint>

// Our own hash-based noise: the pack must come out byte for byte the same on
// every run, so nothing here touches std::rand or the library's distributions.
// Every function tiles: a lattice coordinate wraps at `period`, so a texture
// built from them repeats without a seam when its size is a whole period.

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed);
// Uniform in [0, 1).
float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smoothly interpolated lattice noise in [0, 1]; (x, y) in lattice units.
float valueNoise(float x, float y, int period, std::uint32_t seed);
// Sum of `octaves` value noises, each twice the frequency and half the amplitude
// of the one before, normalised to [0, 1]. (u, v) in [0, 1) covers one tile.
float fractalNoise(float u, float v, int basePeriod, int octaves, std::uint32_t seed);

// Cellular noise: one jittered feature point per lattice cell. `nearest` and
// `second` are the distances (in lattice units) to the closest two points,
// `cell` a hash identifying the closest point's cell.
struct CellSample {
    float nearest = 0.0f;
    float second = 0.0f;
    std::uint32_t cell = 0;
};
CellSample cellNoise(float x, float y, int period, std::uint32_t seed);

float smoothStep(float edge0, float edge1, float x);
