#include "LoopbackGame.h"
#include "app/NetworkLink.h"
#include "support/GameCorePeer.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <string>
#include <thread>

namespace {

constexpr auto framePeriod = std::chrono::nanoseconds(1'000'000'000 / 60);

double secondsBetween(LoopbackGame::Clock::time_point from, LoopbackGame::Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// "Hosting on port N", the host's console line.
std::uint16_t hostedPort(GameCore& core) {
    const std::string said = "Hosting on port ";
    for (const std::string& line : GameCorePeer(core).console.lines())
        if (line.compare(0, said.size(), said) == 0)
            return static_cast<std::uint16_t>(std::stoul(line.substr(said.size())));
    return 0;
}

// The console's "host" takes ports 1 to 65535 only, so a free one is found
// here: the kernel's pick for a socket opened and closed at once. Another
// program may take it meanwhile; the caller tries again.
std::uint16_t freeUdpPort() {
    const int probe = socket(AF_INET, SOCK_DGRAM, 0);
    if (probe < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    std::uint16_t found = 0;
    if (bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        found = ntohs(address.sin_port);
    close(probe);
    return found;
}

bool holdsTanks(GameCore& core, std::size_t count) {
    GameCorePeer peer(core);
    return peer.network && peer.network->beginning() && peer.tanks.size() == count;
}

bool lobbyHolds(GameCore& core, std::size_t count) {
    GameCorePeer peer(core);
    return peer.network && peer.network->lobbyLines().size() == count;
}

} // namespace

LoopbackGame::LoopbackGame(int machines, const LineShape& line) : shape(line) {
    for (int i = 0; i < machines; ++i) {
        cores.push_back(std::make_unique<GameCore>());
        GameCore& core = *cores.back();
        core.reshape(640, 480);
        GameCorePeer peer(core);
        peer.splashVisible = peer.messageShown = false;
        peer.variables["menu"] = 0;
    }
    updated.assign(cores.size(), Clock::now());
    costs.resize(cores.size());
}

LoopbackGame::~LoopbackGame() {
    // The host first: its goodbye waits a fifth of a second for the guests,
    // who are not polled meanwhile, but then each guest finds the host's
    // hang-up waiting and leaves at once, where the other way round every
    // guest would wait its fifth of a second for a host that is not polled.
    cores.front().reset();
    cores.clear();
    relaySummary();
}

bool LoopbackGame::gather(double seconds, std::string& error) {
    for (int attempt = 0; attempt < 5 && port == 0; ++attempt) {
        const std::uint16_t free = freeUdpPort();
        if (free != 0)
            core(0).processCommands("host " + std::to_string(free));
        port = hostedPort(core(0));
    }
    if (port == 0) {
        error = "the host opened no port";
        return false;
    }
    std::uint16_t target = port;
    if (shape.relayed()) {
        RelayOptions options;
        options.targetPort = port;
        options.delayMs = shape.oneWayMs;
        options.lossPercent = shape.lossPercent;
        options.seed = 7;
        relay = std::make_unique<RelayThread>(options);
        if (!relay->start(error))
            return false;
        target = relay->port();
    }
    for (int i = 1; i < machines(); ++i)
        core(i).processCommands("join 127.0.0.1 " + std::to_string(target));
    if (!framesUntil([this] { return lobbyHolds(core(0), cores.size()); }, seconds)) {
        error = "the lobby did not fill";
        return false;
    }
    return true;
}

bool LoopbackGame::start(const std::string& commands, std::size_t tanks, double seconds) {
    core(0).processCommands(commands);
    return framesUntil(
        [this, tanks] {
            for (const std::unique_ptr<GameCore>& each : cores)
                if (!holdsTanks(*each, tanks))
                    return false;
            return true;
        },
        seconds);
}

bool LoopbackGame::framesUntil(const std::function<bool()>& done, double seconds) {
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double>(seconds));
    while (Clock::now() < end) {
        frame();
        if (done())
            return true;
    }
    return false;
}

void LoopbackGame::frame() {
    const Clock::time_point now = Clock::now();
    if (!paced || now > nextFrame + framePeriod) {
        // The first frame, or one more than a frame late: the pace starts
        // again from now rather than rushing frames to catch up.
        nextFrame = now;
        paced = true;
    }
    std::this_thread::sleep_until(nextFrame);
    nextFrame += framePeriod;
    const Clock::time_point frameStart = Clock::now();
    for (std::size_t i = 0; i < cores.size(); ++i) {
        const Clock::time_point before = Clock::now();
        cores[i]->update(static_cast<float>(secondsBetween(updated[i], before)));
        updated[i] = Clock::now();
        costs[i].add(secondsBetween(before, updated[i]) * 1000.0);
    }
    allCores.add(secondsBetween(frameStart, Clock::now()) * 1000.0);
}

void LoopbackGame::framesFor(double seconds) {
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double>(seconds));
    while (Clock::now() < end)
        frame();
}

std::uint32_t LoopbackGame::steps(int machine) {
    GameCorePeer peer(core(machine));
    return peer.network ? peer.network->step() : 0;
}

void LoopbackGame::resetCosts() {
    for (Samples& cost : costs)
        cost.clear();
    allCores.clear();
}

std::optional<std::uint32_t> LoopbackGame::desync() {
    std::optional<std::uint32_t> earliest;
    for (int i = 0; i < machines(); ++i) {
        GameCorePeer peer(core(i));
        if (!peer.network)
            continue;
        if (const auto step = peer.network->desyncStep())
            if (!earliest || *step < *earliest)
                earliest = step;
    }
    return earliest;
}

std::string LoopbackGame::relaySummary() {
    return relay ? relay->stop() : "";
}
