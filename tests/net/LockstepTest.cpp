#include "NetworkGame.h"
#include "net/MessageCodec.h"
#include "support/TraceCapture.h"
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Each machine fires its own tank at the next machine's tank, roughly: the
// first round with nukes, so tanks get hurt, then a spread of weapons, angles
// and speeds that are not round numbers.
void fireVolley(NetworkGame& game, int round) {
    const std::vector<TankObject*>& tanks = game.machines[0]->tanks;
    for (std::size_t k = 0; k < game.machines.size(); ++k) {
        const Vector3 from = tanks[k]->position;
        const Vector3 to = tanks[(k + 1) % tanks.size()]->position;
        ShotMessage shot;
        shot.tank = static_cast<std::uint8_t>(k);
        shot.turretDegrees = (to.x > from.x ? 90.0f : 270.0f) + 7.3f * static_cast<float>(round);
        shot.barrelDegrees = -45.0f - 3.1f * static_cast<float>(round);
        shot.velocity = std::sqrt(std::fabs(to.x - from.x) * 9.81f) *
                        (1.0f + 0.13f * static_cast<float>(round));
        shot.weapon = static_cast<std::uint8_t>(round == 0 ? 3 : (round + k) % 4);
        if (!game.silent[k])
            game.machines[k]->core.fire(shot);
    }
}

// Plays rounds of volleys (a round every 1.5 s) and runs everyone to `lastStep`.
void play(NetworkGame& game, int rounds, std::uint32_t lastStep) {
    for (int round = 0; round < rounds; ++round) {
        fireVolley(game, round);
        if (round == 1)
            game.machines[0]->core.command("terrain", 4242);
        const double until = game.now + 1.5;
        while (game.now < until)
            game.frame(lastStep);
    }
    ASSERT_TRUE(game.runTo(lastStep, 30.0)) << "a machine stalled";
}

LockstepSettings forgiving() {
    LockstepSettings settings;
    settings.rejectLimit = 1 << 30; // the link duplicates on purpose
    return settings;
}

} // namespace

// Every machine ends with the same world, bit for bit, whatever the line does to
// the packets: the shots really flew (craters, hurt tanks), the host's command
// dug its crater, and every machine applied the same actions at the same steps
// in the same order.
TEST(LockstepTest, MachinesEndWithIdenticalWorldsOverABadLine) {
    struct Case {
        const char* name;
        int machines;
        LinkFaults faults;
    };
    for (const Case& c :
         {Case{"clean, two machines", 2, LinkFaults{}},
          Case{"slow and jittery, three", 3, LinkFaults{0.05, 0.08, 0.0, 0.0}},
          Case{"lossy and duplicating, three", 3, LinkFaults{0.03, 0.04, 0.15, 0.15}}}) {
        SCOPED_TRACE(c.name);
        TraceCapture quiet;
        NetworkGame game(c.machines, c.faults, 7, forgiving());
        const std::uint64_t untouched = game.machines[0]->digest();
        const std::uint32_t lastStep = 1200;
        play(game, 4, lastStep);

        const NetworkMachine& host = *game.machines[0];
        EXPECT_NE(host.digest(), untouched);
        EXPECT_EQ(host.applied.size(), static_cast<std::size_t>(4 * c.machines + 1));
        float healthLost = 0.0f;
        for (const TankObject* tank : host.tanks)
            healthLost += 100.0f - tank->health;
        EXPECT_GT(healthLost, 0.0f);
        for (const auto& machine : game.machines) {
            EXPECT_EQ(machine->core.step(), lastStep);
            EXPECT_EQ(machine->digest(), host.digest());
            EXPECT_FALSE(machine->core.desyncStep());
            EXPECT_GE(machine->core.digests().compared(), 5u);
            ASSERT_EQ(machine->applied.size(), host.applied.size());
            for (std::size_t a = 0; a < host.applied.size(); ++a) {
                EXPECT_EQ(machine->applied[a].step, host.applied[a].step);
                EXPECT_EQ(machine->applied[a].machine, host.applied[a].machine);
                EXPECT_EQ(machine->applied[a].sequence, host.applied[a].sequence);
                EXPECT_EQ(machine->applied[a].body.index(), host.applied[a].body.index());
            }
        }
    }
}

