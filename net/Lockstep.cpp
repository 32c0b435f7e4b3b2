#include "net/Lockstep.h"
#include "assets/TraceSink.h"
#include "net/MessageCodec.h"
#include <algorithm>
#include <cassert>
#include <cmath>

// Design notes.
// - Every reliable message of a sender is handled in its sequence order, once:
//   a HeardUpTo is only believed after every action written before it is in.
// - Whether a message is kept depends only on its sender's own stream, so every
//   machine keeps the same ones.
// - A local action goes out at max(step + delay, last promise + 1): a promise
//   once sent is never broken, whatever the delay does afterwards.

namespace {
constexpr double stepSeconds = 0.01;
} // namespace

Lockstep::Lockstep(std::uint8_t selfMachine, const std::vector<std::uint8_t>& machines,
                   std::uint32_t startStep, const LockstepSettings& chosen)
    : self(selfMachine), settings(chosen), counter(startStep), delay(chosen.minDelaySteps),
      promised(static_cast<std::int64_t>(startStep) - 1) {
    assert(self < maxMachines && "no such machine");
    for (const std::uint8_t machine : machines) {
        assert(machine < maxMachines && "no such machine");
        if (machine < maxMachines) {
            peers[machine].inGame = true;
            peers[machine].heard = static_cast<std::int64_t>(startStep) - 1;
        }
    }
    peers[self].inGame = true;
}

void Lockstep::reject(std::uint8_t link, const char* why) {
    Peer& peer = peers[link];
    if (peer.cutOff)
        return; // said once; its connection is being closed
    ErrorLine() << "Network: dropped a message from machine " << static_cast<int>(link) << ": "
                << why;
    if (++peer.rejects >= settings.rejectLimit) {
        peer.cutOff = true;
        disconnects.push_back(link);
    }
}

void Lockstep::receive(std::uint8_t link, const std::uint8_t* data, std::size_t size, double time) {
    if (link >= maxMachines || link == self || !peers[link].inGame || peers[link].gone)
        return;
    if (!isHost() && link != 0)
        return; // a guest hears the others through the host only
    now = std::max(now, time);
    const Decoded decoded = MessageCodec::decode(data, size);
    if (!decoded.ok()) {
        reject(link, decodeErrorName(decoded.error));
        return;
    }
    const Message& message = decoded.message;
    const std::uint8_t sender = message.sender;
    const bool senderFits =
        isHost() ? sender == link : sender < maxMachines && sender != self && peers[sender].inGame;
    if (!senderFits) {
        reject(link, "wrong sender");
        return;
    }
    peers[link].lastHeardAt = now;
    Peer& from = peers[sender];
    if (from.gone)
        return; // late news from a machine the game has left behind
    if (from.pendingGone && message.sequence > from.pendingGone->lastSequence)
        return; // written after the host stopped listening to it

    if (!isReliable(message.body)) {
        if (from.window.freshAim(message.sequence)) {
            aims.emplace_back(sender, std::get<AimMessage>(message.body));
            if (isHost())
                route(sender, false, MessageCodec::encode(message));
        }
        return;
    }
    switch (from.window.offer(message)) {
    case SenderWindow::Verdict::duplicate:
        reject(link, "replayed");
        return;
    case SenderWindow::Verdict::tooFarAhead:
        reject(link, "out of order");
        return;
    case SenderWindow::Verdict::taken:
        break;
    }
    Message next;
    while (!from.gone && from.window.next(next))
        handle(link, next);
    if (from.pendingGone && from.window.delivered() >= from.pendingGone->lastSequence)
        from.gone = true;
}

// The host forwards every message of a guest, kept or not, so that its
// sequence stays whole on the other machines. They see the same stream from
// that guest and so keep and drop the same messages; only the host counts a
// dropped one against the connection it came on.
void Lockstep::handle(std::uint8_t link, const Message& message) {
    const char* broken = apply(message);
    if (isHost())
        route(message.sender, true, MessageCodec::encode(message));
    if (broken != nullptr && link == message.sender)
        reject(link, broken);
}

