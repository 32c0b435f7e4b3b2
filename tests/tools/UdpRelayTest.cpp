#include "tools/UdpRelay.h"
#include "net/EnetTransport.h"
#include "support/TraceCapture.h"
#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A plain UDP socket on 127.0.0.1, any port, that does not block.
class Endpoint {
public:
    Endpoint() {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        sockaddr_in local = address(0);
        bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
        socklen_t length = sizeof local;
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
        boundPort = ntohs(local.sin_port);
    }
    ~Endpoint() { close(fd); }

    static sockaddr_in address(std::uint16_t port) {
        sockaddr_in result{};
        result.sin_family = AF_INET;
        result.sin_addr.s_addr = htonl(0x7f000001);
        result.sin_port = htons(port);
        return result;
    }
    void sendTo(std::uint16_t port, const std::string& text) const {
        const sockaddr_in to = address(port);
        sendto(fd, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    // The next datagram and the port it came from, if one is there.
    bool receive(std::string& text, std::uint16_t& fromPort) const {
        char bytes[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t size =
            recvfrom(fd, bytes, sizeof bytes, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (size < 0)
            return false;
        text.assign(bytes, static_cast<std::size_t>(size));
        fromPort = ntohs(from.sin_port);
        return true;
    }
    std::uint16_t port() const { return boundPort; }

private:
    int fd = -1;
    std::uint16_t boundPort = 0;
};

struct Arrival {
    std::string text;
    std::uint16_t fromPort;
    Clock::time_point at;
};

// Runs the relay a few milliseconds at a time for about `seconds`, or until
// `count` datagrams have reached `to`, collecting them.
std::vector<Arrival> pump(UdpRelay& relay, const Endpoint& to, std::size_t count,
                          double seconds = 2.0) {
    std::vector<Arrival> arrivals;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(seconds));
    std::string text;
    std::uint16_t from = 0;
    while (arrivals.size() < count && Clock::now() < end) {
        relay.runOnce(2);
        while (to.receive(text, from))
            arrivals.push_back({text, from, Clock::now()});
    }
    return arrivals;
}

RelayOptions towards(const Endpoint& target) {
    RelayOptions options;
    options.targetPort = target.port();
    return options;
}

std::unique_ptr<UdpRelay> openRelay(const RelayOptions& options) {
    auto relay = std::make_unique<UdpRelay>(options);
    std::string error;
    EXPECT_TRUE(relay->open(error)) << error;
    EXPECT_NE(relay->port(), 0);
    return relay;
}

} // namespace

// Without loss or jitter every datagram arrives, in the order sent, both ways;
// with all of it lost none does; with half, some do and some do not.
TEST(UdpRelayTest, LossDropsTheShareAskedFor) {
    struct Case {
        double lossPercent;
        std::size_t fewest, most;
    };
    constexpr std::size_t sent = 200;
    for (const Case& c : {Case{0, sent, sent}, Case{100, 0, 0}, Case{50, 50, 150}}) {
        SCOPED_TRACE(c.lossPercent);
        Endpoint client, target;
        RelayOptions options = towards(target);
        options.lossPercent = c.lossPercent;
        auto relay = openRelay(options);
        for (std::size_t i = 0; i < sent; ++i)
            client.sendTo(relay->port(), "up " + std::to_string(i));
        // Expecting one more than can come keeps the pump going for its whole
        // time, so a datagram let through by mistake is seen.
        const auto up = pump(*relay, target, c.most + 1, c.most == sent ? 1.0 : 0.3);
        EXPECT_GE(up.size(), c.fewest);
        EXPECT_LE(up.size(), c.most);
        EXPECT_EQ(relay->counts().forwarded[UdpRelay::toTarget], up.size());
        EXPECT_EQ(relay->counts().lost[UdpRelay::toTarget], sent - up.size());
        if (c.lossPercent == 0) {
            for (std::size_t i = 0; i < up.size(); ++i)
                EXPECT_EQ(up[i].text, "up " + std::to_string(i));
            // The answers go to the relay's upstream socket and come back.
            for (std::size_t i = 0; i < sent; ++i)
                target.sendTo(up[0].fromPort, "down " + std::to_string(i));
            const auto down = pump(*relay, client, sent + 1, 1.0);
            ASSERT_EQ(down.size(), sent);
            for (std::size_t i = 0; i < sent; ++i) {
                EXPECT_EQ(down[i].text, "down " + std::to_string(i));
                EXPECT_EQ(down[i].fromPort, relay->port()); // as if the target were the relay
            }
        }
    }
}

// A datagram is held for the delay and not much longer; with jitter every one
// still arrives, whatever their order.
TEST(UdpRelayTest, DelayHoldsEachDatagram) {
    Endpoint client, target;
    RelayOptions options = towards(target);
    options.delayMs = 100;
    auto relay = openRelay(options);
    const Clock::time_point sentAt = Clock::now();
    client.sendTo(relay->port(), "late");
    const auto arrivals = pump(*relay, target, 1, 3.0);
    ASSERT_EQ(arrivals.size(), 1u);
    const auto took = arrivals[0].at - sentAt;
    EXPECT_GE(took, std::chrono::milliseconds(100));
    EXPECT_LT(took, std::chrono::seconds(2));

    options.delayMs = 5;
    options.jitterMs = 40;
    auto jittery = openRelay(options);
    std::multiset<std::string> sent;
    for (int i = 0; i < 100; ++i) {
        sent.insert(std::to_string(i));
        client.sendTo(jittery->port(), std::to_string(i));
    }
    std::multiset<std::string> received;
    for (const Arrival& arrival : pump(*jittery, target, 100, 3.0))
        received.insert(arrival.text);
    EXPECT_EQ(received, sent);
}

// Each client gets an upstream socket of its own, so the target tells them
// apart, and each answer goes back to the client whose socket it came to.
TEST(UdpRelayTest, EachClientHasItsOwnUpstreamAddress) {
    Endpoint first, second, target;
    auto relay = openRelay(towards(target));
    first.sendTo(relay->port(), "first");
    second.sendTo(relay->port(), "second");
    first.sendTo(relay->port(), "first again");
    const auto up = pump(*relay, target, 3);
    ASSERT_EQ(up.size(), 3u);
    EXPECT_EQ(relay->clients(), 2u);
    EXPECT_NE(up[0].fromPort, up[1].fromPort);
    EXPECT_EQ(up[0].fromPort, up[2].fromPort);
    EXPECT_NE(up[0].fromPort, relay->port());

    target.sendTo(up[1].fromPort, "to second");
    target.sendTo(up[0].fromPort, "to first");
    const auto toSecond = pump(*relay, second, 2, 0.3);
    ASSERT_EQ(toSecond.size(), 1u);
    EXPECT_EQ(toSecond[0].text, "to second");
    const auto toFirst = pump(*relay, first, 2, 0.3);
    ASSERT_EQ(toFirst.size(), 1u);
    EXPECT_EQ(toFirst[0].text, "to first");
}

// Memory stays bounded under a flood: past the cap datagrams are refused and
// counted, not queued; and past the cap on clients a new one gets no socket.
TEST(UdpRelayTest, CapsWhatItHolds) {
    Endpoint client, other, target;
    RelayOptions options = towards(target);
    options.delayMs = 10000;
    options.maxQueued = 5;
    options.maxClients = 1;
    auto relay = openRelay(options);
    for (int i = 0; i < 20; ++i)
        client.sendTo(relay->port(), "flood");
    other.sendTo(relay->port(), "newcomer");
    for (int i = 0; i < 20 && relay->counts().refused[UdpRelay::toTarget] < 16; ++i)
        relay->runOnce(5);
    EXPECT_EQ(relay->queued(), 5u);
    EXPECT_EQ(relay->counts().refused[UdpRelay::toTarget], 16u);
    EXPECT_EQ(relay->clients(), 1u);
    EXPECT_NE(relay->summary().find("16 refused"), std::string::npos) << relay->summary();
}

// The game's own transport connects through the relay and a message crosses
// it each way, on a line slow enough that ENet's resends and acknowledgements
// must wait for it.
TEST(UdpRelayTest, EnetTransportsMeetThroughIt) {
    TraceCapture quiet;
    EnetTransport host, guest;
    ASSERT_TRUE(host.listen(0));
    RelayOptions options;
    options.targetPort = host.port();
    options.delayMs = 20;
    options.jitterMs = 5;
    auto relay = openRelay(options);
    const int toHost = guest.connect("127.0.0.1", relay->port());
    ASSERT_GE(toHost, 0);

    std::vector<TransportEvent> atHost, atGuest;
    const auto pumpAll = [&](const std::function<bool()>& done) {
        for (int round = 0; round < 1500 && !done(); ++round) {
            for (TransportEvent& event : host.poll(0))
                atHost.push_back(std::move(event));
            for (TransportEvent& event : guest.poll(0))
                atGuest.push_back(std::move(event));
            relay->runOnce(2);
        }
        return done();
    };
    ASSERT_TRUE(pumpAll([&] { return !atHost.empty() && !atGuest.empty(); }));
    ASSERT_EQ(atHost[0].kind, TransportEvent::Kind::connected);
    ASSERT_EQ(atGuest[0].kind, TransportEvent::Kind::connected);
    const std::vector<std::uint8_t> up = {1, 7, 1, 0, 0, 0, 1}, down = {1, 9, 0, 2, 0, 0, 0};
    ASSERT_TRUE(guest.send(toHost, true, up));
    ASSERT_TRUE(host.send(atHost[0].peer, true, down));
    ASSERT_TRUE(pumpAll([&] { return atHost.size() >= 2 && atGuest.size() >= 2; }));
    EXPECT_EQ(atHost[1].bytes, up);
    EXPECT_EQ(atGuest[1].bytes, down);
    EXPECT_EQ(relay->clients(), 1u);
    EXPECT_GT(relay->counts().forwarded[UdpRelay::toClient], 0u);
}
