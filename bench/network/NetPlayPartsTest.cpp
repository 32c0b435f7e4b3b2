// The harness's own parts: a wrong median or a miscounted byte would put a
// wrong figure in the report without anything failing.
#include "LoopbackGame.h"
#include "Samples.h"
#include "StepPace.h"
#include "WireCounter.h"
#include "app/NetworkLink.h"
#include "net/EnetTransport.h"
#include "support/GameCorePeer.h"
#include "support/TraceCapture.h"
#include <arpa/inet.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

TEST(Samples, SummariesOfATable) {
    struct Case {
        std::vector<double> values;
        double mean, median, max;
    };
    const Case cases[] = {
        {{}, 0.0, 0.0, 0.0},
        {{5.0}, 5.0, 5.0, 5.0},
        {{3.0, 1.0, 2.0}, 2.0, 2.0, 3.0},
        {{4.0, 1.0, 3.0, 2.0}, 2.5, 2.5, 4.0},       // even: the middle two
        {{10.0, 10.0, 10.0, 90.0}, 30.0, 10.0, 90.0}, // one outlier moves the mean only
    };
    for (const Case& c : cases) {
        Samples samples;
        for (double value : c.values)
            samples.add(value);
        EXPECT_EQ(samples.count(), c.values.size());
        EXPECT_DOUBLE_EQ(samples.mean(), c.mean);
        EXPECT_DOUBLE_EQ(samples.median(), c.median);
        EXPECT_DOUBLE_EQ(samples.max(), c.max);
    }
    Samples cleared;
    cleared.add(7.0);
    cleared.clear();
    EXPECT_EQ(cleared.count(), 0u);
    EXPECT_DOUBLE_EQ(cleared.max(), 0.0);
}

TEST(StepPace, StepsAgainstTheClock) {
    struct Case {
        std::uint32_t steps;
        double seconds;
        bool kept;
    };
    const Case cases[] = {
        {400, 4.0, true},  {389, 4.0, true},   // 3 % short of 400 is 388
        {380, 4.0, false}, {91, 1.0, true},    // a short window allows 10 steps
        {89, 1.0, false},  {0, 4.0, false},
        {100, 0.0, false}, {5000, -1.0, false}, // no time measured: nothing kept
    };
    for (const Case& c : cases)
        EXPECT_EQ(keptStepPace(c.steps, c.seconds), c.kept) << c.steps << " in " << c.seconds;
}

int boundUdpSocket(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    port = ntohs(address.sin_port);
    return fd;
}

TEST(WireCounter, CountsWhatSendmsgSentFromEachPort) {
    std::uint16_t fromPort = 0, toPort = 0;
    const int from = boundUdpSocket(fromPort);
    const int to = boundUdpSocket(toPort);
    ASSERT_GE(from, 0);
    ASSERT_GE(to, 0);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(toPort);
    std::uint64_t expected = 0;
    for (const std::size_t size : {std::size_t{1}, std::size_t{35}, std::size_t{4096}}) {
        std::vector<char> bytes(size, 'x');
        iovec piece{bytes.data(), bytes.size()};
        msghdr message{};
        message.msg_name = &target;
        message.msg_namelen = sizeof target;
        message.msg_iov = &piece;
        message.msg_iovlen = 1;
        ASSERT_EQ(sendmsg(from, &message, 0), static_cast<ssize_t>(size));
        expected += size;
    }
    EXPECT_EQ(WireCounter::bytesFrom(fromPort), expected);
    EXPECT_EQ(WireCounter::datagramsFrom(fromPort), 3u);
    EXPECT_EQ(WireCounter::bytesFrom(toPort), 0u) << "the receiver sent nothing";

    // A send the kernel refuses counts nothing and keeps its error.
    msghdr none{};
    EXPECT_EQ(sendmsg(-1, &none, 0), -1);
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(WireCounter::bytesFrom(fromPort), expected);
    close(from);
    close(to);
}

// ENet keeps its own count; the counter beneath it must agree to the byte.
TEST(WireCounter, AgreesWithEnetsOwnCount) {
    EnetTransport host, guest;
    ASSERT_TRUE(host.listen(0));
    const std::uint64_t before = WireCounter::bytesFrom(host.port());
    const std::uint64_t sentBefore = host.bytesSent();
    const int toHost = guest.connect("127.0.0.1", host.port());
    ASSERT_GE(toHost, 0);
    int toGuest = -1;
    for (int k = 0; k < 500 && toGuest < 0; ++k) {
        for (const TransportEvent& event : host.poll(1))
            if (event.kind == TransportEvent::Kind::connected)
                toGuest = event.peer;
        guest.poll(1);
    }
    ASSERT_GE(toGuest, 0);
    for (int k = 0; k < 20; ++k) {
        host.send(toGuest, k % 2 == 0, std::vector<std::uint8_t>(25 + k, 7));
        host.poll(1);
        guest.poll(1);
    }
    EXPECT_GT(host.bytesSent(), sentBefore);
    EXPECT_EQ(WireCounter::bytesFrom(host.port()) - before, host.bytesSent() - sentBefore);
}

// The harness's game must be a real one: hosted and joined by the console,
// both machines in one game with the same tanks, the bytes counted at the
// host's port, straight and through the relay.
TEST(LoopbackGame, TwoCoresPlayOneGameStraightAndThroughTheRelay) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(VANTRELL_GAME_DIR);
    for (const LineShape line : {LineShape{0, 0.0}, LineShape{20, 0.0}}) {
        TraceCapture quiet;
        LoopbackGame game(2, line);
        std::string error;
        ASSERT_TRUE(game.gather(10.0, error)) << error;
        EXPECT_NE(game.hostPort(), 0);
        ASSERT_TRUE(game.start("terrain;tanks 2", 2, 10.0));
        game.framesFor(0.3);
        for (int machine = 0; machine < 2; ++machine) {
            GameCorePeer peer(game.core(machine));
            ASSERT_TRUE(peer.network);
            EXPECT_EQ(peer.network->machine(), machine);
            EXPECT_EQ(peer.tanks.size(), 2u);
            EXPECT_GT(game.steps(machine), 0u);
            EXPECT_GT(game.updateCost(machine).count(), 0u);
        }
        EXPECT_GT(WireCounter::bytesFrom(game.hostPort()), 0u);
        EXPECT_FALSE(game.desync());
        EXPECT_EQ(game.relaySummary().empty(), !line.relayed());
    }
    std::filesystem::current_path(previous);
}

} // namespace
