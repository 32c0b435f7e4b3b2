#include "tools/RelayOptions.h"
#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>

namespace {

// The whole text must be a number from low to high: "12abc", "", "-1" are refused.
bool readNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty() || text.size() > 32)
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && value >= low && value <= high;
}

bool readInteger(const std::string& text, long low, long high, long& value) {
    double number = 0;
    if (text.find_first_not_of("0123456789") != std::string::npos ||
        !readNumber(text, static_cast<double>(low), static_cast<double>(high), number))
        return false;
    value = static_cast<long>(number);
    return true;
}

// HOST:PORT with HOST a dotted IPv4 address in 127.0.0.0/8, or "localhost".
bool readTarget(const std::string& text, RelayOptions& options, std::string& error) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
        error = "--to wants HOST:PORT, not \"" + text + "\"";
        return false;
    }
    const std::string host = text.substr(0, colon);
    long port = 0;
    if (!readInteger(text.substr(colon + 1), 1, 65535, port)) {
        error = "--to: no port from 1 to 65535 in \"" + text + "\"";
        return false;
    }
    in_addr address{};
    if (host == "localhost") {
        address.s_addr = htonl(0x7f000001);
    } else if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
        error = "--to: \"" + host + "\" is not an IPv4 address";
        return false;
    }
    if ((ntohl(address.s_addr) >> 24) != 127) {
        error = "--to: " + host + " is not a loopback address; the relay stays on this machine";
        return false;
    }
    options.targetAddress = ntohl(address.s_addr);
    options.targetPort = static_cast<std::uint16_t>(port);
    return true;
}

} // namespace

bool parseRelayOptions(const std::vector<std::string>& args, RelayOptions& options,
                       std::string& error) {
    bool listenGiven = false;
    bool targetGiven = false;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& flag = args[i];
        if (i + 1 >= args.size()) {
            error = flag + " wants a value";
            return false;
        }
        const std::string& value = args[i + 1];
        long integer = 0;
        double number = 0;
        if (flag == "--listen" && readInteger(value, 0, 65535, integer)) {
            options.listenPort = static_cast<std::uint16_t>(integer);
            listenGiven = true;
        } else if (flag == "--to") {
            if (!readTarget(value, options, error))
                return false;
            targetGiven = true;
        } else if (flag == "--delay-ms" && readInteger(value, 0, 60000, integer)) {
            options.delayMs = static_cast<int>(integer);
        } else if (flag == "--jitter-ms" && readInteger(value, 0, 60000, integer)) {
            options.jitterMs = static_cast<int>(integer);
        } else if (flag == "--loss" && readNumber(value, 0, 100, number)) {
            options.lossPercent = number;
        } else if (flag == "--seed" && readInteger(value, 0, 4294967295L, integer)) {
            options.seed = static_cast<std::uint32_t>(integer);
        } else if (flag == "--listen" || flag == "--delay-ms" || flag == "--jitter-ms" ||
                   flag == "--loss" || flag == "--seed") {
            error = flag + ": \"" + value + "\" is out of range";
            return false;
        } else {
            error = "unknown option " + flag;
            return false;
        }
    }
    if (!listenGiven || !targetGiven) {
        error = "both --listen PORT and --to HOST:PORT are needed";
        return false;
    }
    return true;
}
