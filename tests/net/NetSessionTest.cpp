#include "net/NetSession.h"
#include "support/TraceCapture.h"
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

// Real sessions over ENet on loopback, polled in turn in one thread.

namespace {

Hello hello(const std::string& name, std::uint8_t people = 1, std::uint8_t digestByte = 0xab) {
    Hello h{"0.9.0", {}, people, name};
    h.dataDigest.fill(digestByte);
    return h;
}

double seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// A session with what it has said so far and, once begun, the actions its
// lockstep handed out, stepped as the clock allows.
struct Machine {
    std::unique_ptr<NetSession> session;
    std::vector<SessionEvent> events;
    std::vector<LockstepAction> applied;
    double beganAt = 0.0;

    const SessionEvent* last(SessionEvent::Kind kind) const {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->kind == kind)
                return &*it;
        return nullptr;
    }

    void poll(double now) {
        session->poll(now);
        for (SessionEvent& event : session->takeEvents()) {
            if (event.kind == SessionEvent::Kind::begun)
                beganAt = now;
            events.push_back(std::move(event));
        }
        Lockstep* core = session->lockstep();
        if (core == nullptr)
            return;
        while (core->step() < static_cast<std::uint32_t>((now - beganAt) / 0.01) &&
               core->mayStep()) {
            for (LockstepAction& action : core->takeActions())
                applied.push_back(std::move(action));
            core->stepped();
            if (core->digestDue())
                core->digest(0x5eed);
        }
    }
};

Machine hostOn(const Hello& self) {
    std::string error;
    Machine host;
    host.session = NetSession::host(0, self, error);
    EXPECT_TRUE(host.session) << error;
    return host;
}

Machine joining(const Machine& host, const Hello& self) {
    std::string error;
    Machine guest;
    guest.session = NetSession::join("127.0.0.1", host.session->port(), self, error);
    EXPECT_TRUE(guest.session) << error;
    return guest;
}

// Polls every machine, a couple of milliseconds apart, until `done` holds or
// two seconds pass.
bool pollUntil(const std::vector<Machine*>& machines, const std::function<bool()>& done) {
    const double end = seconds() + 2.0;
    while (!done() && seconds() < end) {
        for (Machine* machine : machines)
            machine->poll(seconds());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

std::vector<std::string> names(const Lobby& lobby) {
    std::vector<std::string> all;
    for (const LobbyMachine& machine : lobby.machines)
        all.push_back(machine.name);
    return all;
}

} // namespace

// A guest is welcomed as machine 1 and both see the same lobby; another data
// pack is refused with the line naming both and leaves the lobby as it was.
TEST(NetSessionTest, AGuestJoinsTheLobbyAndAnotherDataPackIsRefused) {
    TraceCapture capture;
    Machine host = hostOn(hello("host"));
    Machine den = joining(host, hello("den", 2));
    ASSERT_TRUE(pollUntil({&host, &den}, [&] {
        return den.last(SessionEvent::Kind::lobby) && host.session->lobby().machines.size() == 2;
    }));
    EXPECT_EQ(den.events.front().kind, SessionEvent::Kind::welcomed);
    EXPECT_EQ(den.events.front().text,
              "Joined 127.0.0.1:" + std::to_string(host.session->port()) + " as machine 1");
    EXPECT_EQ(den.session->machine(), 1);
    EXPECT_EQ(host.session->machine(), 0);
    EXPECT_EQ(names(den.session->lobby()), (std::vector<std::string>{"host", "den"}));
    EXPECT_EQ(den.session->lobby().machines[1].players.size(), 2u);
    EXPECT_TRUE(host.last(SessionEvent::Kind::lobby));

    Machine mod = joining(host, hello("mod", 1, 0x12));
    ASSERT_TRUE(pollUntil({&host, &den, &mod}, [&] { return !mod.events.empty(); }));
    EXPECT_EQ(mod.events.front().kind, SessionEvent::Kind::refused);
    EXPECT_EQ(mod.events.front().text,
              "Another data pack: abababababab on the host, 121212121212 here");
    EXPECT_EQ(mod.session->machine(), noMachine);
    EXPECT_EQ(names(host.session->lobby()), (std::vector<std::string>{"host", "den"}));
    EXPECT_NE(capture.err().find("Network: the host refused this machine: Another data pack"),
              std::string::npos);
    EXPECT_EQ(capture.out(), "");

    // Leaving the lobby takes the machine off everyone's list.
    den.session->leave();
    ASSERT_TRUE(pollUntil({&host}, [&] { return host.session->lobby().machines.size() == 1; }));
}

// Begin starts one lockstep on both with the same seed and machines; a guest's
// shot takes effect at the same step on both; a late joiner is refused; the
// host leaving ends the game for the guest.
TEST(NetSessionTest, ABegunSessionPlaysInLockstepUntilTheHostLeaves) {
    TraceCapture capture;
    Machine host = hostOn(hello("host"));
    Machine den = joining(host, hello("den"));
    ASSERT_TRUE(pollUntil({&host, &den}, [&] { return den.session->machine() == 1; }));
    EXPECT_FALSE(den.session->begin(1)); // guests do not begin
    ASSERT_TRUE(host.session->begin(777));
    EXPECT_FALSE(host.session->begin(778));
    ASSERT_TRUE(pollUntil({&host, &den}, [&] { return den.session->begun(); }));
    EXPECT_EQ(den.session->beginning().seed, 777u);
    EXPECT_EQ(den.session->beginning().machines, (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(host.session->beginning().machines, (std::vector<std::uint8_t>{0, 1}));
    ASSERT_TRUE(den.last(SessionEvent::Kind::begun));

    const std::uint32_t shotStep = den.session->lockstep()->fire(ShotMessage{0, 1, 12.5f, -40, 61, 2});
    ASSERT_TRUE(pollUntil({&host, &den}, [&] {
        return !host.applied.empty() && !den.applied.empty();
    }));
    for (const Machine* machine : {&host, &den}) {
        ASSERT_EQ(machine->applied.size(), 1u);
        EXPECT_EQ(machine->applied[0].step, shotStep);
        EXPECT_EQ(machine->applied[0].machine, 1);
        EXPECT_EQ(std::get<ShotMessage>(machine->applied[0].body).turretDegrees, 12.5f);
    }

    Machine late = joining(host, hello("late"));
    ASSERT_TRUE(pollUntil({&host, &den, &late}, [&] { return !late.events.empty(); }));
    EXPECT_EQ(late.events.front().kind, SessionEvent::Kind::refused);
    EXPECT_EQ(late.events.front().text, NetSession::startedRefusal);

    host.session->leave();
    ASSERT_TRUE(pollUntil({&den}, [&] { return den.last(SessionEvent::Kind::hostGone); }));
    EXPECT_EQ(den.last(SessionEvent::Kind::hostGone)->text, "The host left the game");
    EXPECT_NE(capture.err().find("Network: the host left the game\n"), std::string::npos);
    EXPECT_EQ(capture.out(), "");
}

// A port already taken is a null session and the transport's one line.
TEST(NetSessionTest, APortInUseIsAnErrorLine) {
    TraceCapture capture;
    Machine host = hostOn(hello("host"));
    std::string error;
    EXPECT_FALSE(NetSession::host(host.session->port(), hello("again"), error));
    EXPECT_EQ(error, "Network: cannot host on port " + std::to_string(host.session->port()));
    EXPECT_EQ(capture.err(), error + "\n");
}
