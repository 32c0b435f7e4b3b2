#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct _ENetHost;
struct _ENetPeer;

struct TransportEvent {
    enum class Kind { connected, received, disconnected };
    Kind kind = Kind::received;
    int peer = -1; // the transport's own number for the connection, 0 to maxPeers - 1
    std::vector<std::uint8_t> bytes; // received only
};

// UDP connections through ENet: a host listening on a port, or a guest
// connected to one. Channel 0 carries the reliable messages in order, channel 1
// the unreliable ones (aims), newest only. Bytes in, bytes out: what they mean
// is the codec's business. Opens no socket until `listen` or `connect`.
class EnetTransport {
public:
    static constexpr std::size_t maxPeers = 16;
    static constexpr std::uint16_t defaultPort = 28960;
    // No packet past this is taken in: ENet refuses it before allocating it.
    static constexpr std::size_t maxPacketBytes = 4096;

    EnetTransport();
    ~EnetTransport();
    EnetTransport(const EnetTransport&) = delete;
    EnetTransport& operator=(const EnetTransport&) = delete;

    // False, with an error line, when the port cannot be had. Port 0 takes any
    // free one; port() then says which.
    bool listen(std::uint16_t port);
    // The connection's number, or -1 with an error line; the connection is
    // made when poll reports it connected (or disconnected, when refused).
    int connect(const std::string& address, std::uint16_t port);
    bool send(int peer, bool reliable, const std::vector<std::uint8_t>& bytes);
    // Waits up to `milliseconds` for a first event, then takes every other that
    // is ready; sends what was queued.
    std::vector<TransportEvent> poll(std::uint32_t milliseconds);
    // Lets the far end know; its disconnected event follows through poll.
    // What was queued for it and not yet sent is dropped.
    void disconnect(int peer);
    // The same once everything queued for it has been sent and acknowledged:
    // for a last word (a refusal, a goodbye) before hanging up.
    void disconnectAfterSending(int peer);
    // Sends what is queued now rather than at the next poll.
    void flush();

    std::uint16_t port() const;
    double roundTripSeconds(int peer) const; // ENet's running mean
    bool isOpen() const { return enetHost != nullptr; }
    // UDP payload bytes sent so far, ENet's headers and acknowledgements included.
    std::uint64_t bytesSent() const;

private:
    int slotOf(const _ENetPeer* peer) const;
    _ENetPeer* peerAt(int peer) const;

    _ENetHost* enetHost = nullptr;
    std::array<_ENetPeer*, maxPeers> peers{};
};
