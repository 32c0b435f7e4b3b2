#include "net/Roster.h"
#include <algorithm>

std::string shortDigest(const std::array<std::uint8_t, 32>& digest) {
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (std::size_t k = 0; k < 6; ++k) {
        text += hex[digest[k] >> 4];
        text += hex[digest[k] & 15];
    }
    return text;
}

std::vector<TankSeat> dealSeats(const std::vector<std::uint8_t>& machines, int tankCount) {
    std::vector<TankSeat> seats;
    if (machines.empty())
        return seats;
    const int tanks = std::clamp(tankCount, 0, static_cast<int>(maxTanks));
    for (int k = 0; k < tanks; ++k)
        seats.push_back(TankSeat{machines[static_cast<std::size_t>(k) % machines.size()], 0});
    return seats;
}

Roster::Roster(const Hello& host) : self(host) {
    members.push_back(Member{0, host});
}

MessageBody Roster::admit(const Hello& joiner) {
    if (joiner.gameVersion != self.gameVersion)
        return Refused{"Another game version: " + self.gameVersion + " on the host, " +
                       joiner.gameVersion + " here"};
    if (joiner.dataDigest != self.dataDigest)
        return Refused{"Another data pack: " + shortDigest(self.dataDigest) + " on the host, " +
                       shortDigest(joiner.dataDigest) + " here"};
    int people = 0;
    for (const Member& member : members)
        people += member.hello.people;
    if (members.size() >= maxMachines || nextMachine >= maxMachines)
        return Refused{"The game is full: " + std::to_string(maxMachines) + " machines"};
    if (people + joiner.people > static_cast<int>(maxTanks))
        return Refused{"The game is full: " + std::to_string(maxTanks) + " players"};
    members.push_back(Member{nextMachine, joiner});
    return Welcome{nextMachine++};
}

void Roster::leave(std::uint8_t machine) {
    members.erase(std::remove_if(members.begin() + 1, members.end(),
                                 [machine](const Member& m) { return m.machine == machine; }),
                  members.end());
}

Lobby Roster::lobby() const {
    Lobby lobby;
    for (const Member& member : members) {
        LobbyMachine machine{member.hello.name, {}};
        for (int k = 1; k <= member.hello.people; ++k)
            machine.players.push_back(member.hello.name.substr(0, maxNameBytes - 3) + " " +
                                      std::to_string(k));
        lobby.machines.push_back(std::move(machine));
    }
    return lobby;
}

std::vector<std::uint8_t> Roster::machines() const {
    std::vector<std::uint8_t> numbers;
    for (const Member& member : members)
        numbers.push_back(member.machine);
    return numbers;
}
