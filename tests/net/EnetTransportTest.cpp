#include "net/EnetTransport.h"
#include "net/MessageCodec.h"
#include "support/TraceCapture.h"
#include <functional>
#include <gtest/gtest.h>

namespace {

// Polls both ends, a few milliseconds at a time, until `done` holds or about a
// second has gone by.
bool pollUntil(EnetTransport& a, EnetTransport& b, std::vector<TransportEvent>& aEvents,
               std::vector<TransportEvent>& bEvents, const std::function<bool()>& done) {
    for (int round = 0; round < 250 && !done(); ++round) {
        for (TransportEvent& event : a.poll(2))
            aEvents.push_back(std::move(event));
        for (TransportEvent& event : b.poll(2))
            bEvents.push_back(std::move(event));
    }
    return done();
}

} // namespace

// Two transports in one process meet over loopback: a guest's Hello and ShotMessage
// reach the host byte for byte, the host's aim comes back on the unreliable
// channel, and a goodbye reaches the other end as a disconnection.
TEST(EnetTransportTest, AHelloAndAShotCrossLoopback) {
    TraceCapture quiet;
    EnetTransport host;
    EnetTransport guest;
    EXPECT_FALSE(host.isOpen()); // no socket before asked for one
    ASSERT_TRUE(host.listen(0));
    ASSERT_NE(host.port(), 0);
    const int toHost = guest.connect("127.0.0.1", host.port());
    ASSERT_GE(toHost, 0);

    std::vector<TransportEvent> atHost, atGuest;
    const auto has = [](const std::vector<TransportEvent>& events, TransportEvent::Kind kind,
                        std::size_t n) {
        std::size_t count = 0;
        for (const TransportEvent& event : events)
            count += event.kind == kind ? 1 : 0;
        return count >= n;
    };
    ASSERT_TRUE(pollUntil(host, guest, atHost, atGuest, [&] {
        return has(atHost, TransportEvent::Kind::connected, 1) &&
               has(atGuest, TransportEvent::Kind::connected, 1);
    }));
    EXPECT_EQ(atGuest[0].peer, toHost);
    const int toGuest = atHost[0].peer;

    const auto hello = MessageCodec::encode(Message{noMachine, 1, Hello{"0.9.0", {}, 2, "den"}});
    const auto shot = MessageCodec::encode(Message{1, 2, ShotMessage{300, 1, 12.5f, -40.0f, 61.25f, 3}});
    ASSERT_TRUE(guest.send(toHost, true, hello));
    ASSERT_TRUE(guest.send(toHost, true, shot));
    const auto aim = MessageCodec::encode(Message{0, 1, AimMessage{0, 1.0f, -2.0f, 3.0f}});
    ASSERT_TRUE(host.send(toGuest, false, aim));
    ASSERT_TRUE(pollUntil(host, guest, atHost, atGuest, [&] {
        return has(atHost, TransportEvent::Kind::received, 2) &&
               has(atGuest, TransportEvent::Kind::received, 1);
    }));
    ASSERT_EQ(atHost.size(), 3u);
    EXPECT_EQ(atHost[1].bytes, hello); // in the order sent
    EXPECT_EQ(atHost[2].bytes, shot);
    EXPECT_EQ(atHost[2].peer, toGuest);
    EXPECT_EQ(atGuest.back().bytes, aim);
    EXPECT_TRUE(MessageCodec::decode(atHost[2].bytes).ok());
    EXPECT_FALSE(
        guest.send(toHost, true, std::vector<std::uint8_t>(EnetTransport::maxPacketBytes + 1)));
    EXPECT_FALSE(guest.send(5, true, shot)); // no such connection

    guest.disconnect(toHost);
    ASSERT_TRUE(pollUntil(host, guest, atHost, atGuest,
                          [&] { return has(atHost, TransportEvent::Kind::disconnected, 1); }));
    EXPECT_EQ(atHost.back().peer, toGuest);
}
