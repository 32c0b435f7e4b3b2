#include "app/LiveNetworkLink.h"

std::vector<std::string> LiveNetworkLink::lobbyLines() const {
    std::vector<std::string> lines;
    const Lobby& lobby = session->lobby();
    names.clear();
    for (const LobbyMachine& entry : lobby.machines) {
        names.push_back(entry.name);
        std::string line = entry.name + ":";
        for (const std::string& player : entry.players)
            line += " " + player;
        lines.push_back(line);
    }
    return lines;
}

// The lobby lists the machines in join order, which is their numbering with
// the gaps of those that left closed up; the beginning's list says which
// numbers the remaining ones carry.
std::string LiveNetworkLink::machineName(std::uint8_t machine) const {
    if (names.empty())
        lobbyLines();
    const Begin* const begun = beginning();
    if (begun) {
        for (std::size_t i = 0; i < begun->machines.size() && i < names.size(); ++i)
            if (begun->machines[i] == machine)
                return names[i];
    }
    return "machine " + std::to_string(machine);
}

bool LiveNetworkLink::begin(std::uint32_t seed) {
    lobbyLines(); // the names, before the lobby closes
    return session->begin(seed);
}

const Begin* LiveNetworkLink::beginning() const {
    return session->begun() ? &session->beginning() : nullptr;
}

bool LiveNetworkLink::mayStep() const {
    return steps() && steps()->mayStep() && !steps()->hostGone();
}

std::vector<LockstepAction> LiveNetworkLink::takeActions() {
    return steps() ? steps()->takeActions() : std::vector<LockstepAction>{};
}

void LiveNetworkLink::stepped() {
    if (steps())
        steps()->stepped();
}

bool LiveNetworkLink::digestDue() const {
    return steps() && steps()->digestDue();
}

void LiveNetworkLink::digest(std::uint64_t value) {
    if (steps())
        steps()->digest(value);
}

std::uint32_t LiveNetworkLink::step() const {
    return steps() ? steps()->step() : 0;
}

void LiveNetworkLink::fire(const ShotMessage& shot) {
    if (steps())
        steps()->fire(shot);
}

void LiveNetworkLink::command(const std::string& text, std::uint32_t seed) {
    if (steps())
        steps()->command(text, seed);
}

void LiveNetworkLink::aim(const AimMessage& aim) {
    if (steps())
        steps()->aim(aim);
}

std::vector<std::pair<std::uint8_t, AimMessage>> LiveNetworkLink::takeAims() {
    return steps() ? steps()->takeAims() : std::vector<std::pair<std::uint8_t, AimMessage>>{};
}

std::vector<std::uint8_t> LiveNetworkLink::waitingFor() const {
    return steps() ? steps()->waitingFor() : std::vector<std::uint8_t>{};
}

std::optional<std::uint32_t> LiveNetworkLink::desyncStep() const {
    return steps() ? steps()->desyncStep() : std::nullopt;
}
