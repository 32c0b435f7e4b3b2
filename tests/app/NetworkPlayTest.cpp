// Two game cores in one process, joined by their lockstep cores over an
// in-memory wire: what one machine's person does must reach the other's world
// at the same step, so the two worlds stay the same bit for bit.
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "app/NetworkLink.h"
#include "support/FakeAL.h"
#include "support/FakeGL.h"
#include "support/GameCorePeer.h"
#include "support/TraceCapture.h"
#include "net/WorldDigest.h"
#include "world/Object.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// Packets between the host (0) and one guest (1), delivered when polled.
struct Wire {
    std::deque<std::vector<std::uint8_t>> toHost, toGuest;
};

// The live link's work without the session: a lockstep core whose bytes go
// over the wire. The test hands both the beginning.
class WiredLink : public NetworkLink {
public:
    WiredLink(std::uint8_t self, Wire& shared) : me(self), wire(shared) {}

    void startAt(const Begin& begin) {
        beginning_ = begin;
        steps = std::make_unique<Lockstep>(me, begin.machines, 0);
        events.push_back(SessionEvent{SessionEvent::Kind::begun, ""});
    }

    void poll(double now) override {
        auto& inbox = me == 0 ? wire.toHost : wire.toGuest;
        if (steps) {
            for (; !inbox.empty(); inbox.pop_front())
                steps->receive(me == 0 ? 1 : 0, inbox.front().data(), inbox.front().size(), now);
            steps->update(now);
            for (const Outgoing& out : steps->takeOutgoing())
                (me == 0 ? wire.toGuest : wire.toHost).push_back(out.bytes);
        }
    }
    std::vector<SessionEvent> takeEvents() override {
        std::vector<SessionEvent> taken;
        taken.swap(events);
        return taken;
    }
    bool isHost() const override { return me == 0; }
    std::uint8_t machine() const override { return me; }
    std::vector<std::string> lobbyLines() const override { return {}; }
    std::string machineName(std::uint8_t machine) const override {
        return machine == 0 ? "hostbox" : "guestbox";
    }
    bool begin(std::uint32_t) override { return steps != nullptr; }
    const Begin* beginning() const override { return steps ? &beginning_ : nullptr; }
    bool mayStep() const override { return steps && steps->mayStep(); }
    std::vector<LockstepAction> takeActions() override { return steps->takeActions(); }
    void stepped() override { steps->stepped(); }
    bool digestDue() const override { return steps->digestDue(); }
    void digest(std::uint64_t value) override { steps->digest(value); }
    std::uint32_t step() const override { return steps ? steps->step() : 0; }
    void fire(const ShotMessage& shot) override { steps->fire(shot); }
    void command(const std::string& text, std::uint32_t seed) override {
        commands.push_back(text);
        steps->command(text, seed);
    }
    void aim(const AimMessage& aim) override { steps->aim(aim); }
    std::vector<std::pair<std::uint8_t, AimMessage>> takeAims() override {
        return steps ? steps->takeAims() : std::vector<std::pair<std::uint8_t, AimMessage>>{};
    }
    std::vector<std::uint8_t> waitingFor() const override {
        return steps ? steps->waitingFor() : std::vector<std::uint8_t>{};
    }
    std::optional<std::uint32_t> desyncStep() const override {
        return steps ? steps->desyncStep() : std::nullopt;
    }
    void leave() override {}

    std::vector<std::string> commands;

private:
    std::uint8_t me;
    Wire& wire;
    Begin beginning_;
    std::unique_ptr<Lockstep> steps;
    std::vector<SessionEvent> events;
};

// Two cores with the whole data pack on the fake GL, from different seeds: the
// beginning must make their worlds the same.
class NetworkPlay : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        fakeal::reset();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(VANTRELL_GAME_DIR);
        TraceCapture quiet;
        Random::seed(11);
        host = std::make_unique<GameCore>();
        Random::seed(22);
        guest = std::make_unique<GameCore>();
        for (GameCore* core : {host.get(), guest.get()}) {
            core->reshape(640, 480);
            GameCorePeer peer(*core);
            peer.splashVisible = peer.messageShown = false;
        }
        auto hostSide = std::make_unique<WiredLink>(0, wire);
        auto guestSide = std::make_unique<WiredLink>(1, wire);
        hostLink = hostSide.get();
        guestLink = guestSide.get();
        const Begin begin{4242, {0, 1}};
        hostLink->startAt(begin);
        guestLink->startAt(begin);
        GameCorePeer(*host).network = std::move(hostSide);
        GameCorePeer(*guest).network = std::move(guestSide);
    }

    void TearDown() override {
        TraceCapture quiet;
        host.reset();
        guest.reset();
        std::filesystem::current_path(previous);
    }

    // Both machines' frames, 16 ms each, on one clock.
    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            host->update(0.016f);
            guest->update(0.016f);
        }
    }
    void hold(GameCore& core, unsigned char key, int frameCount) {
        core.keyboard(key, true, 0);
        frames(frameCount);
        core.keyboard(key, false, 0);
    }
    void tap(GameCore& core, unsigned char key) {
        core.keyboard(key, true, 0);
        frames(1);
        core.keyboard(key, false, 0);
        frames(1);
    }
    // The machine behind runs on alone until both have run the same steps.
    void settle() {
        for (int i = 0; i < 500 && hostLink->step() != guestLink->step(); ++i) {
            GameCore& behind = hostLink->step() < guestLink->step() ? *host : *guest;
            behind.update(0.016f);
        }
        ASSERT_EQ(hostLink->step(), guestLink->step());
    }
    static std::uint64_t digestOf(GameCore& core) {
        GameCorePeer peer(core);
        return worldDigest(peer.objects, peer.terrain);
    }
    static std::string turnOf(GameCore& core) {
        GameCorePeer peer(core);
        return peer.currentTank == peer.tanks.end() ? "" : (*peer.currentTank)->name();
    }

    std::filesystem::path previous;
    Wire wire;
    std::unique_ptr<GameCore> host, guest;
    WiredLink* hostLink = nullptr;
    WiredLink* guestLink = nullptr;
};

