#pragma once
#include "app/NetworkLink.h"
#include "app/NetworkRecord.h"
#include <deque>

// A networked game played back from its replay: no socket, no other machine.
// The replay's network records, fed in before the update they belong to, give
// back the beginning, each update's number of steps and the actions before
// their steps; this machine's own acts are already among those actions, so
// firing or commanding here sends nothing.
class ReplayedNetworkLink : public NetworkLink {
public:
    explicit ReplayedNetworkLink(bool host) : hosting(host) {}

    // One record; a damaged one is dropped with a line on standard error.
    void feed(const std::string& bytes);

    void poll(double) override {}
    std::vector<SessionEvent> takeEvents() override;
    bool isHost() const override { return hosting; }
    std::uint8_t machine() const override { return self; }
    std::vector<std::string> lobbyLines() const override { return {}; }
    std::string machineName(std::uint8_t machine) const override;
    bool begin(std::uint32_t) override { return true; }
    const Begin* beginning() const override { return begun ? &beginningRecord : nullptr; }

    bool mayStep() const override { return begun && stepsLeft > 0; }
    std::vector<LockstepAction> takeActions() override;
    void stepped() override;
    bool digestDue() const override { return false; }
    void digest(std::uint64_t) override {}
    std::uint32_t step() const override { return counter; }

    void fire(const ShotMessage&) override {}
    void command(const std::string&, std::uint32_t) override {}
    void aim(const AimMessage&) override {}
    std::vector<std::pair<std::uint8_t, AimMessage>> takeAims() override { return {}; }
    std::vector<std::uint8_t> waitingFor() const override { return {}; }
    std::optional<std::uint32_t> desyncStep() const override { return std::nullopt; }
    void leave() override {}

private:
    bool hosting;
    std::uint8_t self = noMachine;
    bool begun = false;
    Begin beginningRecord;
    std::uint32_t counter = 0;
    std::uint64_t stepsLeft = 0;
    std::deque<LockstepAction> actions;
    std::vector<SessionEvent> events;
};
