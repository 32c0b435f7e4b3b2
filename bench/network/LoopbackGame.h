#pragma once
#include "RelayThread.h"
#include "Samples.h"
#include "app/GameCore.h"
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The line between the guests and the host: straight, or through the relay
// with a delay each way and a chance of losing each datagram.
struct LineShape {
    int oneWayMs = 0;
    double lossPercent = 0.0;
    bool relayed() const { return oneWayMs > 0 || lossPercent > 0.0; }
};

// Several game cores in this one process, one per machine, on the tests' fake
// OpenGL, playing one networked game over real ENet on 127.0.0.1. The first
// hosts with the game's own "host 0"; the others "join" it. Frames are paced
// at 60 a second by the wall clock, and each core is updated once a frame with
// the wall time since its own last update, as a window's idle loop would.
class LoopbackGame {
public:
    using Clock = std::chrono::steady_clock;

    LoopbackGame(int machines, const LineShape& line);
    ~LoopbackGame();
    LoopbackGame(const LoopbackGame&) = delete;
    LoopbackGame& operator=(const LoopbackGame&) = delete;

    // Hosts, joins every other core and runs frames until the host's lobby
    // lists them all. False, with the reason, otherwise.
    bool gather(double seconds, std::string& error);
    // The host's console commands, which run on every machine at one step;
    // frames run until every core holds `tanks` tanks.
    bool start(const std::string& commands, std::size_t tanks, double seconds);

    // One frame: waits for its time, then updates every core in turn.
    void frame();
    void framesFor(double seconds);

    int machines() const { return static_cast<int>(cores.size()); }
    GameCore& core(int machine) { return *cores[static_cast<std::size_t>(machine)]; }
    std::uint16_t hostPort() const { return port; }
    std::uint32_t steps(int machine);
    // When the machine's last update returned.
    Clock::time_point updatedAt(int machine) const { return updated[static_cast<std::size_t>(machine)]; }
    // Each core's update times in milliseconds since the last reset.
    Samples& updateCost(int machine) { return costs[static_cast<std::size_t>(machine)]; }
    // The whole frame's updates, every core's together.
    Samples& frameCost() { return allCores; }
    void resetCosts();
    // The earliest step any machine found the worlds parted at.
    std::optional<std::uint32_t> desync();
    std::string relaySummary();

    // Runs frames until `done` says so (true) or the time is up (false).
    bool framesUntil(const std::function<bool()>& done, double seconds);

private:

    LineShape shape;
    std::vector<std::unique_ptr<GameCore>> cores;
    std::vector<Clock::time_point> updated;
    std::vector<Samples> costs;
    Samples allCores;
    std::unique_ptr<RelayThread> relay;
    std::uint16_t port = 0;
    Clock::time_point nextFrame;
    bool paced = false;
};
