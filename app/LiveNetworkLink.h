#pragma once
#include "app/NetworkLink.h"
#include <memory>

// The link to the other machines of a networked game, over the session.
class LiveNetworkLink : public NetworkLink {
public:
    explicit LiveNetworkLink(std::unique_ptr<NetSession> opened) : session(std::move(opened)) {}

    void poll(double now) override { session->poll(now); }
    std::vector<SessionEvent> takeEvents() override { return session->takeEvents(); }
    bool isHost() const override { return session->isHost(); }
    std::uint8_t machine() const override { return session->machine(); }
    std::vector<std::string> lobbyLines() const override;
    std::string machineName(std::uint8_t machine) const override;
    bool begin(std::uint32_t seed) override;
    const Begin* beginning() const override;

    bool mayStep() const override;
    std::vector<LockstepAction> takeActions() override;
    void stepped() override;
    bool digestDue() const override;
    void digest(std::uint64_t value) override;
    std::uint32_t step() const override;

    void fire(const ShotMessage& shot) override;
    void command(const std::string& text, std::uint32_t seed) override;
    void aim(const AimMessage& aim) override;
    std::vector<std::pair<std::uint8_t, AimMessage>> takeAims() override;

    std::vector<std::uint8_t> waitingFor() const override;
    std::optional<std::uint32_t> desyncStep() const override;
    void leave() override { session->leave(); }

private:
    // The lockstep, null before the session has begun.
    Lockstep* steps() const { return session->lockstep(); }

    std::unique_ptr<NetSession> session;
    // Machine names as the lobby last listed them, kept for the game: the
    // lobby is closed once the steps begin.
    mutable std::vector<std::string> names;
};
