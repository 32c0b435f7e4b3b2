#include "net/SenderWindow.h"

SenderWindow::Verdict SenderWindow::offer(Message message) {
    const std::uint32_t sequence = message.sequence;
    if (sequence <= lastDelivered || early.count(sequence) != 0)
        return Verdict::duplicate;
    // Bounds what a sender can make us hold; the reliable channel never gets
    // this far out of order.
    if (sequence - lastDelivered > windowSize)
        return Verdict::tooFarAhead;
    early.emplace(sequence, std::move(message));
    return Verdict::taken;
}

bool SenderWindow::next(Message& message) {
    const auto first = early.begin();
    if (first == early.end() || first->first != lastDelivered + 1)
        return false;
    message = std::move(first->second);
    early.erase(first);
    ++lastDelivered;
    return true;
}

bool SenderWindow::freshAim(std::uint32_t sequence) {
    if (sequence <= newestAim)
        return false;
    newestAim = sequence;
    return true;
}
