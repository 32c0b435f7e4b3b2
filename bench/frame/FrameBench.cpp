// The cost of one game frame against what any frame costs. The benchmarks draw
// in one real 640 x 480 window, each frame finished (glFinish) so the time is the
// drawing's and not just the issuing's:
//   Floor        clear and swap: what the window costs with nothing drawn;
//   BareTerrainImmediate  the terrain's triangles alone, with its textures and
//                lighting, sent call by call (the reference the frame is held to);
//   BareTerrain  the same from the terrain's display lists, as the game draws it;
//   GameFrame    the whole frame: background, terrain, four tanks, weapon bar
//                and heads-up texts;
//   NukeCrater   the bare terrain from its lists while a Nuke's crater comes and
//                goes every frame: what a crater costs its frame is this less
//                BareTerrain (the strips it covers are drawn call by call);
//   CraterSettling  the same crater coming or going every eighth frame: most
//                frames then compile changed strips, two at most, and this less
//                BareTerrain is what the frames after a crater pay;
// and, to tell where the rest goes, Background: the background model alone.
// The marks over the frame (tank colours and labels, shell trails, burst flashes)
// are timed on and off in one run: GameFrame and GameFrameMarks for the four
// tanks at rest, SalvoFrame and SalvoFrameMarks for 64 tanks whose Death's Heads
// are in the air and starting to go off; the target is under 10 % more.
// Under a software renderer the terrain's pixels dominate a frame; the target
// is a whole frame within 1.2 times the bare terrain drawn call by call, and a
// crater under 2 ms. Run from the game folder
// (the one holding data/), under an X server: scripts/bench-frame.sh does both.
#include "app/Window.h"
#include "DeathsHeadSalvo.h"
#include "support/GameCorePeer.h"
#include "world/TankObject.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

GameCore* game = nullptr;
GameCorePeer* inside = nullptr; // what is inside game
GameCore* salvo = nullptr;      // 64 players in a salvo
GameCorePeer* salvoInside = nullptr;

// A view over the whole field from behind its near edge, as a player would
// look at a game in progress: the four tanks and most of the terrain in sight.
const Vector3 overview{100.0f, 170.0f, 230.0f};
const Vector3 lookingDown{40.0f, 0.0f, 0.0f};

void swapAndFinish() {
    Window::display(); // no game attached: swaps the buffers only
    inside->screen.finish();
}

void Floor(benchmark::State& state) {
    for (auto _ : state) {
        inside->screen.clear();
        swapAndFinish();
    }
}

// Everything of the frame's scene set-up that bears on the terrain.
void terrainScene(Display& screen) {
    screen.clear();
    screen.perspective(90.0f, 640.0f / 480.0f, 0.1f, 300.0f);
    screen.setCamera(inside->cameraPosition, inside->cameraRotation);
    screen.setLightPosition(0, inside->lightPosition);
    screen.setWireframe(false);
    screen.setDepthTest(true);
    screen.setLighting(true);
}

void BareTerrain(benchmark::State& state) {
    Display& screen = inside->screen;
    for (auto _ : state) {
        terrainScene(screen);
        screen.drawTerrain(inside->terrain);
        swapAndFinish();
    }
}

void BareTerrainImmediate(benchmark::State& state) {
    Display& screen = inside->screen;
    for (auto _ : state) {
        terrainScene(screen);
        screen.drawTerrainImmediate(inside->terrain);
        swapAndFinish();
    }
}

// The game's terrain drawn until every strip is compiled again, not drawn:
// the benchmarks run next find it all in lists.
void settle(Display& screen) {
    for (int n = 0; n < 16; ++n)
        screen.drawTerrain(inside->terrain);
}

// Every other frame the field's centre has a Nuke's crater (radius 32), the
// frames between have it filled again; the game's terrain is left as it was.
void NukeCrater(benchmark::State& state) {
    Display& screen = inside->screen;
    const Terrain untouched = inside->terrain;
    Terrain dug = untouched;
    dug.crater(Vector3(100.0f, untouched.heightAt(32, 32), 100.0f), 32.0f);
    bool withCrater = false;
    for (auto _ : state) {
        withCrater = !withCrater;
        terrainScene(screen);
        screen.drawTerrain(withCrater ? dug : untouched);
        swapAndFinish();
    }
    settle(screen);
}

void CraterSettling(benchmark::State& state) {
    Display& screen = inside->screen;
    const Terrain untouched = inside->terrain;
    Terrain dug = untouched;
    dug.crater(Vector3(100.0f, untouched.heightAt(32, 32), 100.0f), 32.0f);
    int frame = 0;
    for (auto _ : state) {
        const bool withCrater = frame++ / 8 % 2 == 1;
        terrainScene(screen);
        screen.drawTerrain(withCrater ? dug : untouched);
        swapAndFinish();
    }
    settle(screen);
}

void drawFrames(benchmark::State& state, GameCore& core, GameCorePeer& peer, int marks) {
    peer.variables["marks"] = marks;
    for (auto _ : state) {
        core.display();
        swapAndFinish();
    }
}
void GameFrame(benchmark::State& state) {
    drawFrames(state, *game, *inside, 0);
}
void GameFrameMarks(benchmark::State& state) {
    drawFrames(state, *game, *inside, 1);
}
void SalvoFrame(benchmark::State& state) {
    drawFrames(state, *salvo, *salvoInside, 0);
}
void SalvoFrameMarks(benchmark::State& state) {
    drawFrames(state, *salvo, *salvoInside, 1);
}

