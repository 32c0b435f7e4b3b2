#pragma once
#include <cstdint>

// The UDP payload bytes this process has sent, per local port. ENet sends each
// datagram with one sendmsg call, so what a port has sent is what the session
// bound to it put on the wire, ENet's headers and acknowledgements included (IP
// and UDP headers, 28 bytes a datagram, not). The game core keeps its session
// to itself; counting beneath it leaves the game as it is.
//
// Linking WireCounter.cpp into a program puts its sendmsg in front of the C
// library's for the whole program; every call goes on to the real one
// unchanged, and only what the kernel took is counted.
class WireCounter {
public:
    static std::uint64_t bytesFrom(std::uint16_t port);
    static std::uint64_t datagramsFrom(std::uint16_t port);
    // Every port's, together.
    static std::uint64_t totalBytes();
};
