// Networked play measured end to end: game cores in this one process, one per
// machine, on the tests' fake OpenGL, joined over real ENet on 127.0.0.1 by the
// game's own "host 0" and "join" commands, frames paced at 60 a second.
//   1. Space on one machine to the shell's first step on the other: straight,
//      through the relay at 75 ms each way, and at 75 ms with 5 % loss.
//   2. The bytes on the wire of an idle game and of a shot.
//   3. The largest game kept at pace: machines x tanks, all updated each frame.
// Run from anywhere: net_play_bench [--quick]   (about 85 s; --quick about 45)
#include "LoopbackGame.h"
#include "Samples.h"
#include "StepPace.h"
#include "WireCounter.h"
#include "app/NetworkLink.h"
#include "assets/TraceSink.h"
#include "support/GameCorePeer.h"
#include "world/Explosion.h"
#include "world/Object.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = LoopbackGame::Clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// A shell, or what a shell split into: neither a tank nor a blast.
bool isShell(const Object& object) {
    return dynamic_cast<const TankObject*>(&object) == nullptr &&
           dynamic_cast<const Explosion*>(&object) == nullptr;
}

// Ids come from one counter for the whole process, so whatever a core makes
// after this has a higher id than anything it held before.
std::uint32_t newestId(GameCore& core) {
    std::uint32_t newest = 0;
    for (const auto& object : GameCorePeer(core).objects)
        newest = std::max(newest, object->id);
    return newest;
}

bool shellAfter(GameCore& core, std::uint32_t id) {
    for (const auto& object : GameCorePeer(core).objects)
        if (object->id > id && isShell(*object))
            return true;
    return false;
}

bool nothingFlying(GameCore& core) {
    for (const auto& object : GameCorePeer(core).objects)
        if (isShell(*object))
            return false;
    return true;
}

std::string turnOf(GameCore& core) {
    GameCorePeer peer(core);
    return peer.currentTank == peer.tanks.end() ? "" : (*peer.currentTank)->name();
}

struct ShotFigures {
    Samples hostToGuest, guestToHost; // Space to the shell on the other machine, ms
    Samples hostOwn, guestOwn;        // Space to the shell on the firing machine, ms
    Samples guestLead;                // the guest's step count less the host's, at Space
    int missed = 0;
    int shots = 0;
    double seconds = 0.0;    // the whole shooting, waits included
    std::uint64_t bytes = 0; // both machines', meanwhile
    std::string trouble;
};

