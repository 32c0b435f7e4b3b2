#pragma once
#include "net/Message.h"
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The host's list of the machines in its game, in join order, the host first
// as machine 0. It answers each joiner's Hello, says who is in the lobby and
// deals a new game's tanks. Machine numbers are never reused within a roster,
// so a late message from a machine that left cannot pass for a newcomer's.
class Roster {
public:
    explicit Roster(const Hello& host);

    // Welcome with the joiner's number, or Refused with a line that names what
    // differs on both sides (game version, data pack) or says the game is full.
    MessageBody admit(const Hello& joiner);
    void leave(std::uint8_t machine);
    Lobby lobby() const;
    // The people's tanks go round-robin over the machines in join order (each
    // machine's people play theirs in hot-seat order); the last `computers`
    // tanks are the computer's, at `computerLevel`, as `computers N` makes them.
    GameStart deal(std::uint32_t step, int tankCount, int computers,
                   std::uint8_t computerLevel) const;

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

// The first bytes of a data-pack digest in hexadecimal, as lines show it.
std::string shortDigest(const std::array<std::uint8_t, 32>& digest);
