#pragma once
#include <cstdint>
#include <set>
#include <vector>

// Who plays which tank in a networked game. The tanks are numbered by their
// place in the turn order at the game's start, which every machine shares;
// the people's tanks go round-robin over the machines still in the session,
// in join order, so every machine deals the same seats without being told.
class NetworkSeats {
public:
    // A new session: the machines in join order, none gone, no game.
    void beginSession(const std::vector<std::uint8_t>& machines);
    // A new game of these tanks (ids in turn order).
    void deal(const std::vector<std::uint32_t>& tankIds);
    // The machine is gone for the rest of the session; returns its tanks.
    std::vector<std::uint32_t> leave(std::uint8_t machine);

    // The machine that plays the tank, or noSeat for a tank of no game.
    std::uint8_t machineOf(std::uint32_t tankId) const;
    // The tank's number in the game, or -1.
    int numberOf(std::uint32_t tankId) const;
    // The tank with that number, or 0.
    std::uint32_t tankAt(int number) const;
    bool isGone(std::uint8_t machine) const { return gone.count(machine) != 0; }
    const std::vector<std::uint8_t>& machines() const { return sessionMachines; }

    static constexpr std::uint8_t noSeat = 0xff;

private:
    std::vector<std::uint8_t> sessionMachines;
    std::set<std::uint8_t> gone;
    std::vector<std::uint32_t> tanks;
    std::vector<std::uint8_t> seats; // tanks' machines
};