// Turns alternate between the host's Player 1 and the guest's Player 2, with
// the first weapon, a plain missile that never splits. Space goes down once
// both machines have passed the last shot's step, a few frames later so that
// it falls at every point of the promises' 50 ms cycle; an earlier shell may
// still fly, but the new one is the only shell newer than Space, and the turn
// passes at the step a shot takes effect. Space goes
// down just after a frame's updates, so the wait for the next frame is in the
// figure, and a shell is seen when the update it appeared in returns: each
// figure is late by up to a frame, never early.
ShotFigures timeShots(LoopbackGame& game, int turns) {
    ShotFigures figures;
    const Clock::time_point begun = Clock::now();
    const std::uint64_t bytesBefore = WireCounter::totalBytes();
    int newGames = 0, unfired = 0;
    for (int turn = 0; turn < turns; ++turn) {
        GameCore& host = game.core(0);
        GameCore& guest = game.core(1);
        if (GameCorePeer(host).tanks.size() < 2) {
            // A shot too many at close range: a new game.
            ++newGames;
            if (!game.start("tanks 2", 2, 5.0)) {
                figures.trouble = "no new game";
                break;
            }
        }
        const bool agreed = game.framesUntil(
            [&] { return !turnOf(host).empty() && turnOf(host) == turnOf(guest); }, 10.0);
        if (!agreed) {
            figures.trouble = "the machines never agreed whose turn it was";
            break;
        }
        game.framesFor((4 + (turn * 7) % 12) / 60.0);
        const int shooter = turnOf(host) == "Player 1" ? 0 : 1;
        const int other = 1 - shooter;
        GameCore& firing = game.core(shooter);
        GameCore& watching = game.core(other);
        const std::uint32_t firingNewest = newestId(firing), watchingNewest = newestId(watching);
        const std::string firingTank = turnOf(firing);
        // The shot took effect where the turn passed or a new shell flies:
        // the same step, but a shell that bursts in the step it was made (its
        // tank knocked askew, the barrel in the ground) is never seen.
        const auto shotIn = [&firingTank](GameCore& core, std::uint32_t newest) {
            return turnOf(core) != firingTank || shellAfter(core, newest);
        };
        figures.guestLead.add(static_cast<double>(game.steps(1)) -
                              static_cast<double>(game.steps(0)));
        const Clock::time_point pressed = Clock::now();
        firing.keyboard(' ', true, 0);
        bool released = false, ownSeen = false, seen = false;
        while (!(seen && ownSeen) && millisecondsBetween(pressed, Clock::now()) < 5000.0) {
            game.frame();
            if (!released) {
                firing.keyboard(' ', false, 0);
                released = true;
            }
            if (!ownSeen && shotIn(firing, firingNewest)) {
                ownSeen = true;
                (shooter == 0 ? figures.hostOwn : figures.guestOwn)
                    .add(millisecondsBetween(pressed, game.updatedAt(shooter)));
            }
            if (!seen && shotIn(watching, watchingNewest)) {
                seen = true;
                (shooter == 0 ? figures.hostToGuest : figures.guestToHost)
                    .add(millisecondsBetween(pressed, game.updatedAt(other)));
            }
        }
        ++figures.shots;
        if (!seen)
            ++figures.missed;
        if (!ownSeen)
            ++unfired;
    }
    game.framesUntil([&] { return nothingFlying(game.core(0)) && nothingFlying(game.core(1)); },
                     10.0);
    figures.seconds = millisecondsBetween(begun, Clock::now()) / 1000.0;
    figures.bytes = WireCounter::totalBytes() - bytesBefore;
    if (figures.trouble.empty() && (newGames > 0 || unfired > 0))
        figures.trouble = std::to_string(newGames) + " new games, " + std::to_string(unfired) +
                          " Space fired nothing";
    return figures;
}

struct IdleFigures {
    double seconds = 0.0;
    std::uint64_t hostBytes = 0, guestBytes = 0;
};

// Two tanks at rest, nobody aiming: the promises, the digests and ENet's
// acknowledgements only. The guest's bytes are every port's but the host's:
// no other session is open meanwhile.
IdleFigures measureIdle(LoopbackGame& game, double seconds) {
    IdleFigures idle;
    const std::uint64_t hostBefore = WireCounter::bytesFrom(game.hostPort());
    const std::uint64_t allBefore = WireCounter::totalBytes();
    const Clock::time_point start = Clock::now();
    game.framesFor(seconds);
    idle.seconds = millisecondsBetween(start, Clock::now()) / 1000.0;
    idle.hostBytes = WireCounter::bytesFrom(game.hostPort()) - hostBefore;
    idle.guestBytes = WireCounter::totalBytes() - allBefore - idle.hostBytes;
    return idle;
}

struct LineRun {
    const char* name;
    LineShape shape;
};

void printShotRow(const char* line, const ShotFigures& shots, std::optional<std::uint32_t> desync) {
    std::printf("%-22s %5d %7.0f %7.0f %7.0f %7.0f %7.0f %7.0f %6.1f %6d  %s\n", line,
                shots.shots, shots.hostToGuest.median(), shots.hostToGuest.max(),
                shots.guestToHost.median(), shots.guestToHost.max(), shots.hostOwn.median(),
                shots.guestOwn.median(), shots.guestLead.median(), shots.missed,
                desync ? ("desync at step " + std::to_string(*desync)).c_str()
                       : (shots.trouble.empty() ? "same worlds" : shots.trouble.c_str()));
}

