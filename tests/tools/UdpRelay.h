#pragma once
#include "tools/RelayOptions.h"
#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <queue>
#include <random>
#include <string>
#include <vector>

// A UDP relay on loopback that stands between the games of a network test and
// makes their line worse on purpose: each datagram, either way, is lost with a
// set probability or else held for a delay plus a uniform jitter (so datagrams
// may overtake one another). Every client address that writes to the listening
// port gets an upstream socket of its own, connected to the target, so the
// target sees one peer per client as ENet needs, and what the target answers on
// that socket goes back to that client.
//
// One thread, poll() and a timer queue; the caller drives it with runOnce, which
// a test can interleave with its own sockets. Memory is bounded: past the
// options' caps on queued datagrams, their bytes and the clients, datagrams
// are dropped and counted.
class UdpRelay {
public:
    enum Way { toTarget = 0, toClient = 1 };
    struct Counts {
        std::uint64_t forwarded[2] = {0, 0}; // sent on, by Way
        std::uint64_t lost[2] = {0, 0};      // dropped on purpose
        // Over a cap, or the socket would not take it (its buffer full, or nobody
        // listening at the target, which loopback reports at once).
        std::uint64_t refused[2] = {0, 0};
    };

    explicit UdpRelay(const RelayOptions& options);
    ~UdpRelay();
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    // Binds 127.0.0.1:listenPort. False, with the reason in `error`.
    bool open(std::string& error);
    // Waits up to `milliseconds` (less when a datagram falls due sooner), reads
    // what came in and sends on what is due.
    void runOnce(int milliseconds);

    std::uint16_t port() const { return listenPort; }
    const Counts& counts() const { return tally; }
    std::size_t clients() const { return clientTable.size(); }
    std::size_t queued() const { return pending.size(); }
    std::string summary() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Client {
        sockaddr_in address{};
        int socket = -1; // connected to the target
    };
    struct Datagram {
        Clock::time_point due;
        std::uint64_t order = 0; // ties keep the order of arrival
        Way way = toTarget;
        std::size_t client = 0;
        std::vector<std::uint8_t> bytes;
    };
    struct Later {
        bool operator()(const Datagram& a, const Datagram& b) const {
            return a.due != b.due ? a.due > b.due : a.order > b.order;
        }
    };

    void readFromClients();
    void readFromTarget(std::size_t client);
    int clientFor(const sockaddr_in& address);
    void schedule(Way way, std::size_t client, const std::uint8_t* bytes, std::size_t size);
    void deliverDue();

    RelayOptions options;
    int listenSocket = -1;
    std::uint16_t listenPort = 0;
    std::vector<Client> clientTable;
    std::priority_queue<Datagram, std::vector<Datagram>, Later> pending;
    std::size_t pendingBytes = 0;
    std::uint64_t arrivals = 0;
    std::mt19937 random;
    Counts tally;
    std::vector<std::uint8_t> buffer;
};