// The host's command and shot and a guest's shot for one step: both machines
// apply them before that step in one order (machine, then sequence), and only
// the host may send a command.
TEST(LockstepTest, TheHostsCommandIsOrderedWithTheShotsOfItsStep) {
    Lockstep host(0, {0, 1}, 0), guest(1, {0, 1}, 0);
    host.update(0.0);
    guest.update(0.0);
    EXPECT_EQ(guest.fire(ShotMessage{0, 1, 10, -40, 50, 0}), 8u);
    EXPECT_EQ(host.fire(ShotMessage{0, 0, 20, -30, 60, 1}), 8u);
    EXPECT_EQ(host.command("tanks 4", 99), 8u);
    EXPECT_EQ(guest.command("tanks 4", 99), 0u); // nothing sent
    EXPECT_EQ(host.command("tanks 4; quit", 99), 0u);
    std::vector<LockstepAction> applied[2];
    for (double now = 0.05; now < 1.0 && (host.step() < 9 || guest.step() < 9); now += 0.05) {
        for (const Outgoing& out : host.takeOutgoing())
            guest.receive(0, out.bytes.data(), out.bytes.size(), now);
        for (const Outgoing& out : guest.takeOutgoing())
            host.receive(1, out.bytes.data(), out.bytes.size(), now);
        int k = 0;
        for (Lockstep* core : {&host, &guest}) {
            core->update(now);
            while (core->step() < 9 && core->mayStep()) {
                for (LockstepAction& action : core->takeActions())
                    applied[k].push_back(std::move(action));
                core->stepped();
            }
            ++k;
        }
    }
    for (const std::vector<LockstepAction>& actions : applied) {
        ASSERT_EQ(actions.size(), 3u);
        EXPECT_EQ(std::get<ShotMessage>(actions[0].body).tank, 0);
        EXPECT_EQ(std::get<Command>(actions[1].body).text, "tanks 4");
        EXPECT_EQ(std::get<Command>(actions[1].body).seed, 99u);
        EXPECT_EQ(std::get<ShotMessage>(actions[2].body).tank, 1);
        for (const LockstepAction& action : actions)
            EXPECT_EQ(action.step, 8u);
    }
}

// One height differs on one machine: both find out at the first digest after
// it, and neither runs on.
TEST(LockstepTest, ADivergedWorldIsCaughtAtTheFirstDigest) {
    TraceCapture quiet;
    NetworkGame game(2, LinkFaults{0.02, 0.01, 0.0, 0.0}, 3);
    float& height = game.machines[1]->terrain.cells().at(40, 20).height;
    height = std::nextafter(height, 1.0f);
    game.runTo(1000, 5.0);
    for (const auto& machine : game.machines) {
        EXPECT_EQ(machine->core.desyncStep(), std::optional<std::uint32_t>(200));
        EXPECT_FALSE(machine->core.mayStep());
        EXPECT_LT(machine->core.step(), 240u);
    }
}

// A guest falls silent or says goodbye: the host gives its tanks to the
// computer at one step, the other guest applies that at the same step, and the
// game goes on.
TEST(LockstepTest, ALeavingMachineIsGoneAtTheSameStepEverywhere) {
    struct Case {
        const char* name;
        bool sayBye;
        double after; // seconds from its last frame to the host's word
    };
    for (const Case& c : {Case{"silent", false, 5.0}, Case{"says bye", true, 0.0}}) {
        SCOPED_TRACE(c.name);
        TraceCapture quiet;
        NetworkGame game(3, LinkFaults{0.03, 0.02, 0.05, 0.0}, 11, forgiving());
        play(game, 1, 100);
        if (c.sayBye)
            game.machines[2]->core.leave(), game.frame(100);
        game.silent[2] = true; // what it sent before still arrives
        const double silentAt = game.now;
        while (!game.machines[0]->core.isGone(2) && game.now < silentAt + 10.0)
            game.frame(1400);
        // From the last packet heard, which left a little before; or the bye's trip.
        EXPECT_GE(game.now - silentAt, c.after - 0.1);
        EXPECT_LT(game.now - silentAt, c.after + 0.3);
        ASSERT_TRUE(game.runTo(1400, 20.0)) << "the game did not go on without machine 2";
        const std::uint32_t lastPromise = 100 + game.machines[2]->core.delaySteps();
        for (const std::size_t k : {0u, 1u}) {
            SCOPED_TRACE(k);
            const NetworkMachine& machine = *game.machines[k];
            EXPECT_TRUE(machine.core.isGone(2));
            ASSERT_FALSE(machine.applied.empty());
            const auto* gone = std::get_if<MachineGone>(&machine.applied.back().body);
            ASSERT_TRUE(gone != nullptr);
            EXPECT_EQ(gone->machine, 2);
            EXPECT_EQ(machine.applied.back().step, game.machines[0]->applied.back().step);
            EXPECT_GT(machine.applied.back().step, lastPromise);
        }
        EXPECT_EQ(game.machines[0]->digest(), game.machines[1]->digest());
    }
}