void shotsAndBytes(int turns, double idleSeconds) {
    const LineRun lines[] = {
        {"loopback (0 ms added)", {0, 0.0}},
        {"150 ms round trip", {75, 0.0}},
        {"150 ms, 5 % loss", {75, 5.0}},
    };
    std::printf("\n1. Space to the shot's step (2 machines, tanks 2, ms, median md and max mx):\n"
                "   h->g host's Space on the guest, g->h the other way, h->h and g->g on the firing\n"
                "   machine itself; lead: the guest's steps less the host's at Space. Each figure\n"
                "   holds the wait for the next 60 Hz frame and is late by up to a frame.\n");
    std::printf("%-22s %5s %7s %7s %7s %7s %7s %7s %6s %6s\n", "line", "shots", "h->g md",
                "h->g mx", "g->h md", "g->h mx", "h->h md", "g->g md", "lead", "missed");
    IdleFigures idle;
    ShotFigures straight;
    bool measuredBytes = false;
    for (const LineRun& run : lines) {
        LoopbackGame game(2, run.shape);
        std::string error;
        if (!game.gather(10.0, error) || !game.start("terrain;tanks 2", 2, 10.0)) {
            std::printf("%-22s could not start: %s\n", run.name, error.c_str());
            continue;
        }
        game.framesFor(1.5); // the tanks fall and settle
        if (!run.shape.relayed()) {
            idle = measureIdle(game, idleSeconds);
            measuredBytes = true;
        }
        const ShotFigures shots = timeShots(game, turns);
        if (!run.shape.relayed())
            straight = shots;
        printShotRow(run.name, shots, game.desync());
        if (run.shape.relayed())
            std::printf("%-22s %s\n", "", game.relaySummary().c_str());
    }
    if (!measuredBytes)
        return;
    const double idleRate = static_cast<double>(idle.hostBytes + idle.guestBytes) / idle.seconds;
    std::printf("\n2. Bytes on the wire (UDP payload, ENet's headers and acknowledgements in; "
                "IP and UDP headers not)\n");
    std::printf("   idle, %.1f s, 2 tanks at rest: host %.0f B/s, guest %.0f B/s\n", idle.seconds,
                static_cast<double>(idle.hostBytes) / idle.seconds,
                static_cast<double>(idle.guestBytes) / idle.seconds);
    if (straight.shots > 0 && WireCounter::totalBytes() > 0) {
        const double extra = static_cast<double>(straight.bytes) - idleRate * straight.seconds;
        std::printf("   %d shots over %.1f s: %llu B both ways, %.0f B above idle: %.0f B a shot\n",
                    straight.shots, straight.seconds,
                    static_cast<unsigned long long>(straight.bytes), extra,
                    extra / straight.shots);
    }
}

struct ScaleFigures {
    bool started = false;
    double seconds = 0.0;
    double meanMs = 0.0;      // one core's update, over every core and frame
    double worstMeanMs = 0.0; // the costliest core's mean
    double worstMs = 0.0;     // the costliest single update
    double frameMeanMs = 0.0, frameWorstMs = 0.0; // all cores' updates in one frame
    double framesPerSecond = 0.0;
    std::uint32_t fewestSteps = 0;
    double firstShotSeconds = 0.0; // from the game's start
    int shots = 0;                 // the computers', in the window
    bool kept = false;
    double hostBytesPerSecond = 0.0;
    std::optional<std::uint32_t> desync;
};

// The console says each of the computers' shots.
int computerShots(GameCore& core) {
    int shots = 0;
    for (const std::string& line : GameCorePeer(core).console.lines())
        if (line.find("(computer, ") != std::string::npos)
            ++shots;
    return shots;
}

// Every tank is the computer's, so shells fly and every machine runs the
// computers' turns as a networked game does.
ScaleFigures holdGame(int machines, int tanks, double seconds, double firstShotSeconds) {
    ScaleFigures figures;
    LoopbackGame game(machines, LineShape{});
    std::string error;
    const std::string commands =
        "terrain;tanks " + std::to_string(tanks) + ";computers " + std::to_string(tanks);
    if (!game.gather(20.0, error) || !game.start(commands, static_cast<std::size_t>(tanks), 20.0))
        return figures;
    figures.started = true;
    // The computers think until the tanks have landed: the window opens at
    // the first shot, so shells fly in it.
    const Clock::time_point begun = Clock::now();
    game.framesUntil([&game] { return computerShots(game.core(0)) > 0; }, firstShotSeconds);
    figures.firstShotSeconds = millisecondsBetween(begun, Clock::now()) / 1000.0;
    std::vector<std::uint32_t> stepsBefore;
    for (int i = 0; i < machines; ++i)
        stepsBefore.push_back(game.steps(i));
    const std::uint64_t bytesBefore = WireCounter::bytesFrom(game.hostPort());
    const int shotsBefore = computerShots(game.core(0));
    game.resetCosts();
    const Clock::time_point start = Clock::now();
    game.framesFor(seconds);
    figures.seconds = millisecondsBetween(start, Clock::now()) / 1000.0;
    figures.hostBytesPerSecond =
        static_cast<double>(WireCounter::bytesFrom(game.hostPort()) - bytesBefore) /
        figures.seconds;
    figures.shots = computerShots(game.core(0)) - shotsBefore;
    figures.fewestSteps = UINT32_MAX;
    double sum = 0.0;
    for (int i = 0; i < machines; ++i) {
        const Samples& cost = game.updateCost(i);
        sum += cost.mean();
        figures.worstMeanMs = std::max(figures.worstMeanMs, cost.mean());
        figures.worstMs = std::max(figures.worstMs, cost.max());
        figures.fewestSteps = std::min(figures.fewestSteps, game.steps(i) - stepsBefore[i]);
    }
    figures.meanMs = sum / machines;
    figures.frameMeanMs = game.frameCost().mean();
    figures.frameWorstMs = game.frameCost().max();
    figures.framesPerSecond = static_cast<double>(game.frameCost().count()) / figures.seconds;
    figures.kept = keptStepPace(figures.fewestSteps, figures.seconds) &&
                   figures.framesPerSecond >= 58.0;
    figures.desync = game.desync();
    return figures;
}