TEST_F(NetworkPlay, PeopleOnTwoMachinesAndAComputerPlayTheSameGame) {
    TraceCapture trace;
    host->processCommands("terrain;tanks 3;computers 1");
    EXPECT_EQ(hostLink->commands, (std::vector<std::string>{"terrain", "tanks 3", "computers 1"}));
    EXPECT_EQ(trace.out().find("processCommand"), std::string::npos)
        << "the host's commands run at their step, not when typed";
    frames(60);
    settle();
    ASSERT_EQ(GameCorePeer(*guest).tanks.size(), 3u) << "the guest ran the host's commands";
    EXPECT_EQ(digestOf(*host), digestOf(*guest));
    frames(200); // the tanks fall and settle

    // Player 1 is the host's. The guest cannot fire it; the host does.
    ASSERT_EQ(turnOf(*host), "Player 1");
    tap(*guest, keys::space);
    frames(30);
    EXPECT_EQ(turnOf(*host), "Player 1") << "another machine's person cannot fire";
    hold(*host, 'w', 20);
    hold(*host, 'a', 15);
    tap(*host, keys::space);
    frames(30);
    ASSERT_EQ(turnOf(*guest), "Player 2") << "the host's shot passed the turn everywhere";

    // Player 2 is the guest's, then the computer plays Player 3.
    tap(*host, keys::space);
    frames(20);
    EXPECT_EQ(turnOf(*guest), "Player 2");
    hold(*guest, 'w', 30);
    hold(*guest, 'r', 25);
    tap(*guest, keys::tab);
    tap(*guest, keys::space);
    frames(1500); // the shells land and the computer takes its turn
    settle();
    // The ground comes from a fresh seed each run: who is left varies, but the
    // computer has played Player 3's turn.
    EXPECT_NE(turnOf(*host), "Player 3") << "the computer did not take its turn";
    EXPECT_EQ(turnOf(*host), turnOf(*guest));
    EXPECT_EQ(digestOf(*host), digestOf(*guest)) << "the worlds parted";
    EXPECT_FALSE(hostLink->desyncStep());
    EXPECT_FALSE(guestLink->desyncStep());
}

TEST_F(NetworkPlay, AGuestsWorldCommandsStayAtHome) {
    TraceCapture trace;
    guest->processCommands("tanks 2");
    EXPECT_TRUE(guestLink->commands.empty());
    EXPECT_EQ(trace.out().find("processCommand"), std::string::npos);
    frames(30);
    EXPECT_TRUE(GameCorePeer(*host).tanks.empty());
    EXPECT_TRUE(GameCorePeer(*guest).tanks.empty());
}

} // namespace

namespace {

// A crater dug on one machine alone parts the worlds: both find it at the
// next digest, name the same step, and stop there.
TEST_F(NetworkPlay, WorldsThatPartAreCaughtAndStopBothMachines) {
    TraceCapture trace;
    host->processCommands("terrain;tanks 2");
    frames(60);
    settle();
    GameCorePeer(*guest).terrain.crater(Vector3(50.0f, 10.0f, 50.0f), 8.0f);
    frames(400);
    ASSERT_TRUE(hostLink->desyncStep());
    EXPECT_EQ(hostLink->desyncStep(), guestLink->desyncStep());
    const std::uint32_t stoppedAt = hostLink->step();
    frames(30);
    EXPECT_EQ(hostLink->step(), stoppedAt) << "the steps went on";
    EXPECT_NE(trace.err().find("The machines disagree at step " +
                               std::to_string(*hostLink->desyncStep()) +
                               ": the network game stopped\n"),
              std::string::npos)
        << trace.err();
}

} // namespace
