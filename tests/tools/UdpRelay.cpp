#include "tools/UdpRelay.h"
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The largest UDP payload over IPv4.
constexpr std::size_t maxDatagram = 65507;
// Datagrams read from one socket in one round, so a flood on one side cannot
// starve the other side or the deliveries.
constexpr int readsPerRound = 256;

sockaddr_in loopback(std::uint32_t address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address);
    result.sin_port = htons(port);
    return result;
}

int openSocket(const sockaddr_in& local) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool sameAddress(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

} // namespace

UdpRelay::UdpRelay(const RelayOptions& relayOptions)
    : options(relayOptions), random(relayOptions.seed), buffer(maxDatagram + 1) {}

UdpRelay::~UdpRelay() {
    for (const Client& client : clientTable)
        close(client.socket);
    if (listenSocket >= 0)
        close(listenSocket);
}

bool UdpRelay::open(std::string& error) {
    if (listenSocket >= 0) {
        error = "the relay is open already";
        return false;
    }
    listenSocket = openSocket(loopback(0x7f000001, options.listenPort));
    if (listenSocket < 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(options.listenPort) + ": " +
                std::strerror(errno);
        return false;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(listenSocket, reinterpret_cast<sockaddr*>(&bound), &length);
    listenPort = ntohs(bound.sin_port);
    return true;
}

void UdpRelay::runOnce(int milliseconds) {
    if (listenSocket < 0)
        return;
    int wait = std::max(milliseconds, 0);
    if (!pending.empty()) {
        const auto untilDue = std::chrono::duration_cast<std::chrono::milliseconds>(
            pending.top().due - Clock::now());
        // Rounded up, so a wake-up is never early and a busy loop never starts.
        wait = static_cast<int>(
            std::min<long long>(wait, std::max<long long>(untilDue.count() + 1, 0)));
    }
    std::vector<pollfd> fds;
    fds.push_back({listenSocket, POLLIN, 0});
    for (const Client& client : clientTable)
        fds.push_back({client.socket, POLLIN, 0});
    // A signal cuts the wait short (EINTR), which is how the tool stops promptly.
    if (poll(fds.data(), fds.size(), wait) > 0) {
        if (fds[0].revents != 0)
            readFromClients();
        for (std::size_t i = 1; i < fds.size(); ++i)
            if (fds[i].revents != 0)
                readFromTarget(i - 1);
    }
    deliverDue();
}

void UdpRelay::readFromClients() {
    for (int n = 0; n < readsPerRound; ++n) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t size = recvfrom(listenSocket, buffer.data(), buffer.size(), 0,
                                      reinterpret_cast<sockaddr*>(&from), &length);
        if (size < 0)
            return; // EAGAIN: all read
        const int client = clientFor(from);
        if (client < 0) {
            ++tally.refused[toTarget];
            continue;
        }
        schedule(toTarget, static_cast<std::size_t>(client), buffer.data(),
                 static_cast<std::size_t>(size));
    }
}

void UdpRelay::readFromTarget(std::size_t client) {
    for (int n = 0; n < readsPerRound; ++n) {
        const ssize_t size = recv(clientTable[client].socket, buffer.data(), buffer.size(), 0);
        // EAGAIN, or ECONNREFUSED when the target is not (or no longer) there:
        // a line without a listener loses datagrams, nothing more.
        if (size < 0)
            return;
        schedule(toClient, client, buffer.data(), static_cast<std::size_t>(size));
    }
}

int UdpRelay::clientFor(const sockaddr_in& address) {
    for (std::size_t i = 0; i < clientTable.size(); ++i)
        if (sameAddress(clientTable[i].address, address))
            return static_cast<int>(i);
    if (clientTable.size() >= options.maxClients)
        return -1;
    const int fd = openSocket(loopback(0x7f000001, 0));
    const sockaddr_in target = loopback(options.targetAddress, options.targetPort);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        close(fd);
        return -1;
    }
    clientTable.push_back({address, fd});
    return static_cast<int>(clientTable.size() - 1);
}

void UdpRelay::schedule(Way way, std::size_t client, const std::uint8_t* bytes,
                        std::size_t size) {
    // The loss is drawn first and the jitter only for what survives, so one seed
    // gives one pattern of losses whatever the jitter.
    if (options.lossPercent > 0 &&
        std::uniform_real_distribution<double>(0.0, 100.0)(random) < options.lossPercent) {
        ++tally.lost[way];
        return;
    }
    if (pending.size() >= options.maxQueued || pendingBytes + size > options.maxQueuedBytes) {
        ++tally.refused[way];
        return;
    }
    int waitMs = options.delayMs;
    if (options.jitterMs > 0)
        waitMs += std::uniform_int_distribution<int>(0, options.jitterMs)(random);
    pending.push({Clock::now() + std::chrono::milliseconds(waitMs), arrivals++, way, client,
                  std::vector<std::uint8_t>(bytes, bytes + size)});
    pendingBytes += size;
}

void UdpRelay::deliverDue() {
    const Clock::time_point now = Clock::now();
    while (!pending.empty() && pending.top().due <= now) {
        const Datagram& datagram = pending.top();
        const Client& client = clientTable[datagram.client];
        const ssize_t sent =
            datagram.way == toTarget
                ? send(client.socket, datagram.bytes.data(), datagram.bytes.size(), 0)
                : sendto(listenSocket, datagram.bytes.data(), datagram.bytes.size(), 0,
                         reinterpret_cast<const sockaddr*>(&client.address),
                         sizeof client.address);
        if (sent >= 0)
            ++tally.forwarded[datagram.way];
        else
            ++tally.refused[datagram.way]; // the socket's buffer is full: lost like any other
        pendingBytes -= datagram.bytes.size();
        pending.pop();
    }
}

std::string UdpRelay::summary() const {
    std::ostringstream line;
    const char* names[2] = {"to the target", "back to the clients"};
    line << "relay:";
    for (int way = toTarget; way <= toClient; ++way)
        line << (way == toTarget ? " " : "; ") << names[way] << " " << tally.forwarded[way]
             << " forwarded, " << tally.lost[way] << " lost, " << tally.refused[way]
             << " refused";
    line << "; " << pending.size() << " still queued, " << clientTable.size() << " clients";
    return line.str();
}
