#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/PhysicsSettings.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <streambuf>

// Run: build-dir/bench/world_bench --benchmark_repetitions=5
//          --benchmark_report_aggregates_only=true
// Trace lines are swallowed while a benchmark runs so that only the work counts.

namespace {

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

std::vector<TerrainBand> gameBands() {
    return {TerrainBand{0.4f, {1, 2, 3, 4, 5}}, TerrainBand{0.55f, {6, 7, 8, 9, 10}},
            TerrainBand{1.0f, {11, 11, 11, 11, 11}}};
}

Terrain gameTerrain() {
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    terrain.setBands(gameBands());
    Random once;
    std::srand(2024);
    terrain.generate(300, 0.25f, 0.75f);
    return terrain;
}

void BM_Generate(benchmark::State& state) {
    Silence silence;
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    terrain.setBands(gameBands());
    Random once;
    std::srand(1);
    for (auto _ : state) {
        terrain.generate(300, 0.25f, 0.75f);
        benchmark::DoNotOptimize(terrain.cells().at(5, 5).height);
    }
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMicrosecond);

// One crater with its full normal and tile pass; the craters wander over the map.
void BM_Crater(benchmark::State& state) {
    Silence silence;
    Terrain terrain = gameTerrain();
    int n = 0;
    for (auto _ : state) {
        const float x = 20.0f + static_cast<float>((n * 37) % 160);
        const float z = 20.0f + static_cast<float>((n * 53) % 160);
        terrain.crater(Vector3(x,
                               terrain.heightAt(static_cast<std::uint32_t>(x / 3.125f),
                                                static_cast<std::uint32_t>(z / 3.125f)),
                               z),
                       8.0f);
        ++n;
        benchmark::DoNotOptimize(terrain.cells().at(10, 10).texture);
    }
}
BENCHMARK(BM_Crater)->Unit(benchmark::kMicrosecond);

// Four tanks resting on the ground and two Death's Head fans of nine shots each
// in flight (an Explosive and its waiting Explosion per shot): 40 objects.
void populate(ObjectList& objects, const Terrain& terrain) {
    for (int k = 0; k < 4; ++k) {
        auto tank = std::make_unique<TankObject>();
        const float angle = static_cast<float>(k) * 1.5707964f;
        tank->position =
            Vector3(100.0f + 75.0f * std::cos(angle), 0.0f, 100.0f + 75.0f * std::sin(angle));
        tank->radius = 3.0f;
        tank->position.y = terrain.heightAt(static_cast<std::uint32_t>(tank->position.x / 3.125f),
                                            static_cast<std::uint32_t>(tank->position.z / 3.125f)) +
                           3.0f;
        tank->resting = true;
        objects.push_back(std::move(tank));
    }
    const Vector3 fans[2] = {Vector3(70.0f, 170.0f, 80.0f), Vector3(130.0f, 170.0f, 120.0f)};
    const float offsets[9][2] = {{0, 0},   {0, -4}, {0, 4},  {-4, 0}, {4, 0},
                                 {-4, -4}, {-4, 4}, {4, -4}, {4, 4}};
    for (const Vector3& centre : fans)
        for (const auto& offset : offsets) {
            auto shell = std::make_unique<Explosive>();
            auto blast = std::make_unique<Explosion>(16.0f, 100.0f);
            shell->position = centre;
            shell->velocity = Vector3(offset[0], 8.0f, offset[1]);
            blast->active = false;
            blast->resting = true;
            shell->explosionId = blast->id;
            objects.push_back(std::move(shell));
            objects.push_back(std::move(blast));
        }
}

void BM_PhysicsSecond(benchmark::State& state) {
    Silence silence;
    Terrain terrain = gameTerrain();
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    PhysicsSettings physics;
    ObjectList objects;
    const World world{&objects, &box, &terrain};
    for (auto _ : state) {
        state.PauseTiming();
        objects.clear();
        populate(objects, terrain);
        state.ResumeTiming();
        for (int k = 0; k < 100; ++k)
            physics.step(world);
        benchmark::DoNotOptimize(objects.front()->position);
    }
}
BENCHMARK(BM_PhysicsSecond)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
