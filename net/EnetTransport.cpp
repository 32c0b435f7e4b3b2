#include "net/EnetTransport.h"
#include "assets/TraceSink.h"
#include <enet/enet.h>

namespace {
constexpr std::size_t channelCount = 2;
constexpr std::uint8_t reliableChannel = 0;
constexpr std::uint8_t unreliableChannel = 1;

// ENet is set up once for the process however many transports there are.
int transports = 0;
bool enetReady = false;
} // namespace

EnetTransport::EnetTransport() {
    if (transports++ == 0)
        enetReady = enet_initialize() == 0;
}

EnetTransport::~EnetTransport() {
    if (enetHost != nullptr) {
        enet_host_flush(enetHost); // a last goodbye, if one was queued
        enet_host_destroy(enetHost);
    }
    if (--transports == 0 && enetReady) {
        enet_deinitialize();
        enetReady = false;
    }
}

bool EnetTransport::listen(std::uint16_t port) {
    if (!enetReady || enetHost != nullptr) {
        ErrorLine() << "Network: cannot host: the network is not set up or already in use";
        return false;
    }
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    enetHost = enet_host_create(&address, maxPeers, channelCount, 0, 0);
    if (enetHost == nullptr) {
        ErrorLine() << "Network: cannot host on port " << port;
        return false;
    }
    enetHost->maximumPacketSize = maxPacketBytes;
    return true;
}

int EnetTransport::connect(const std::string& name, std::uint16_t port) {
    if (!enetReady) {
        ErrorLine() << "Network: cannot join: the network is not set up";
        return -1;
    }
    if (enetHost == nullptr) {
        enetHost = enet_host_create(nullptr, 1, channelCount, 0, 0);
        if (enetHost == nullptr) {
            ErrorLine() << "Network: cannot open a socket to join";
            return -1;
        }
        enetHost->maximumPacketSize = maxPacketBytes;
    }
    ENetAddress address{};
    address.port = port;
    if (enet_address_set_host(&address, name.c_str()) != 0) {
        ErrorLine() << "Network: no such address: " << name;
        return -1;
    }
    ENetPeer* peer = enet_host_connect(enetHost, &address, channelCount, 0);
    const int slot = peer != nullptr ? slotOf(nullptr) : -1;
    if (slot < 0) {
        if (peer != nullptr)
            enet_peer_reset(peer);
        ErrorLine() << "Network: cannot connect to " << name << ":" << port;
        return -1;
    }
    peers[slot] = peer;
    return slot;
}

int EnetTransport::slotOf(const _ENetPeer* peer) const {
    for (std::size_t k = 0; k < maxPeers; ++k)
        if (peers[k] == peer)
            return static_cast<int>(k);
    return -1;
}

_ENetPeer* EnetTransport::peerAt(int peer) const {
    return peer >= 0 && static_cast<std::size_t>(peer) < maxPeers ? peers[peer] : nullptr;
}

bool EnetTransport::send(int peer, bool reliable, const std::vector<std::uint8_t>& bytes) {
    ENetPeer* to = peerAt(peer);
    if (to == nullptr || bytes.size() > maxPacketBytes)
        return false;
    ENetPacket* packet =
        enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr)
        return false;
    if (enet_peer_send(to, reliable ? reliableChannel : unreliableChannel, packet) != 0) {
        enet_packet_destroy(packet); // not queued: still ours
        return false;
    }
    return true;
}

std::vector<TransportEvent> EnetTransport::poll(std::uint32_t milliseconds) {
    std::vector<TransportEvent> events;
    if (enetHost == nullptr)
        return events;
    ENetEvent event;
    std::uint32_t wait = milliseconds;
    while (enet_host_service(enetHost, &event, wait) > 0) {
        wait = 0;
        TransportEvent out;
        switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            int slot = slotOf(event.peer);
            if (slot < 0)
                slot = slotOf(nullptr);
            if (slot < 0) { // cannot happen: ENet holds no more peers than slots
                enet_peer_reset(event.peer);
                continue;
            }
            peers[slot] = event.peer;
            out.kind = TransportEvent::Kind::connected;
            out.peer = slot;
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE:
            out.kind = TransportEvent::Kind::received;
            out.peer = slotOf(event.peer);
            out.bytes.assign(event.packet->data, event.packet->data + event.packet->dataLength);
            enet_packet_destroy(event.packet);
            if (out.peer < 0)
                continue;
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            out.kind = TransportEvent::Kind::disconnected;
            out.peer = slotOf(event.peer);
            if (out.peer < 0)
                continue;
            peers[out.peer] = nullptr; // ENet reuses the peer for the next connection
            break;
        case ENET_EVENT_TYPE_NONE:
            continue;
        }
        events.push_back(std::move(out));
    }
    return events;
}

void EnetTransport::disconnect(int peer) {
    if (ENetPeer* to = peerAt(peer))
        enet_peer_disconnect(to, 0);
}

void EnetTransport::disconnectAfterSending(int peer) {
    if (ENetPeer* to = peerAt(peer))
        enet_peer_disconnect_later(to, 0);
}

void EnetTransport::flush() {
    if (enetHost != nullptr)
        enet_host_flush(enetHost);
}

std::uint16_t EnetTransport::port() const {
    return enetHost != nullptr ? enetHost->address.port : 0;
}

double EnetTransport::roundTripSeconds(int peer) const {
    const ENetPeer* to = peerAt(peer);
    return to != nullptr ? to->roundTripTime / 1000.0 : 0.0;
}

std::uint64_t EnetTransport::bytesSent() const {
    return enetHost != nullptr ? enetHost->totalSentData : 0;
}
