// udp_relay --listen PORT --to HOST:PORT [--delay-ms N] [--jitter-ms N]
//           [--loss PERCENT] [--seed N]
// Stands between two games on loopback and makes their line slow and lossy on
// demand (tools/UdpRelay.h). Prints "relay: listening on 127.0.0.1:PORT" once
// it takes datagrams (with --listen 0 the port is the one it got), and a line
// of what it forwarded and dropped when SIGTERM or SIGINT ends it.
#include "tools/RelayOptions.h"
#include "tools/UdpRelay.h"
#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

} // namespace

int main(int argc, char** argv) {
    RelayOptions options;
    std::string error;
    if (!parseRelayOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "udp_relay: %s\n", error.c_str());
        std::fprintf(stderr, "usage: udp_relay --listen PORT --to HOST:PORT [--delay-ms N] "
                             "[--jitter-ms N] [--loss PERCENT] [--seed N]\n");
        return 2;
    }
    // Without SA_RESTART, so a signal ends the poll at once.
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    UdpRelay relay(options);
    if (!relay.open(error)) {
        std::fprintf(stderr, "udp_relay: %s\n", error.c_str());
        return 1;
    }
    std::printf("relay: listening on 127.0.0.1:%u\n", static_cast<unsigned>(relay.port()));
    std::fflush(stdout);
    // A signal landing between the check and the poll waits at most this long.
    while (!stopRequested)
        relay.runOnce(100);
    std::printf("%s\n", relay.summary().c_str());
    std::fflush(stdout);
    return 0;
}
