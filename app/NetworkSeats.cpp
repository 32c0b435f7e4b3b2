#include "app/NetworkSeats.h"
#include <algorithm>

void NetworkSeats::beginSession(const std::vector<std::uint8_t>& machines) {
    sessionMachines = machines;
    gone.clear();
    tanks.clear();
    seats.clear();
}

void NetworkSeats::deal(const std::vector<std::uint32_t>& tankIds) {
    std::vector<std::uint8_t> present;
    for (const std::uint8_t machine : sessionMachines)
        if (!isGone(machine))
            present.push_back(machine);
    tanks = tankIds;
    seats.assign(tanks.size(), noSeat);
    if (present.empty())
        return;
    for (std::size_t i = 0; i < tanks.size(); ++i)
        seats[i] = present[i % present.size()];
}

std::vector<std::uint32_t> NetworkSeats::leave(std::uint8_t machine) {
    gone.insert(machine);
    std::vector<std::uint32_t> left;
    for (std::size_t i = 0; i < tanks.size(); ++i)
        if (seats[i] == machine) {
            left.push_back(tanks[i]);
            seats[i] = noSeat;
        }
    return left;
}

std::uint8_t NetworkSeats::machineOf(std::uint32_t tankId) const {
    const int number = numberOf(tankId);
    return number < 0 ? noSeat : seats[static_cast<std::size_t>(number)];
}

int NetworkSeats::numberOf(std::uint32_t tankId) const {
    const auto found = std::find(tanks.begin(), tanks.end(), tankId);
    return found == tanks.end() ? -1 : static_cast<int>(found - tanks.begin());
}

std::uint32_t NetworkSeats::tankAt(int number) const {
    return number < 0 || static_cast<std::size_t>(number) >= tanks.size()
               ? 0
               : tanks[static_cast<std::size_t>(number)];
}
