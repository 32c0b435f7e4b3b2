#pragma once
#include "net/Message.h"
#include <cstdint>
#include <map>

// One sender's messages, put back in the order it wrote them. Reliable messages
// come out once each, in sequence order with no gap: one that arrives early
// waits here (up to `windowSize` ahead) for those before it. An aim is shown
// only when it is newer than the last one shown.
class SenderWindow {
public:
    enum class Verdict { taken, duplicate, tooFarAhead };
    static constexpr std::uint32_t windowSize = 256;

    Verdict offer(Message message);
    // The next reliable message in order, when it is here.
    bool next(Message& message);
    // True for an aim newer than every aim seen so far.
    bool freshAim(std::uint32_t sequence);

    std::uint32_t delivered() const { return lastDelivered; }

private:
    std::uint32_t lastDelivered = 0; // sequences start at 1
    std::uint32_t newestAim = 0;
    std::map<std::uint32_t, Message> early;
};
