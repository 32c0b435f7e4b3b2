#include "app/ReplayedNetworkLink.h"
#include "assets/TraceSink.h"

void ReplayedNetworkLink::feed(const std::string& bytes) {
    const NetworkRecord record = NetworkRecord::read(bytes);
    switch (record.kind) {
    case NetworkRecord::Kind::begin:
        begun = true;
        beginningRecord = record.beginning;
        self = record.self;
        hosting = self == 0;
        counter = 0;
        stepsLeft = 0;
        actions.clear();
        events.push_back(SessionEvent{SessionEvent::Kind::begun, ""});
        return;
    case NetworkRecord::Kind::steps:
        stepsLeft += record.steps;
        return;
    case NetworkRecord::Kind::action:
        actions.push_back(record.action);
        return;
    case NetworkRecord::Kind::end:
        events.push_back(SessionEvent{SessionEvent::Kind::failed, record.line});
        return;
    case NetworkRecord::Kind::damaged:
        break;
    }
    ErrorLine() << "Replay: a damaged network record was passed over";
}

std::vector<SessionEvent> ReplayedNetworkLink::takeEvents() {
    std::vector<SessionEvent> taken;
    taken.swap(events);
    return taken;
}

std::string ReplayedNetworkLink::machineName(std::uint8_t machine) const {
    return "machine " + std::to_string(machine);
}

// Recorded in the order they were applied, each before its own step.
std::vector<LockstepAction> ReplayedNetworkLink::takeActions() {
    std::vector<LockstepAction> due;
    while (!actions.empty() && actions.front().step <= counter) {
        due.push_back(actions.front());
        actions.pop_front();
    }
    return due;
}

void ReplayedNetworkLink::stepped() {
    ++counter;
    if (stepsLeft > 0)
        --stepsLeft;
}
