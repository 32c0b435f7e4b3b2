#include "net/Roster.h"
#include "net/MessageCodec.h"
#include <gtest/gtest.h>

namespace {
Hello hello(const std::string& name, std::uint8_t people, const std::string& version = "0.9.0",
            std::uint8_t digestByte = 0xab) {
    Hello h{version, {}, people, name};
    h.dataDigest.fill(digestByte);
    return h;
}
} // namespace

// Joiners with the host's version and data pack get numbers in join order,
// never reused; others are refused with a line naming both sides.
TEST(RosterTest, AdmitsMatchingJoinersAndRefusesOthersNamingBoth) {
    Roster roster(hello("host", 2));
    struct Case {
        Hello joiner;
        int machine; // -1: refused
        const char* refusal;
    };
    for (const Case& c : {
             Case{hello("den", 1), 1, ""},
             Case{hello("old", 1, "0.8.0"), -1,
                  "Another game version: 0.9.0 on the host, 0.8.0 here"},
             Case{hello("mod", 1, "0.9.0", 0x12), -1,
                  "Another data pack: abababababab on the host, 121212121212 here"},
             Case{hello("lab", 3), 2, ""},
             Case{hello("crowd", 59), -1, "The game is full: 64 players"},
         }) {
        SCOPED_TRACE(c.joiner.name);
        const MessageBody answer = roster.admit(c.joiner);
        if (c.machine < 0)
            EXPECT_EQ(std::get<Refused>(answer).reason, c.refusal);
        else
            EXPECT_EQ(std::get<Welcome>(answer).machine, c.machine);
    }
    roster.leave(1);
    EXPECT_EQ(std::get<Welcome>(roster.admit(hello("back", 1))).machine, 3);
    EXPECT_EQ(roster.machines(), (std::vector<std::uint8_t>{0, 2, 3}));
    const Lobby lobby = roster.lobby();
    ASSERT_EQ(lobby.machines.size(), 3u);
    EXPECT_EQ(lobby.machines[1].players, (std::vector<std::string>{"lab 1", "lab 2", "lab 3"}));
    EXPECT_TRUE(MessageCodec::decode(MessageCodec::encode(Message{0, 1, lobby})).ok());
}

// At most 16 machines, the host among them.
TEST(RosterTest, SixteenMachinesFillTheGame) {
    Roster roster(hello("host", 1));
    for (int k = 1; k < 16; ++k)
        EXPECT_TRUE(std::holds_alternative<Welcome>(roster.admit(hello("m", 1))));
    EXPECT_EQ(std::get<Refused>(roster.admit(hello("late", 1))).reason,
              "The game is full: 16 machines");
}

// Tank i is played at the i-th machine of the Begin's list, round and round,
// however the numbers run; no machines, no seats.
TEST(RosterTest, DealsPeoplesTanksRoundRobinOverTheGivenMachines) {
    struct Case {
        std::vector<std::uint8_t> machines;
        int tanks;
        std::vector<int> seats;
    };
    for (const Case& c : {
             Case{{0, 3, 1}, 7, {0, 3, 1, 0, 3, 1, 0}},
             Case{{0}, 2, {0, 0}},
             Case{{0, 5}, 0, {}},
             Case{{}, 4, {}},
         }) {
        std::vector<int> seats;
        for (const TankSeat& seat : dealSeats(c.machines, c.tanks))
            seats.push_back(seat.machine);
        EXPECT_EQ(seats, c.seats);
    }
    EXPECT_EQ(dealSeats({0, 1}, 100).size(), maxTanks);
    EXPECT_TRUE(dealSeats({0, 1}, -3).empty());
}
