#pragma once
#include "tools/UdpRelay.h"
#include <atomic>
#include <string>
#include <thread>

// The tests' UDP relay running in a thread of its own, so the datagrams it
// holds back go on at their time rather than at the next game frame.
class RelayThread {
public:
    explicit RelayThread(const RelayOptions& options) : relay(options) {}
    ~RelayThread() { stop(); }
    RelayThread(const RelayThread&) = delete;
    RelayThread& operator=(const RelayThread&) = delete;

    // Binds a free loopback port and starts forwarding. False, with the reason.
    bool start(std::string& error);
    std::uint16_t port() const { return relay.port(); }
    // What it forwarded, lost and refused; the thread has stopped.
    std::string stop();

private:
    UdpRelay relay;
    std::thread worker;
    std::atomic<bool> running{false};
};