// A guest's message the rules drop is still forwarded, and dropped alike by the
// other guests without holding it against the host, so nothing after it waits
// for a gap that never fills.
TEST(LockstepTest, ADroppedMessageLeavesNoGapForTheOthers) {
    TraceCapture capture;
    Lockstep host(0, {0, 1, 2}, 0), other(2, {0, 1, 2}, 0);
    for (const Message& message :
         {Message{1, 1, HeardUpTo{10}}, Message{1, 2, ShotMessage{5, 1, 0, 0, 50, 0}},
          Message{1, 3, HeardUpTo{20}}}) {
        const auto bytes = MessageCodec::encode(message);
        host.receive(1, bytes.data(), bytes.size(), 0.0);
    }
    EXPECT_EQ(host.rejected(1), 1);
    const std::vector<Outgoing> forwarded = host.takeOutgoing();
    ASSERT_EQ(forwarded.size(), 3u);
    for (const Outgoing& out : forwarded)
        other.receive(0, out.bytes.data(), out.bytes.size(), 0.0);
    EXPECT_EQ(other.heardFrom(1), 20);
    EXPECT_EQ(other.rejected(0), 0);
}

// A machine that has not heard from another waits, and says whom it waits for
// once the wait has lasted a second.
TEST(LockstepTest, AWaitIsReportedAfterASecond) {
    Lockstep host(0, {0, 1}, 0), guest(1, {0, 1}, 0);
    host.update(0.0);
    guest.update(0.0);
    EXPECT_FALSE(guest.mayStep());
    guest.update(0.5);
    EXPECT_TRUE(guest.waitingFor().empty());
    guest.update(1.0);
    EXPECT_EQ(guest.waitingFor(), std::vector<std::uint8_t>{0});
    for (const Outgoing& out : host.takeOutgoing())
        guest.receive(0, out.bytes.data(), out.bytes.size(), 1.01);
    guest.update(1.02);
    EXPECT_TRUE(guest.mayStep());
    EXPECT_TRUE(guest.waitingFor().empty());
}

// The delay follows the round trip in steps, between its floor and its cap; a
// shorter delay never moves a shot before a step already promised.
TEST(LockstepTest, TheDelayFollowsTheRoundTripAndKeepsPromises) {
    struct Case {
        double roundTrip;
        int delay;
    };
    Lockstep host(0, {0, 1}, 0);
    for (const Case& c : {Case{0.0, 8}, Case{0.3, 37}, Case{0.101, 18}, Case{5.0, 60}}) {
        SCOPED_TRACE(c.roundTrip);
        host.roundTrip(1, c.roundTrip);
        EXPECT_EQ(host.delaySteps(), c.delay);
    }
    host.update(0.0); // promises up to 59 with the delay of 60
    host.roundTrip(1, 0.0);
    EXPECT_EQ(host.fire(ShotMessage{}), 60u);
    EXPECT_EQ(host.handToComputer(0, 1), 60u);
}

