#pragma once
#include "net/Message.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The host's list of the machines in its game, in join order, the host first
// as machine 0. It answers each joiner's Hello and says who is in the lobby.
// Machine numbers are never reused within a roster,
// so a late message from a machine that left cannot pass for a newcomer's.
class Roster {
public:
    explicit Roster(const Hello& host);

    // Welcome with the joiner's number, or Refused with a line that names what
    // differs on both sides (game version, data pack) or says the game is full.
    MessageBody admit(const Hello& joiner);
    void leave(std::uint8_t machine);
    Lobby lobby() const;

    std::vector<std::uint8_t> machines() const;

private:
    struct Member {
        std::uint8_t machine;
        Hello hello;
    };

    Hello self;
    std::vector<Member> members; // the host first
    std::uint8_t nextMachine = 1;
};

// Who plays which of a game's people's tanks, worked out alike on every machine
// from the machines a Begin lists: tank i is played at machines[i % size] (each
// machine's people play theirs in hot-seat order). Computers' tanks are the
// game's own business (`computers N`). At most maxTanks seats; none without machines.
std::vector<TankSeat> dealSeats(const std::vector<std::uint8_t>& machines, int tankCount);

// The first bytes of a data-pack digest in hexadecimal, as lines show it.
std::string shortDigest(const std::array<std::uint8_t, 32>& digest);
