// Whether the biggest battle stays watchable: the real game's loop in a real
// 640 x 480 window, timed by its swaps. A plain timing harness, not a Google
// Benchmark: what matters is a time series (the slowest stretch of one salvo),
// which a benchmark's mean per iteration would hide.
//
// Each round starts a 64-tank game on the same terrain, lets the tanks land,
// then runs frames as the window does (GameCore::idle with the real time since
// the last update, GameCore::display, the swap), each finished with glFinish so
// a frame is drawn and not just issued:
//   idle   a few seconds of the game at rest: frames per second;
//   salvo  every tank fires a Death's Head at the centre, 45 degrees up, as the
//          frame benchmark's salvo does; frames run until no shell or
//          explosion is left. The salvo's time is cut into half-second
//          windows from the shot, and the window with the fewest swaps is
//          the slowest half second.
// The ratio slowest / idle is the figure to watch (0.5 or more keeps the salvo
// watchable). Frame rates depend on what else the machine runs; the processor
// time a frame takes (idle, over the salvo, and in its heaviest half second),
// reported beside them, depends on it much less. The camera is the frame benchmark's
// fixed overview, with "follow" at 0 so the camera stays there, the whole field in sight; the marks
// are on, as a new game has them. The game's trace goes to standard output; the figures go to
// standard error. Run from the game folder (the one holding data/), under an X server:
// scripts/bench-salvo.sh does both.
//   salvo_watch [rounds (3)] [idle seconds (3)]
#include "app/Timer.h"
#include "app/Window.h"
#include "DeathsHeadSalvo.h"
#include "support/GameCorePeer.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int players = 64;
constexpr unsigned terrainSeed = 22; // every round, and every build, fights on one field
constexpr double windowSeconds = 0.5;
constexpr double longestSalvoSeconds = 300.0; // a salvo that never ends is reported, not waited for

const Vector3 overview{100.0f, 170.0f, 230.0f};
const Vector3 lookingDown{40.0f, 0.0f, 0.0f};

// One frame as the window runs it; the time its picture was finished.
double frame(GameCore& core, GameCorePeer& peer) {
    core.idle();
    core.display();
    Window::display(); // no game attached: swaps the buffers only
    peer.screen.finish();
    return Timer::now();
}

// The processor time of every thread of the process, the renderer's included:
// the work a frame takes, which other programs on the machine do not change.
double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

bool shotsLeft(const ObjectList& objects) {
    return std::any_of(objects.begin(), objects.end(), [](const std::unique_ptr<Object>& object) {
        return dynamic_cast<const TankObject*>(object.get()) == nullptr;
    });
}

struct Round {
    double idleFps = 0.0;
    double idleWorkMs = 0.0; // processor time per frame
    double salvoWorkMs = 0.0;
    double heaviestWorkMs = 0.0; // of the half second whose frames took the most
    double salvoSeconds = 0.0;
    double slowestFps = 0.0;
    int salvoFrames = 0;
    bool ended = true;
    std::vector<int> swapsPerWindow;
};