// The host forwards a guest's message unchanged to the other guests; what no
// machine keeping the rules sends is dropped with a line, and the sender is cut
// off once it has sent too much of it.
TEST(LockstepTest, TheHostForwardsGoodMessagesAndCutsOffASenderOfBadOnes) {
    TraceCapture capture;
    LockstepSettings settings;
    settings.rejectLimit = 5;
    Lockstep host(0, {0, 1, 2}, 0, settings);
    Lockstep guest(1, {0, 1, 2}, 0);
    guest.update(0.0); // promises up to step 7
    const std::vector<std::uint8_t> heard = guest.takeOutgoing().at(0).bytes;
    host.receive(1, heard.data(), heard.size(), 0.0);
    const std::vector<Outgoing> forwarded = host.takeOutgoing();
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded[0].to, 2);
    EXPECT_EQ(forwarded[0].bytes, heard);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* line;
        bool forwarded; // in its sender's sequence: the others drop it alike
    };
    const auto encode = [](std::uint8_t sender, std::uint32_t sequence, const MessageBody& body) {
        return MessageCodec::encode(Message{sender, sequence, body});
    };
    for (const Case& c :
         {Case{"the same again", heard, "replayed", false},
          Case{"a shot inside its own promise", encode(1, 2, ShotMessage{7, 1, 0, 0, 50, 0}),
               "breaks the rules of play", true},
          Case{"a command from a guest", encode(1, 3, Command{20, 1, "terrain"}),
               "only the host sends commands", true},
          Case{"another machine's name", encode(2, 1, HeardUpTo{9}), "wrong sender", false},
          Case{"garbage", {1, 200, 1, 0, 0, 0, 0}, "unknown kind", false}}) {
        SCOPED_TRACE(c.name);
        capture.clear();
        host.receive(1, c.bytes.data(), c.bytes.size(), 0.1);
        EXPECT_EQ(capture.err(),
                  std::string("Network: dropped a message from machine 1: ") + c.line + "\n");
        EXPECT_EQ(host.takeOutgoing().size(), c.forwarded ? 1u : 0u);
    }
    EXPECT_EQ(host.rejected(1), 5);
    EXPECT_EQ(host.takeDisconnects(), std::vector<std::uint8_t>{1});
    capture.clear();
    host.receive(1, heard.data(), heard.size(), 0.2);
    EXPECT_EQ(capture.err(), ""); // said enough: its connection is being closed
    EXPECT_TRUE(host.takeDisconnects().empty());
}

// However many actions a machine queues far ahead, the queue stays bounded.
TEST(LockstepTest, AFloodOfFarOffShotsIsCapped) {
    TraceCapture capture;
    Lockstep host(0, {0, 1}, 0);
    for (std::uint32_t sequence = 1; sequence <= 257; ++sequence) {
        const auto bytes =
            MessageCodec::encode(Message{1, sequence, ShotMessage{1000000 + sequence, 1, 0, 0, 50, 0}});
        host.receive(1, bytes.data(), bytes.size(), 0.0);
    }
    EXPECT_EQ(capture.err(),
              "Network: dropped a message from machine 1: breaks the rules of play\n");
}

// A guest stops when its host says goodbye, drops the connection or falls
// silent for five seconds; not before.
TEST(LockstepTest, TheHostLeavingEndsTheGameForItsGuests) {
    struct Case {
        const char* name;
        std::function<void(Lockstep& host, Lockstep& guest)> leave;
    };
    const auto deliver = [](Lockstep& from, Lockstep& to, double now) {
        for (const Outgoing& out : from.takeOutgoing())
            to.receive(0, out.bytes.data(), out.bytes.size(), now);
    };
    for (const Case& c : {
             Case{"bye",
                  [&](Lockstep&host, Lockstep&guest) { host.leave(), deliver(host, guest, 0.1); }},
             Case{"disconnected", [](Lockstep&, Lockstep&guest) { guest.disconnected(0, 0.1); }},
             Case{"silent",
                  [](Lockstep&, Lockstep&guest) {
                      guest.update(4.9);
                      EXPECT_FALSE(guest.hostGone());
                      guest.update(5.0);
                  }},
         }) {
        SCOPED_TRACE(c.name);
        Lockstep host(0, {0, 1}, 0), guest(1, {0, 1}, 0);
        host.update(0.0);
        guest.update(0.0);
        deliver(host, guest, 0.0);
        EXPECT_TRUE(guest.mayStep());
        c.leave(host, guest);
        EXPECT_TRUE(guest.hostGone());
        EXPECT_FALSE(guest.mayStep());
    }
}
