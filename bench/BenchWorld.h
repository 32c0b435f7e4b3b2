#pragma once
#include "world/Random.h"
#include "world/Terrain.h"
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <vector>

// What the world benchmarks share: silenced trace lines and the game's terrain.

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Silences standard output for as long as it lives.
class Silence {
public:
    Silence() : old(std::cout.rdbuf(&sink)) {}
    ~Silence() { std::cout.rdbuf(old); }

private:
    NullBuffer sink;
    std::streambuf* old;
};

inline std::vector<TerrainBand> gameBands() {
    return {TerrainBand{0.4f, {1, 2, 3, 4, 5}}, TerrainBand{0.55f, {6, 7, 8, 9, 10}},
            TerrainBand{1.0f, {11, 11, 11, 11, 11}}};
}

// 300 hills between 0.25 and 0.75, as the game makes them, from a fixed seed.
inline Terrain gameTerrain() {
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    terrain.setBands(gameBands());
    Random once;
    std::srand(2024);
    terrain.generate(300, 0.25f, 0.75f);
    return terrain;
}
