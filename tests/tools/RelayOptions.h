#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the relay is told on its command line. Ports and the target are kept in
// host byte order; the target is always a loopback address, since the tests
// that use the relay must never reach past this machine.
struct RelayOptions {
    std::uint16_t listenPort = 0; // 0: any free port, which the relay then prints
    std::uint32_t targetAddress = 0x7f000001; // 127.0.0.1
    std::uint16_t targetPort = 0;
    int delayMs = 0;
    int jitterMs = 0;         // each datagram waits a further 0 to jitterMs, so it may overtake
    double lossPercent = 0.0; // 0 to 100
    std::uint32_t seed = 1;
    std::size_t maxQueued = 10000;            // datagrams waiting, both ways together
    std::size_t maxQueuedBytes = 32u << 20;   // and their bytes
    std::size_t maxClients = 64;              // each holds a socket
};

// Reads `--listen PORT --to HOST:PORT [--delay-ms N] [--jitter-ms N] [--loss
// PERCENT] [--seed N]` (the arguments after the program's name). False, with a
// one-line reason in `error`, for anything else: an unknown flag, a missing or
// out-of-range value, a target that is not a loopback address.
bool parseRelayOptions(const std::vector<std::string>& args, RelayOptions& options,
                       std::string& error);