// Why no machine keeping the rules would send the message; null when it is kept.
const char* Lockstep::apply(const Message& message) {
    static const char* const breaksRules = "breaks the rules of play";
    const std::uint8_t sender = message.sender;
    Peer& from = peers[sender];
    const MessageBody& body = message.body;
    if (const auto* heard = std::get_if<HeardUpTo>(&body)) {
        if (heard->step < from.heard)
            return breaksRules;
        from.heard = heard->step;
        from.ahead.erase(from.ahead.begin(), from.ahead.upper_bound(heard->step));
        return nullptr;
    }
    const auto scheduled = [&](std::uint32_t actionStep) {
        return schedule(sender, message.sequence, actionStep, body) ? nullptr : breaksRules;
    };
    if (const auto* shot = std::get_if<ShotMessage>(&body))
        return scheduled(shot->step);
    if (const auto* command = std::get_if<Command>(&body))
        return sender == 0 ? scheduled(command->step) : "only the host sends commands";
    if (const auto* handed = std::get_if<TankToComputer>(&body))
        return scheduled(handed->step);
    if (const auto* digestMessage = std::get_if<WorldDigest>(&body)) {
        ledger.peer(sender, digestMessage->step, digestMessage->digest);
        return nullptr;
    }
    if (const auto* gone = std::get_if<MachineGone>(&body)) {
        if (isHost() || sender != 0 || gone->machine == 0 || !peers[gone->machine].inGame)
            return breaksRules;
        if (gone->machine == self) {
            hostLost = true; // the host gave up on us: the game goes on without us
            return nullptr;
        }
        Peer& leaving = peers[gone->machine];
        leaving.pendingGone = *gone;
        if (leaving.window.delivered() >= gone->lastSequence)
            leaving.gone = true;
        return scheduled(gone->step);
    }
    if (std::holds_alternative<Bye>(body)) {
        if (sender == 0)
            hostLost = true;
        else if (isHost())
            declareGone(sender);
        return nullptr;
    }
    return breaksRules; // the lobby's messages have no place in a running game
}

bool Lockstep::schedule(std::uint8_t machine, std::uint32_t sequence, std::uint32_t actionStep,
                        const MessageBody& body) {
    if (machine != self && actionStep <= peers[machine].heard)
        return false; // it promised to add nothing there
    // Nobody fires this many shots within the delay: a flood of far-off
    // actions must not grow the queue without bound. Counted past the
    // sender's promise, which every machine knows alike, so all decide alike.
    if (machine != self) {
        std::multiset<std::uint32_t>& ahead = peers[machine].ahead;
        if (ahead.size() >= maxActionsAhead)
            return false;
        ahead.insert(actionStep);
    }
    actions[{actionStep, machine, sequence}] = body;
    return true;
}

std::uint32_t Lockstep::nextActionStep() const {
    const std::int64_t soonest =
        std::max<std::int64_t>(counter + static_cast<std::int64_t>(delay), promised + 1);
    return static_cast<std::uint32_t>(soonest);
}

std::uint32_t Lockstep::send(const MessageBody& body) {
    const Message message{self, nextSequence++, body};
    route(self, true, MessageCodec::encode(message));
    return message.sequence;
}

void Lockstep::route(std::uint8_t except, bool reliable, const std::vector<std::uint8_t>& bytes) {
    if (!isHost()) {
        if (except != 0 && !hostLost)
            outgoing.push_back(Outgoing{0, reliable, bytes});
        return;
    }
    for (std::uint8_t machine = 1; machine < maxMachines; ++machine)
        if (machine != except && peers[machine].inGame && !peers[machine].gone)
            outgoing.push_back(Outgoing{machine, reliable, bytes});
}

void Lockstep::declareGone(std::uint8_t machine) {
    Peer& leaving = peers[machine];
    if (!isHost() || machine == 0 || leaving.gone || !leaving.inGame)
        return;
    leaving.gone = true;
    // After every action it may still have coming, and after our own promises.
    const std::uint32_t goneStep = std::max<std::uint32_t>(
        nextActionStep(), static_cast<std::uint32_t>(std::max<std::int64_t>(leaving.heard + 1, 0)));
    const MachineGone gone{machine, leaving.window.delivered(), goneStep};
    const std::uint32_t sequence = send(gone);
    schedule(self, sequence, goneStep, gone);
}