// Every tank fires a Death's Head at the centre, 45 degrees up, as the salvo
// benchmark of the world does; then the game runs until the carriers have split
// and the first of their hundreds of shells come down.
void fireSalvo(GameCore& core, GameCorePeer& peer) {
    core.newGame(64);
    for (int n = 0; n < 400; ++n)
        core.update(0.05f);
    fireDeathsHeads(peer);
    // Until the most shells fly: the carriers have split and the first shells
    // come down.
    std::size_t most = 0;
    for (int n = 0; n < 1000; ++n) {
        core.update(0.02f);
        const std::size_t flying = peer.marks.trails().size();
        if (most > peer.tanks.size() && flying < most)
            break;
        most = std::max(most, flying);
    }
    std::cerr << "salvo frame: " << peer.marks.trails().size() << " shells flying, "
              << peer.marks.flashes().size() << " bursts flashing" << std::endl;
}

// A breakdown, not a reference: the background model alone, as the frame draws
// it. It covers the whole window, so under a software renderer it costs a full
// window of textured pixels whatever the view.
void Background(benchmark::State& state) {
    Display& screen = inside->screen;
    for (auto _ : state) {
        screen.clear();
        screen.perspective(90.0f, 640.0f / 480.0f, 0.1f, 300.0f);
        screen.setCamera(inside->cameraPosition, inside->cameraRotation);
        screen.setColor(1.0f, 1.0f, 1.0f);
        screen.setLighting(false);
        screen.bindTexture(inside->backgroundTexture);
        screen.drawSkeleton(inside->backgroundSkeleton, inside->meshes);
        swapAndFinish();
    }
}

// Every frame is one iteration; the repetitions give the median.
void frames(benchmark::internal::Benchmark* b) {
    b->Iterations(100)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}
BENCHMARK(Floor)->Apply(frames);
BENCHMARK(BareTerrainImmediate)->Apply(frames);
BENCHMARK(BareTerrain)->Apply(frames);
BENCHMARK(NukeCrater)->Apply(frames);
BENCHMARK(CraterSettling)->Apply(frames);
BENCHMARK(GameFrame)->Apply(frames);
BENCHMARK(GameFrameMarks)->Apply(frames);
BENCHMARK(SalvoFrame)->Apply(frames);
BENCHMARK(SalvoFrameMarks)->Apply(frames);
BENCHMARK(Background)->Apply(frames);

// Prints the usual table and keeps each benchmark's median time per frame for the
// ratios: the software renderer shares the machine, and the median of nine runs
// of 100 frames shrugs off a run that met a busy moment. The runs of the four
// benchmarks are interleaved (see main) so a busy spell hits all of them alike.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                milliseconds[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> milliseconds;
};

} // namespace

int main(int argc, char** argv) {
    // Interleaved runs unless the command line says otherwise.
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    argc = count;
    argv = arguments.data();
    Window window(&argc, argv, "Vantrell", 640, 480);
    auto core = std::make_unique<GameCore>();
    game = core.get();
    GameCorePeer peer(*core);
    inside = &peer;
    game->reshape(640, 480);

    // A game in progress: four tanks settled on the ground, the title gone.
    game->newGame(4);
    for (int n = 0; n < 400; ++n)
        game->update(0.05f);
    inside->splashVisible = false;
    inside->messageShown = false;
    inside->cameraPosition = overview;
    inside->cameraRotation = lookingDown;
    auto salvoCore = std::make_unique<GameCore>();
    salvo = salvoCore.get();
    GameCorePeer salvoPeer(*salvoCore);
    salvoInside = &salvoPeer;
    salvo->reshape(640, 480);
    fireSalvo(*salvo, salvoPeer);
    salvoPeer.splashVisible = false;
    salvoPeer.messageShown = false;
    salvoPeer.cameraPosition = overview;
    salvoPeer.cameraRotation = lookingDown;

    // Let the renderer settle (texture uploads, first-use compilation).
    for (int n = 0; n < 20; ++n) {
        game->display();
        swapAndFinish();
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.milliseconds["Floor"];
    const double terrain = reporter.milliseconds["BareTerrainImmediate"];
    const double frame = reporter.milliseconds["GameFrame"];
    const double listed = reporter.milliseconds["BareTerrain"];
    const double crater = reporter.milliseconds["NukeCrater"];
    const double settling = reporter.milliseconds["CraterSettling"];
    if (listed > 0 && crater > 0)
        std::cout << "crater - listed bare terrain: " << crater - listed << " ms (target under 2)"
                  << std::endl;
    if (listed > 0 && settling > 0)
        std::cout << "crater settling - listed bare terrain: " << settling - listed << " ms"
                  << std::endl;
    if (floor > 0 && terrain > 0 && frame > 0) {
        std::cout << "frame / bare terrain call by call: " << frame / terrain
                  << " (target 1.2 at most)\n"
                  << "bare terrain call by call / floor: " << terrain / floor << "\n"
                  << "frame / floor: " << frame / floor << std::endl;
        const double background = reporter.milliseconds["Background"];
        if (background > 0)
            std::cout << "background / floor: " << background / floor << std::endl;
    }
    for (const char* scene : {"Game", "Salvo"}) {
        const double plain = reporter.milliseconds[std::string(scene) + "Frame"];
        const double marked = reporter.milliseconds[std::string(scene) + "FrameMarks"];
        if (plain > 0 && marked > 0)
            std::cout << "marks / plain, " << scene << ": " << marked / plain
                      << " (target under 1.1)" << std::endl;
    }
    // The window's GL context must outlive the game's textures.
    salvoCore.reset();
    core.reset();
    return 0;
}
