#pragma once
#include "net/DigestLedger.h"
#include "net/Message.h"
#include "net/SenderWindow.h"
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

struct LockstepSettings {
    int minDelaySteps = 8;       // a shot never takes effect sooner than this
    int maxDelaySteps = 60;      // nor later, however slow the link
    double heardInterval = 0.05; // seconds between HeardUpTo messages
    std::uint32_t digestEverySteps = 200;
    double silentSeconds = 5.0;     // a machine this long silent is gone
    double waitReportSeconds = 1.0; // a wait this long is said on screen
    int rejectLimit = 8;            // rejected messages after which a sender is cut off
};

// Something that changes the world, to be applied on every machine before the
// physics step `step` runs: a ShotMessage, a Command, a TankToComputer or a MachineGone.
struct LockstepAction {
    std::uint32_t step = 0;
    std::uint8_t machine = 0;
    std::uint32_t sequence = 0;
    MessageBody body;
};

// Bytes for the transport to send to one machine.
struct Outgoing {
    std::uint8_t to = 0;
    bool reliable = true;
    std::vector<std::uint8_t> bytes;
};

// One machine's side of deterministic lockstep, without sockets or a clock: it
// is handed the time, the bytes that arrived and the round trips measured, and
// hands back bytes to send and the actions to apply. Machines form a star: a
// guest talks to the host (machine 0) only, and the host forwards each guest's
// messages, unchanged, to the others. Whatever the host has heard from a
// machine is therefore what every machine hears, which lets the host alone
// decide, for all, when a machine is gone.
//
// The step counter counts physics steps run. A machine's HeardUpTo(h) promises
// it will add no action before step h + 1; step s may run once every other
// machine has promised up to s, so every machine applies the same actions
// before the same step, in the same order (step, machine, sequence).
class Lockstep {
public:
    // `machines` lists every machine of the game, the host (0) among them; the
    // counter starts at `startStep` on each.
    Lockstep(std::uint8_t self, const std::vector<std::uint8_t>& machines, std::uint32_t startStep,
             const LockstepSettings& settings = {});

    // From the transport: bytes from the machine at the far end of `link` (the
    // host, for a guest), a round trip measured to it, or its connection lost.
    void receive(std::uint8_t link, const std::uint8_t* data, std::size_t size, double now);
    void roundTrip(std::uint8_t link, double seconds);
    void disconnected(std::uint8_t link, double now);
    // Once a frame: sends what is due and watches for silence.
    void update(double now);

    // This machine's own acts. A shot's step is chosen here: the returned one.
    std::uint32_t fire(ShotMessage shot);
    void aim(const AimMessage& aim);
    std::uint32_t handToComputer(std::uint8_t tank, std::uint8_t level);
    // The host's console command for every machine, run after seeding the
    // generator with `seed`; its step is chosen as a shot's. 0, and nothing
    // sent, on a guest or for a text that is not one command (isCommandText).
    std::uint32_t command(const std::string& text, std::uint32_t seed);
    void leave();

    // Stepping: while mayStep(), apply takeActions(), run one physics step,
    // call stepped(), and hand over the world's digest when digestDue().
    bool mayStep() const;
    std::vector<LockstepAction> takeActions();
    void stepped() { ++counter; }
    bool digestDue() const { return counter % settings.digestEverySteps == 0; }
    void digest(std::uint64_t value); // of the world after `step()` steps; also at turns

    // What the screen, the console and the transport need to know.
    std::uint32_t step() const { return counter; }
    int delaySteps() const { return delay; }
    std::vector<std::uint8_t> waitingFor() const; // once a wait has lasted a second
    std::optional<std::uint32_t> desyncStep() const { return ledger.mismatch(); }
    bool hostGone() const { return hostLost; }
    bool isGone(std::uint8_t machine) const { return peers[machine].gone; }
    // The step up to which `machine` has promised its actions (-1: none yet).
    std::int64_t heardFrom(std::uint8_t machine) const { return peers[machine].heard; }
    std::vector<std::pair<std::uint8_t, AimMessage>> takeAims();
    std::vector<Outgoing> takeOutgoing();
    std::vector<std::uint8_t> takeDisconnects(); // links that sent too much garbage
    int rejected(std::uint8_t link) const { return peers[link].rejects; }
    const DigestLedger& digests() const { return ledger; }

private:
    struct Peer {
        bool inGame = false;
        bool gone = false;
        std::int64_t heard = -1; // the step its promises reach
        double lastHeardAt = 0.0;
        double roundTripSeconds = 0.0;
        int rejects = 0;
        std::multiset<std::uint32_t> ahead; // steps of its actions past its promise
        bool cutOff = false;
        SenderWindow window;
        std::optional<MachineGone> pendingGone; // waiting for its last messages
    };

    void reject(std::uint8_t link, const char* why);
    void handle(std::uint8_t link, const Message& message);
    const char* apply(const Message& message);
    bool schedule(std::uint8_t machine, std::uint32_t sequence, std::uint32_t actionStep,
                  const MessageBody& body);
    void declareGone(std::uint8_t machine);
    std::uint32_t send(const MessageBody& body);
    void route(std::uint8_t except, bool reliable, const std::vector<std::uint8_t>& bytes);
    std::uint32_t nextActionStep() const;
    bool isHost() const { return self == 0; }

    static constexpr std::size_t maxActionsAhead = 256;

    std::uint8_t self;
    LockstepSettings settings;
    std::uint32_t counter;
    int delay;
    std::int64_t promised; // the highest HeardUpTo sent
    std::uint32_t nextSequence = 1;
    std::uint32_t nextAimSequence = 1;
    double now = 0.0;
    bool clockStarted = false;
    double lastHeardSent = 0.0;
    std::optional<double> blockedSince;
    bool hostLost = false;
    std::array<Peer, maxMachines> peers;
    std::map<std::tuple<std::uint32_t, std::uint8_t, std::uint32_t>, MessageBody> actions;
    std::vector<std::pair<std::uint8_t, AimMessage>> aims;
    std::vector<Outgoing> outgoing;
    std::vector<std::uint8_t> disconnects;
    DigestLedger ledger;
};
