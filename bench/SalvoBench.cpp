#include "BenchWorld.h"
#include "assets/Skeleton.h"
#include "support/PlainPhysics.h"
#include "world/DeathsHead.h"
#include "world/Explosion.h"
#include "world/PhysicsSettings.h"
#include "world/TankObject.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <ctime>
#include <string>

// The biggest battle the game allows: 64 players, every one firing a Death's
// Head at the centre of the field at once. Each carrier splits into nine shells,
// the shells converge, meet and set each other off, and the explosions go off in
// swarms, every one digging a crater.

namespace {

constexpr int players = 64;
constexpr float launchSpeed = 27.0f; // lands a 45 degree shot about 75 units off

Skeleton* findNode(Skeleton& node, const std::string& id) {
    if (node.id == id)
        return &node;
    for (Skeleton& child : node.children)
        if (Skeleton* found = findNode(child, id))
            return found;
    return nullptr;
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct Battle {
    Terrain terrain = gameTerrain();
    WorldBox box{0.0f, 200.0f, 0.0f, 200.0f, 0.0f, 200.0f, 0};
    ObjectList objects;
    World world() { return World{&objects, &box, &terrain}; }
};

// Tanks placed as a new game places them, landed, then all firing as a player
// fires: turret turned to the centre, barrel raised 45 degrees, the shot leaving
// from the barrel's tip.
void fireSalvo(Battle& battle, PhysicsSettings& physics) {
    static Skeleton tank;
    if (tank.children.empty())
        loadSkeleton(VANTRELL_SOURCE_DIR "/data/tank.skel", tank);
    std::vector<TankObject*> tanks;
    for (int i = 0; i < players; ++i) {
        auto t = std::make_unique<TankObject>();
        t->skeleton = tank;
        t->radius = 3.0f;
        const double a =
            (static_cast<double>(i) / players + static_cast<double>(i) / players) * 3.14159;
        t->position = Vector3(static_cast<float>(std::sin(a) * 75.0 + 100.0), 175.0f,
                              static_cast<float>(std::cos(a) * 75.0 + 100.0));
        tanks.push_back(t.get());
        battle.objects.push_back(std::move(t));
    }
    for (int k = 0; k < 2000 && !std::all_of(tanks.begin(), tanks.end(),
                                             [](const TankObject* t) { return t->resting; });
         ++k)
        physics.step(battle.world());

    DeathsHead weapon;
    for (TankObject* t : tanks) {
        Skeleton* turret = findNode(t->skeleton, "turret");
        Skeleton* barrel = findNode(t->skeleton, "barrel");
        turret->rotate.y =
            std::atan2(100.0f - t->position.x, 100.0f - t->position.z) * 180.0f / 3.14159f;
        barrel->rotate.x = -45.0f;
        Vector3 launchPoint(0.0f, 0.0f, 0.0f);
        transformFromNode(t->skeleton, launchPoint, "tip");
        launchPoint += t->position;
        const float yaw = turret->rotate.y * 3.14159f / 180.0f;
        const float pitch = barrel->rotate.x * 3.14159f / 180.0f;
        weapon.fire(battle.objects, launchPoint,
                    Vector3(std::sin(yaw) * std::cos(pitch) * launchSpeed,
                            -std::sin(pitch) * launchSpeed,
                            std::cos(yaw) * std::cos(pitch) * launchSpeed));
    }
}

// One simulated second (100 steps) of the salvo, after `flight` steps: 200 is
// just after the carriers split (1,280 objects in the air), 900 shortly before
// the first swarm of explosions goes off (126 in one step). Reports the mean and
// the worst step, in thread CPU time, and how many explosions went off. The
// flight before it is flown by the game's physics for both: the sameness test
// shows that both would reach the same state.
template <typename Physics> void BM_Salvo(benchmark::State& state) {
    const int flight = static_cast<int>(state.range(0));
    constexpr int window = 100;
    Silence silence;
    double total = 0.0;
    double worst = 0.0;
    int goneOff = 0;
    for (auto _ : state) {
        Battle battle;
        PhysicsSettings lead;
        fireSalvo(battle, lead);
        for (int k = 0; k < flight; ++k)
            lead.step(battle.world());
        Physics physics;
        double elapsed = 0.0;
        for (int k = 0; k < window; ++k) {
            const double before = threadSeconds();
            physics.step(battle.world());
            const double took = threadSeconds() - before;
            elapsed += took;
            worst = std::max(worst, took);
            for (const std::unique_ptr<Object>& o : battle.objects)
                goneOff += o->dead && dynamic_cast<const Explosion*>(o.get()) != nullptr;
        }
        state.SetIterationTime(elapsed);
        total += elapsed;
        Silence quiet;
        battle.objects.clear();
    }
    const double steps = static_cast<double>(state.iterations()) * window;
    state.counters["mean_step_us"] = total / steps * 1e6;
    state.counters["worst_step_us"] = worst * 1e6;
    state.counters["explosions"] = goneOff / static_cast<double>(state.iterations());
}
BENCHMARK_TEMPLATE(BM_Salvo, PhysicsSettings)
    ->Arg(200)
    ->Arg(900)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Salvo, PlainPhysics)
    ->Arg(200)
    ->Arg(900)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
