#include "net/NetSession.h"
#include "assets/TraceSink.h"
#include "net/MessageCodec.h"
#include <algorithm>
#include <cctype>
#include <chrono>

// Design notes.
// - ENet's reliable channel keeps order, so on each connection everything
//   after Begin belongs to the lockstep, which counts its own sequence from 1;
//   the lobby's messages before it count another.
// - Aims travel on the unreliable channel and may overtake Begin: a guest
//   drops them quietly until it has begun.
// - A guest is judged by the host alone; a guest that hears nonsense from its
//   host says so and waits for the lockstep's own rules to end the game.

namespace {

constexpr int dropLimit = 8; // as the lockstep's: then the connection is cut
constexpr double leaveSeconds = 0.2;

// What goes into a Hello must decode on the far side.
std::string fitted(std::string text) {
    if (text.size() > maxNameBytes)
        text.resize(maxNameBytes);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return text;
}

Hello fitted(const Hello& hello) {
    Hello fit = hello;
    fit.gameVersion = fitted(hello.gameVersion);
    fit.name = fitted(hello.name);
    fit.people = std::clamp<std::uint8_t>(hello.people, 1, static_cast<std::uint8_t>(maxTanks));
    return fit;
}

// The transport writes its own error line; the caller gets the same line.
class LastError {
public:
    LastError()
        : listen([this](TraceSink::Stream stream, const std::string& text) {
              if (stream == TraceSink::Stream::error)
                  line = text;
          }) {}
    std::string line;

private:
    TraceSink::Listen listen;
};

} // namespace

NetSession::NetSession(bool host, const Hello& hello) : hosting(host), self(fitted(hello)) {
    machineOfPeer.fill(noMachine);
    if (hosting) {
        roster = std::make_unique<Roster>(self);
        currentLobby = roster->lobby();
        selfMachine = 0;
        link = Link::connected;
    }
}

std::unique_ptr<NetSession> NetSession::host(std::uint16_t port, const Hello& self,
                                             std::string& error) {
    std::unique_ptr<NetSession> session(new NetSession(true, self));
    LastError lastError;
    if (!session->transport.listen(port)) {
        error = lastError.line;
        return nullptr;
    }
    return session;
}

std::unique_ptr<NetSession> NetSession::join(const std::string& address, std::uint16_t port,
                                             const Hello& self, std::string& error) {
    std::unique_ptr<NetSession> session(new NetSession(false, self));
    LastError lastError;
    session->hostPeer = session->transport.connect(address, port);
    if (session->hostPeer < 0) {
        error = lastError.line;
        return nullptr;
    }
    session->hostAddress = address + ":" + std::to_string(port);
    return session;
}

NetSession::~NetSession() {
    leave();
}

void NetSession::poll(double now) {
    if (left)
        return;
    sendOutgoing(); // what the game did since the last frame
    for (const TransportEvent& event : transport.poll(0)) {
        if (event.peer < 0 || static_cast<std::size_t>(event.peer) >= EnetTransport::maxPeers)
            continue;
        switch (event.kind) {
        case TransportEvent::Kind::connected:
            live[event.peer] = true;
            if (!hosting && event.peer == hostPeer && link == Link::connecting) {
                link = Link::connected;
                sendTo(hostPeer, self);
            }
            break;
        case TransportEvent::Kind::received:
            if (hosting)
                hostReceived(event.peer, event.bytes, now);
            else if (event.peer == hostPeer && link == Link::connected)
                guestReceived(event.bytes, now);
            break;
        case TransportEvent::Kind::disconnected:
            live[event.peer] = false;
            if (hosting)
                hostDisconnected(event.peer, now);
            else if (event.peer == hostPeer)
                guestDisconnected(now);
            break;
        }
    }
    if (core) {
        if (hosting) {
            for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
                if (live[peer] && machineOfPeer[peer] != noMachine)
                    core->roundTrip(machineOfPeer[peer], transport.roundTripSeconds(peer));
        } else if (link == Link::connected) {
            core->roundTrip(0, transport.roundTripSeconds(hostPeer));
        }
        core->update(now);
        sendOutgoing();
        for (const std::uint8_t machine : core->takeDisconnects())
            transport.disconnect(peerOf(machine));
        if (!hosting && core->hostGone())
            loseHost(hostLoss.empty() ? "The host has not been heard from for 5 seconds"
                                      : hostLoss);
    }
    transport.flush();
}

