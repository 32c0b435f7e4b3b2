#include "BenchWorld.h"
#include "support/PlainPhysics.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/PhysicsSettings.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <random>
#include <streambuf>
#include <utility>

// Run: build-dir/bench/world_bench --benchmark_repetitions=5
//          --benchmark_report_aggregates_only=true
// Trace lines are swallowed while a benchmark runs so that only the work counts.
// Each physics benchmark runs twice: <PhysicsSettings> is the game's physics,
// <PlainPhysics> the plain rules (every pair tested, whole-grid passes after
// every crater) on the same scene, for comparison.

namespace {

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

// One crater of radius 8 at ground level, with every normal and tile it changes
// brought up to date. The craters wander over the map, and every 64 the ground
// is laid afresh, so that each one really digs.
template <bool wholeGrid> void BM_Crater(benchmark::State& state) {
    Silence silence;
    const Terrain fresh = gameTerrain();
    Terrain terrain = fresh;
    int n = 0;
    for (auto _ : state) {
        if (n % 64 == 0) {
            state.PauseTiming();
            terrain = fresh;
            state.ResumeTiming();
        }
        const float x = 20.0f + static_cast<float>((n * 37) % 160);
        const float z = 20.0f + static_cast<float>((n * 53) % 160);
        // Taking the grid for editing makes the crater redo the whole grid.
        if (wholeGrid)
            terrain.cells();
        terrain.crater(Vector3(x,
                               terrain.heightAt(static_cast<std::uint32_t>(x / 3.125f),
                                                static_cast<std::uint32_t>(z / 3.125f)),
                               z),
                       8.0f);
        ++n;
        benchmark::DoNotOptimize(std::as_const(terrain).cells().at(10, 10).texture);
    }
}
BENCHMARK_TEMPLATE(BM_Crater, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Crater, true)->Unit(benchmark::kMicrosecond);

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

// N spheres of radius 1 flying about the box above the ground, so that pairs,
// walls and the ground all meet them. Every 20 steps the next of ten scenes
// starts; both physics start from the same scenes.
// One scene replayed would let the branch predictor learn its steps by heart,
// the fewer the spheres the better, which no game allows.
template <typename Physics> void BM_Step(benchmark::State& state) {
    constexpr int window = 20;
    constexpr int scenes = 10;
    Silence silence;
    Terrain terrain = gameTerrain();
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    ObjectList objects;
    std::mt19937 dice(7);
    const auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(dice);
    };
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<std::pair<Vector3, Vector3>> start; // scene after scene
    for (std::size_t k = 0; k < count * scenes; ++k) {
        const float x = uniform(1.0f, 199.0f);
        const float z = uniform(1.0f, 199.0f);
        const float ground = terrain.heightAt(static_cast<std::uint32_t>(x / 3.125f),
                                              static_cast<std::uint32_t>(z / 3.125f));
        start.emplace_back(Vector3(x, uniform(ground + 1.0f, 199.0f), z),
                           Vector3(uniform(-20, 20), uniform(-20, 20), uniform(-20, 20)));
        if (k < count)
            objects.push_back(std::make_unique<Object>());
    }
    Physics physics;
    const World world{&objects, &box, &terrain};
    int k = 0;
    for (auto _ : state) {
        if (k++ % window == 0) {
            state.PauseTiming();
            auto from = start.begin() + static_cast<std::ptrdiff_t>(k / window % scenes * count);
            for (const auto& o : objects) {
                o->position = from->first;
                o->velocity = (from++)->second;
                o->resting = false;
            }
            state.ResumeTiming();
        }
        physics.step(world);
    }
}
BENCHMARK_TEMPLATE(BM_Step, PhysicsSettings)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(4000)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Step, PlainPhysics)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(4000)
    ->Iterations(20)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