void largestGame(double seconds, double firstShotSeconds) {
    std::printf("\n3. The largest game held on loopback (every tank the computer's; a %.0f s window\n"
                "   from the first shot; all machines' cores in this one process, updated one after\n"
                "   another; core times in ms: mean, the costliest core's mean, the worst update)\n",
                seconds);
    std::printf("%-7s %9s %9s %9s %10s %10s %6s %6s %5s %5s %5s %9s  %s\n", "size", "core mean",
                "core wmn", "core max", "frame mean", "frame max", "fps", "steps", "kept",
                "1st s", "shots", "host B/s", "worlds");
    const std::pair<int, int> sizes[] = {{2, 4}, {4, 16}, {8, 32}, {16, 64}};
    for (const auto& [machines, tanks] : sizes) {
        const ScaleFigures row = holdGame(machines, tanks, seconds, firstShotSeconds);
        const std::string size = std::to_string(machines) + "x" + std::to_string(tanks);
        if (!row.started) {
            std::printf("%-7s did not start\n", size.c_str());
            continue;
        }
        std::printf("%-7s %9.2f %9.2f %9.2f %10.2f %10.2f %6.1f %6u %5s %5.1f %5d %9.0f  %s\n",
                    size.c_str(), row.meanMs, row.worstMeanMs, row.worstMs, row.frameMeanMs,
                    row.frameWorstMs, row.framesPerSecond, row.fewestSteps,
                    row.kept ? "yes" : "NO", row.firstShotSeconds, row.shots, row.hostBytesPerSecond,
                    row.desync ? ("desync at " + std::to_string(*row.desync)).c_str() : "same");
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "--quick";
    std::filesystem::current_path(VANTRELL_GAME_DIR);
    // The cores' trace and network lines are not the report; the network's
    // complaints are kept for the end.
    std::vector<std::string> complaints;
    const TraceSink::Listen quiet(
        [&complaints](TraceSink::Stream stream, const std::string& line) {
            if (stream == TraceSink::Stream::error && line.find("dropped") != std::string::npos)
                complaints.push_back(line);
        },
        true);
    std::printf("net_play_bench: game cores in one process on %u hardware threads, "
                "real ENet on 127.0.0.1, 60 Hz frames\n",
                std::thread::hardware_concurrency());
    const Clock::time_point start = Clock::now();
    shotsAndBytes(quick ? 4 : 10, quick ? 3.0 : 10.0);
    std::printf("   (parts 1 and 2 took %.0f s)\n", millisecondsBetween(start, Clock::now()) / 1000.0);
    std::fflush(stdout);
    const Clock::time_point third = Clock::now();
    largestGame(quick ? 2.0 : 3.0, quick ? 4.0 : 8.0);
    std::printf("   (part 3 took %.0f s)\n", millisecondsBetween(third, Clock::now()) / 1000.0);
    std::set<std::string> distinct(complaints.begin(), complaints.end());
    std::printf("\nnetwork complaints: %zu", complaints.size());
    for (const std::string& line : distinct)
        std::printf("\n  %s", line.c_str());
    std::printf("\n");
    return 0;
}