std::vector<SessionEvent> NetSession::takeEvents() {
    return std::exchange(events, {});
}

bool NetSession::begin(std::uint32_t seed) {
    if (!hosting || core || left)
        return false;
    started = Begin{seed, roster->machines()};
    core = std::make_unique<Lockstep>(0, started.machines, 0);
    for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
        if (machineOfPeer[peer] != noMachine)
            sendTo(peer, started);
    transport.flush();
    emit(SessionEvent::Kind::begun);
    return true;
}

void NetSession::leave() {
    if (left)
        return;
    if (core)
        core->leave();
    if (hosting) {
        if (!core)
            for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
                if (machineOfPeer[peer] != noMachine)
                    sendTo(peer, Bye{});
    } else if (link == Link::connected && !core) {
        sendTo(hostPeer, Bye{});
    }
    sendOutgoing();
    left = true;
    if (!hosting && link != Link::connected)
        live.fill(false); // refused, gone or never there: nobody to tell
    for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
        if (live[peer])
            transport.disconnectAfterSending(peer);
    // Until each far end has acknowledged the goodbye and the hang-up, or a
    // slow one has had its share of a fifth of a second.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(leaveSeconds));
    while (std::any_of(live.begin(), live.end(), [](bool on) { return on; }) &&
           Clock::now() < end)
        for (const TransportEvent& event : transport.poll(5))
            if (event.kind == TransportEvent::Kind::disconnected && event.peer >= 0)
                live[event.peer] = false;
    link = Link::ended;
}

void NetSession::hostReceived(int peer, const std::vector<std::uint8_t>& bytes, double now) {
    const std::uint8_t machine = machineOfPeer[peer];
    if (machine != noMachine && core) {
        core->receive(machine, bytes.data(), bytes.size(), now);
        return;
    }
    const Decoded decoded = MessageCodec::decode(bytes);
    if (!decoded.ok()) {
        dropFrom(peer, decodeErrorName(decoded.error));
        return;
    }
    const MessageBody& body = decoded.message.body;
    if (machine == noMachine) {
        const auto* hello = std::get_if<Hello>(&body);
        if (hello == nullptr) {
            dropFrom(peer, "not a Hello from a joiner");
            transport.disconnect(peer);
            return;
        }
        if (core) {
            refuse(peer, startedRefusal);
            return;
        }
        const MessageBody answer = roster->admit(*hello);
        if (const auto* refused = std::get_if<Refused>(&answer)) {
            refuse(peer, refused->reason);
            return;
        }
        machineOfPeer[peer] = std::get<Welcome>(answer).machine;
        sendTo(peer, answer);
        sendLobby();
        return;
    }
    if (std::holds_alternative<Bye>(body)) { // leaving the lobby
        hostDisconnected(peer, now);
        return;
    }
    dropFrom(peer, "no such message in the lobby");
}

void NetSession::hostDisconnected(int peer, double now) {
    const std::uint8_t machine = std::exchange(machineOfPeer[peer], noMachine);
    drops[peer] = 0;
    if (machine == noMachine)
        return;
    if (core) {
        core->disconnected(machine, now);
        return;
    }
    roster->leave(machine);
    sendLobby();
}