void Lockstep::update(double time) {
    now = std::max(now, time);
    if (!clockStarted) {
        clockStarted = true;
        for (Peer& peer : peers)
            peer.lastHeardAt = now;
        lastHeardSent = now - settings.heardInterval;
    }
    if (now - lastHeardSent >= settings.heardInterval && !hostLost) {
        promised = std::max<std::int64_t>(promised, counter + static_cast<std::int64_t>(delay) - 1);
        send(HeardUpTo{static_cast<std::uint32_t>(promised)});
        lastHeardSent = now;
    }
    for (std::uint8_t machine = 0; machine < maxMachines; ++machine) {
        const Peer& peer = peers[machine];
        if (machine == self || !peer.inGame || peer.gone ||
            now - peer.lastHeardAt < settings.silentSeconds)
            continue;
        if (isHost())
            declareGone(machine);
        else if (machine == 0)
            hostLost = true;
    }
    if (mayStep())
        blockedSince.reset();
    else if (!blockedSince)
        blockedSince = now;
}

std::uint32_t Lockstep::fire(ShotMessage shot) {
    shot.step = nextActionStep();
    schedule(self, send(shot), shot.step, shot);
    return shot.step;
}

void Lockstep::aim(const AimMessage& where) {
    route(self, false, MessageCodec::encode(Message{self, nextAimSequence++, where}));
}

std::uint32_t Lockstep::handToComputer(std::uint8_t tank, std::uint8_t level) {
    const TankToComputer handed{nextActionStep(), tank, level};
    schedule(self, send(handed), handed.step, handed);
    return handed.step;
}

std::uint32_t Lockstep::command(const std::string& text, std::uint32_t seed) {
    // A text the others' decoders refuse would run here alone.
    if (!isHost() || !isCommandText(text))
        return 0;
    const Command command{nextActionStep(), seed, text};
    schedule(self, send(command), command.step, command);
    return command.step;
}

void Lockstep::leave() {
    send(Bye{});
}

void Lockstep::roundTrip(std::uint8_t link, double seconds) {
    if (link >= maxMachines)
        return;
    peers[link].roundTripSeconds = seconds;
    double slowest = 0.0;
    for (const Peer& peer : peers)
        if (peer.inGame && !peer.gone)
            slowest = std::max(slowest, peer.roundTripSeconds);
    // A guest's shot reaches another guest over two links: a whole round trip
    // of its own link stands for the two one-way trips. Then the gap between
    // promises, and two steps to spare.
    const double steps =
        std::ceil(slowest / stepSeconds) + std::ceil(settings.heardInterval / stepSeconds) + 2.0;
    delay = static_cast<int>(std::clamp(steps, static_cast<double>(settings.minDelaySteps),
                                        static_cast<double>(settings.maxDelaySteps)));
}

void Lockstep::disconnected(std::uint8_t link, double time) {
    now = std::max(now, time);
    if (isHost())
        declareGone(link);
    else if (link == 0)
        hostLost = true;
}

bool Lockstep::mayStep() const {
    if (hostLost || ledger.mismatch())
        return false;
    for (std::uint8_t machine = 0; machine < maxMachines; ++machine) {
        const Peer& peer = peers[machine];
        if (machine != self && peer.inGame && !peer.gone && peer.heard < counter)
            return false;
    }
    return true;
}

std::vector<LockstepAction> Lockstep::takeActions() {
    assert(mayStep() && "actions taken before every machine was heard");
    std::vector<LockstepAction> due;
    auto it = actions.begin();
    while (it != actions.end() && std::get<0>(it->first) <= counter) {
        const auto& [actionStep, machine, sequence] = it->first;
        due.push_back(LockstepAction{actionStep, machine, sequence, it->second});
        it = actions.erase(it);
    }
    return due;
}

void Lockstep::digest(std::uint64_t value) {
    ledger.own(counter, value);
    send(WorldDigest{counter, value});
}

std::vector<std::uint8_t> Lockstep::waitingFor() const {
    std::vector<std::uint8_t> machines;
    if (!blockedSince || now - *blockedSince < settings.waitReportSeconds)
        return machines;
    for (std::uint8_t machine = 0; machine < maxMachines; ++machine) {
        const Peer& peer = peers[machine];
        if (machine != self && peer.inGame && !peer.gone && peer.heard < counter)
            machines.push_back(machine);
    }
    return machines;
}

std::vector<std::pair<std::uint8_t, AimMessage>> Lockstep::takeAims() {
    return std::exchange(aims, {});
}

std::vector<Outgoing> Lockstep::takeOutgoing() {
    return std::exchange(outgoing, {});
}

std::vector<std::uint8_t> Lockstep::takeDisconnects() {
    return std::exchange(disconnects, {});
}
