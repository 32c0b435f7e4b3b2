#pragma once
#include "net/EnetTransport.h"
#include "net/Lockstep.h"
#include "net/Message.h"
#include "net/Roster.h"
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SessionEvent {
    enum class Kind {
        welcomed, // guest: the host took us in (machine() now valid); text: "Joined ADDRESS:PORT as machine N"
        refused,  // guest: the host refused us; text: the host's reason line (e.g. "Another data pack: ...")
        lobby,    // the lobby changed (someone joined or left before begin); lobby() has it
        begun,    // the lockstep started (host: begin() called; guest: Begin arrived); beginning() has it
        hostGone, // guest: the host left, went silent 5 s or the connection failed; text says which
        failed    // could not connect at all (guest) ; text says why
    };
    Kind kind;
    std::string text;
};

// One machine's networked session, from hosting or joining to leaving: the
// lobby over ENet, then, once the host begins, one lockstep for the rest of
// the session. The host admits joiners through its Roster until it begins;
// after that it refuses them. Network trouble is written as one error line
// ("Network: ...") each; nothing goes to standard output.
class NetSession {
public:
    // Open the transport. Null with `error` set (one line) when the port cannot be had / the address not resolved.
    // The line has been written to standard error already. A name or version
    // past the protocol's bounds is cut to fit, a control byte in one becomes '?'.
    static std::unique_ptr<NetSession> host(std::uint16_t port, const Hello& self, std::string& error);
    static std::unique_ptr<NetSession> join(const std::string& address, std::uint16_t port, const Hello& self, std::string& error);
    ~NetSession(); // leaves politely if still connected (Bye, flushed)
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Once a frame: takes the transport's events, answers Hellos (Roster: Welcome or Refused, Lobby to all),
    // hands in-game bytes and round trips to the Lockstep, updates it (promises, silence), sends its outgoing,
    // cuts off the links it names, and turns what happened into events. `now` in seconds, monotonic.
    void poll(double now);
    std::vector<SessionEvent> takeEvents();

    bool isHost() const { return hosting; }
    std::uint8_t machine() const { return selfMachine; } // 0 on the host; the Welcome's number on a guest; noMachine before
    const Lobby& lobby() const { return currentLobby; }   // the host's own (built from the roster) or the last received
    // Host only: closes the lobby and starts the lockstep at step 0 with the machines present; sends Begin. False if already begun or not host.
    bool begin(std::uint32_t seed);
    bool begun() const { return core != nullptr; }
    const Begin& beginning() const { return started; } // valid once begun()
    Lockstep* lockstep() { return core.get(); }        // null before begun()
    std::uint16_t port() const { return transport.port(); } // the listening port (host), useful with port 0 in tests
    std::uint64_t bytesSent() const { return transport.bytesSent(); }
    // Bye to everyone, pushed out (poll the transport up to ~200 ms until ENet has sent it), then disconnect.
    void leave();

    // The line a joiner gets once the host has begun.
    static constexpr const char* startedRefusal =
        "The game has started: join before the host starts a game";

private:
    NetSession(bool hosting, const Hello& self);

    void hostReceived(int peer, const std::vector<std::uint8_t>& bytes, double now);
    void hostDisconnected(int peer, double now);
    void guestReceived(const std::vector<std::uint8_t>& bytes, double now);
    void guestDisconnected(double now);
    void guestStarts(const Begin& begin);
    void refuse(int peer, const std::string& reason);
    void dropFrom(int peer, const char* why);
    void sendTo(int peer, const MessageBody& body);
    void sendLobby();
    void sendOutgoing();
    void loseHost(const std::string& why);
    void emit(SessionEvent::Kind kind, std::string text = {});
    int peerOf(std::uint8_t machine) const;

    // A guest's life with its host; the host's own stays `connected`.
    enum class Link { connecting, connected, ended };

    bool hosting;
    Hello self;
    EnetTransport transport;
    std::unique_ptr<Roster> roster; // the host's
    Lobby currentLobby;
    std::uint8_t selfMachine = noMachine;
    std::uint32_t nextSequence = 1; // the lobby's own, apart from the lockstep's
    // Per transport peer: whether it is connected, the machine it was
    // admitted as (noMachine: not yet), the messages dropped from it.
    std::array<bool, EnetTransport::maxPeers> live{};
    std::array<std::uint8_t, EnetTransport::maxPeers> machineOfPeer{};
    std::array<int, EnetTransport::maxPeers> drops{};
    int hostPeer = -1;
    std::string hostAddress; // ADDRESS:PORT as the player gave it
    Link link = Link::connecting;
    std::string hostLoss; // what the host's last word said, if it said one
    Begin started;
    std::unique_ptr<Lockstep> core;
    std::vector<SessionEvent> events;
    bool left = false;
};