Round watchRound(GameCore& core, GameCorePeer& peer, double idleSeconds) {
    Round round;
    std::srand(terrainSeed);
    core.processCommands("terrain");
    core.newGame(players);
    for (int n = 0; n < 400; ++n)
        core.update(0.05f);
    peer.splashVisible = false;
    peer.messageShown = false;
    peer.variables["follow"] = 0;
    peer.cameraPosition = overview;
    peer.cameraRotation = lookingDown;
    // The settling above is not the idle time: start the frame timer afresh, and
    // let the renderer settle (texture uploads, first-use compilation).
    for (int n = 0; n < 10; ++n)
        frame(core, peer);

    // Idle.
    const double idleStart = Timer::now();
    const double idleWork = processorSeconds();
    int idleFrames = 0;
    for (double t = idleStart; t - idleStart < idleSeconds; ++idleFrames)
        t = frame(core, peer);
    round.idleFps = idleFrames / (Timer::now() - idleStart);
    round.idleWorkMs = 1e3 * (processorSeconds() - idleWork) / idleFrames;

    // Salvo: the swap times from the shot until nothing flies or burns.
    fireDeathsHeads(peer);
    const double shot = Timer::now();
    const double salvoWork = processorSeconds();
    std::vector<double> swaps, work; // wall-clock and processor seconds at each swap
    while (shotsLeft(peer.objects)) {
        swaps.push_back(frame(core, peer));
        work.push_back(processorSeconds());
        if (swaps.back() - shot > longestSalvoSeconds) {
            round.ended = false;
            break;
        }
    }
    round.salvoFrames = static_cast<int>(swaps.size());
    if (!swaps.empty())
        round.salvoWorkMs = 1e3 * (processorSeconds() - salvoWork) / swaps.size();
    round.salvoSeconds = swaps.empty() ? 0.0 : swaps.back() - shot;
    // Whole windows only; a salvo shorter than one window is one short window.
    const int windows = static_cast<int>(round.salvoSeconds / windowSeconds);
    if (windows == 0) {
        round.slowestFps = round.salvoSeconds > 0.0 ? swaps.size() / round.salvoSeconds : 0.0;
        return round;
    }
    round.swapsPerWindow.assign(windows, 0);
    for (const double t : swaps) {
        const int k = static_cast<int>((t - shot) / windowSeconds);
        if (k < windows)
            ++round.swapsPerWindow[k];
    }
    round.slowestFps =
        *std::min_element(round.swapsPerWindow.begin(), round.swapsPerWindow.end()) / windowSeconds;
    // A window without a swap hands its work on to the frame that ends it.
    double done = salvoWork;
    std::size_t i = 0;
    for (int k = 0; k < windows; ++k) {
        const std::size_t first = i;
        while (i < swaps.size() && swaps[i] - shot < (k + 1) * windowSeconds)
            ++i;
        if (i > first) {
            round.heaviestWorkMs =
                std::max(round.heaviestWorkMs, 1e3 * (work[i - 1] - done) / (i - first));
            done = work[i - 1];
        }
    }
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

} // namespace

int main(int argc, char** argv) {
    Window window(&argc, argv, "Vantrell", 640, 480);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const double idleSeconds = argc > 2 ? std::max(0.5, std::atof(argv[2])) : 3.0;
    auto core = std::make_unique<GameCore>();
    GameCorePeer peer(*core);
    core->reshape(640, 480);

    std::vector<double> idle, duration, slowest, ratio, idleWork, salvoWork, heaviest;
    for (int r = 1; r <= rounds; ++r) {
        const Round round = watchRound(*core, peer, idleSeconds);
        const double share = round.idleFps > 0.0 ? round.slowestFps / round.idleFps : 0.0;
        std::fprintf(stderr,
                     "round %d: idle %.1f fps, %.1f ms of processor a frame; salvo %.2f s, %d "
                     "frames (%.1f fps), %.1f ms of processor a frame%s; slowest half second "
                     "%.1f fps; slowest / idle %.3f; heaviest half second %.1f ms of processor a "
                     "frame\n  swaps per half second:",
                     r, round.idleFps, round.idleWorkMs, round.salvoSeconds, round.salvoFrames,
                     round.salvoSeconds > 0.0 ? round.salvoFrames / round.salvoSeconds : 0.0,
                     round.salvoWorkMs, round.ended ? "" : " (cut off: still going)",
                     round.slowestFps, share, round.heaviestWorkMs);
        for (const int swaps : round.swapsPerWindow)
            std::fprintf(stderr, " %d", swaps);
        std::fprintf(stderr, "\n");
        idle.push_back(round.idleFps);
        duration.push_back(round.salvoSeconds);
        slowest.push_back(round.slowestFps);
        ratio.push_back(share);
        idleWork.push_back(round.idleWorkMs);
        salvoWork.push_back(round.salvoWorkMs);
        heaviest.push_back(round.heaviestWorkMs);
    }
    std::fprintf(stderr,
                 "median of %d: idle %.1f fps (%d tanks); salvo %.2f s; slowest half second "
                 "%.1f fps; slowest / idle %.3f (target 0.5 at least); processor a frame: idle "
                 "%.1f ms, salvo %.1f ms, heaviest half second %.1f ms (idle / heaviest %.3f)\n",
                 rounds, median(idle), players, median(duration), median(slowest), median(ratio),
                 median(idleWork), median(salvoWork), median(heaviest),
                 median(heaviest) > 0.0 ? median(idleWork) / median(heaviest) : 0.0);
    // The window's GL context must outlive the game's textures.
    core.reset();
    return 0;
}
