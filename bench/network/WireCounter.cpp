#include "WireCounter.h"
#include <arpa/inet.h>
#include <array>
#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

constexpr std::size_t portCount = 65536;
// Static storage: zero before the first send. The relay's thread sends too
// (with send and sendto, which are not counted), so the counts are atomic.
std::array<std::atomic<std::uint64_t>, portCount> bytesByPort;
std::array<std::atomic<std::uint64_t>, portCount> datagramsByPort;
std::atomic<std::uint64_t> allBytes{0};

using SendMessage = ssize_t (*)(int, const msghdr*, int);

SendMessage realSendMessage() {
    static const SendMessage real = reinterpret_cast<SendMessage>(dlsym(RTLD_NEXT, "sendmsg"));
    return real;
}

// Asked at every send rather than cached by descriptor: a closed socket's
// number comes back for the next session's.
std::uint16_t localPort(int descriptor) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    return 0;
}

} // namespace

extern "C" ssize_t sendmsg(int descriptor, const msghdr* message, int flags) {
    const SendMessage real = realSendMessage();
    if (!real) {
        errno = ENOSYS;
        return -1;
    }
    const ssize_t sent = real(descriptor, message, flags);
    if (sent > 0) {
        const int kept = errno; // the caller sees the send's, not getsockname's
        const std::uint16_t port = localPort(descriptor);
        bytesByPort[port] += static_cast<std::uint64_t>(sent);
        datagramsByPort[port] += 1;
        allBytes += static_cast<std::uint64_t>(sent);
        errno = kept;
    }
    return sent;
}

std::uint64_t WireCounter::bytesFrom(std::uint16_t port) {
    return bytesByPort[port].load();
}

std::uint64_t WireCounter::datagramsFrom(std::uint16_t port) {
    return datagramsByPort[port].load();
}

std::uint64_t WireCounter::totalBytes() {
    return allBytes.load();
}
