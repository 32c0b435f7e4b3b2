#pragma once
#include "net/Lockstep.h"
#include "net/Message.h"
#include "net/NetSession.h"
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the game core asks of a networked session. The live link talks to the
// other machines; a replay's link hands back, update by update, the steps and
// actions the live one gave, so the core runs a recorded networked game with
// the very code that played it.
class NetworkLink {
public:
    virtual ~NetworkLink() = default;

    // Once a frame, before any step: the network's news in, the promises out.
    virtual void poll(double now) = 0;
    virtual std::vector<SessionEvent> takeEvents() = 0;
    virtual bool isHost() const = 0;
    virtual std::uint8_t machine() const = 0;
    // The machines waiting in the lobby, a line each, for the screen.
    virtual std::vector<std::string> lobbyLines() const = 0;
    virtual std::string machineName(std::uint8_t machine) const = 0;
    // The host's: closes the lobby and starts the steps at 0.
    virtual bool begin(std::uint32_t seed) = 0;
    virtual const Begin* beginning() const = 0; // null until begun

    // The steps, once begun: while mayStep(), apply takeActions(), run one
    // physics step, then stepped(); hand over the world's digest when due.
    virtual bool mayStep() const = 0;
    virtual std::vector<LockstepAction> takeActions() = 0;
    virtual void stepped() = 0;
    virtual bool digestDue() const = 0;
    virtual void digest(std::uint64_t value) = 0;
    virtual std::uint32_t step() const = 0;

    // This machine's acts; each comes back through takeActions at its step.
    virtual void fire(const ShotMessage& shot) = 0;
    virtual void command(const std::string& text, std::uint32_t seed) = 0;
    virtual void aim(const AimMessage& aim) = 0;
    virtual std::vector<std::pair<std::uint8_t, AimMessage>> takeAims() = 0;

    virtual std::vector<std::uint8_t> waitingFor() const = 0;
    virtual std::optional<std::uint32_t> desyncStep() const = 0;
    // Says goodbye to the others, as far as the network lets it in a moment.
    virtual void leave() = 0;
};