void NetSession::guestReceived(const std::vector<std::uint8_t>& bytes, double now) {
    const Decoded decoded = MessageCodec::decode(bytes);
    if (core) {
        // The lockstep judges; the host's last word only names the loss.
        if (decoded.ok() && decoded.message.sender == 0) {
            const MessageBody& body = decoded.message.body;
            const auto* gone = std::get_if<MachineGone>(&body);
            if (std::holds_alternative<Bye>(body))
                hostLoss = "The host left the game";
            else if (gone != nullptr && gone->machine == selfMachine)
                hostLoss = "The host gave this machine up";
        }
        core->receive(0, bytes.data(), bytes.size(), now);
        return;
    }
    if (!decoded.ok()) {
        dropFrom(hostPeer, decodeErrorName(decoded.error));
        return;
    }
    const MessageBody& body = decoded.message.body;
    if (std::holds_alternative<AimMessage>(body))
        return; // the unreliable channel overtook Begin
    if (decoded.message.sender != 0) {
        dropFrom(hostPeer, "wrong sender");
        return;
    }
    if (const auto* welcome = std::get_if<Welcome>(&body); welcome && selfMachine == noMachine) {
        selfMachine = welcome->machine;
        emit(SessionEvent::Kind::welcomed,
             "Joined " + hostAddress + " as machine " + std::to_string(selfMachine));
    } else if (const auto* refused = std::get_if<Refused>(&body)) {
        ErrorLine() << "Network: the host refused this machine: " << refused->reason;
        link = Link::ended;
        transport.disconnect(hostPeer);
        emit(SessionEvent::Kind::refused, refused->reason);
    } else if (const auto* lobby = std::get_if<Lobby>(&body)) {
        currentLobby = *lobby;
        emit(SessionEvent::Kind::lobby);
    } else if (const auto* begin = std::get_if<Begin>(&body); begin && selfMachine != noMachine) {
        guestStarts(*begin);
    } else if (std::holds_alternative<Bye>(body)) {
        loseHost("The host left the game");
    } else {
        dropFrom(hostPeer, "no such message in the lobby");
    }
}

void NetSession::guestStarts(const Begin& begin) {
    const auto& machines = begin.machines;
    if (std::find(machines.begin(), machines.end(), selfMachine) == machines.end()) {
        loseHost("The host began the game without this machine");
        return;
    }
    started = begin;
    core = std::make_unique<Lockstep>(selfMachine, machines, 0);
    emit(SessionEvent::Kind::begun);
}

void NetSession::guestDisconnected(double now) {
    if (link == Link::ended)
        return;
    if (link == Link::connecting) {
        link = Link::ended;
        ErrorLine() << "Network: could not connect to " << hostAddress;
        emit(SessionEvent::Kind::failed, "Could not connect to " + hostAddress);
        return;
    }
    if (core)
        core->disconnected(0, now);
    loseHost(hostLoss.empty() ? "Lost the connection to the host" : hostLoss);
}

void NetSession::loseHost(const std::string& why) {
    if (link == Link::ended)
        return;
    if (link == Link::connected && live[hostPeer])
        transport.disconnect(hostPeer);
    link = Link::ended;
    std::string line = why;
    line[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    ErrorLine() << "Network: " << line;
    emit(SessionEvent::Kind::hostGone, why);
}

void NetSession::refuse(int peer, const std::string& reason) {
    sendTo(peer, Refused{reason.substr(0, maxReasonBytes)});
    transport.disconnectAfterSending(peer);
}

// Nonsense from a connection is said once a message, and after a few the
// connection is cut: it costs the others nothing to lose a machine that
// speaks no protocol of ours.
void NetSession::dropFrom(int peer, const char* why) {
    const std::uint8_t machine = hosting ? machineOfPeer[peer] : 0;
    ErrorLine() << "Network: dropped a message from "
                << (machine == noMachine ? std::string("a joiner")
                                         : "machine " + std::to_string(machine))
                << ": " << why;
    if (++drops[peer] == dropLimit)
        transport.disconnect(peer);
}

void NetSession::sendTo(int peer, const MessageBody& body) {
    transport.send(peer, true, MessageCodec::encode(Message{selfMachine, nextSequence++, body}));
}

void NetSession::sendLobby() {
    currentLobby = roster->lobby();
    for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
        if (machineOfPeer[peer] != noMachine)
            sendTo(peer, currentLobby);
    emit(SessionEvent::Kind::lobby);
}

void NetSession::sendOutgoing() {
    if (!core)
        return;
    for (const Outgoing& out : core->takeOutgoing()) {
        const int peer = hosting ? peerOf(out.to) : hostPeer;
        if (peer >= 0)
            transport.send(peer, out.reliable, out.bytes);
    }
}

void NetSession::emit(SessionEvent::Kind kind, std::string text) {
    events.push_back(SessionEvent{kind, std::move(text)});
}

int NetSession::peerOf(std::uint8_t machine) const {
    for (int peer = 0; peer < static_cast<int>(EnetTransport::maxPeers); ++peer)
        if (machineOfPeer[peer] == machine && machine != noMachine)
            return peer;
    return -1;
}
