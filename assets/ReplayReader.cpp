#include "assets/ReplayReader.h"
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

constexpr std::size_t damaged = static_cast<std::size_t>(-1);

// Little-endian, count bytes from at; the caller has checked they are there.
std::uint64_t getBytes(const std::string& data, std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint64_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
    return value;
}

float getFloat(const std::string& data, std::size_t at) {
    const auto bits = static_cast<std::uint32_t>(getBytes(data, at, 4));
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

bool ReplayReader::load(const std::string& path, std::string& why) {
    // A folder opens as a stream too, with no sensible size.
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(path, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    std::ifstream in(path, std::ios::binary);
    if (!regular || error || !in) {
        why = "cannot be read";
        return false;
    }
    if (size > maxFileBytes) {
        why = "is too large to be a replay";
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        why = "cannot be read";
        return false;
    }
    return parse(std::move(bytes), why);
}

bool ReplayReader::parse(std::string bytes, std::string& why) {
    data = std::move(bytes);
    events = gameStarts = 0;
    cutShort = false;
    head = ReplayHeader{};
    streamStart = streamEnd = cursor = 0;
    if (data.size() > maxFileBytes) {
        why = "is too large to be a replay";
        return false;
    }

    // Header.
    constexpr std::size_t magicSize = sizeof replaytag::magic;
    if (data.size() < magicSize || data.compare(0, magicSize, replaytag::magic, magicSize) != 0) {
        why = "is not a replay";
        return false;
    }
    std::size_t at = magicSize;
    // The format first: a newer one may lay out the rest of its header otherwise.
    if (data.size() < at + 2) {
        why = "is cut short in its header";
        return false;
    }
    head.format = static_cast<std::uint16_t>(getBytes(data, at, 2));
    if (head.format != ReplayHeader::currentFormat) {
        why = "is in replay format " + std::to_string(head.format) + "; this game reads format " +
              std::to_string(ReplayHeader::currentFormat);
        return false;
    }
    if (data.size() < at + 3) {
        why = "is cut short in its header";
        return false;
    }
    const std::size_t versionLength = static_cast<unsigned char>(data[at + 2]);
    at += 3;
    if (versionLength > ReplayHeader::maxVersionLength) {
        why = "has a damaged header";
        return false;
    }
    if (data.size() < at + versionLength + 12) {
        why = "is cut short in its header";
        return false;
    }
    head.gameVersion = data.substr(at, versionLength);
    at += versionLength;
    head.packDigest = getBytes(data, at, 8);
    head.seed = static_cast<std::uint32_t>(getBytes(data, at + 8, 4));
    at += 12;

    // Stream: every record checked once, none kept.
    streamStart = cursor = at;
    ReplayEvent event;
    while (at < data.size()) {
        const std::size_t after = decode(at, event);
        if (after == damaged) {
            why = "is damaged at byte " + std::to_string(at);
            return false;
        }
        if (after == 0) {
            cutShort = true;
            break;
        }
        ++events;
        if (event.kind == ReplayEvent::Kind::gameStart)
            ++gameStarts;
        at = after;
    }
    streamEnd = at;
    return true;
}

bool ReplayReader::next(ReplayEvent& event) {
    if (cursor >= streamEnd)
        return false;
    cursor = decode(cursor, event);
    return true;
}

std::size_t ReplayReader::decode(std::size_t at, ReplayEvent& event) const {
    const auto tag = static_cast<std::uint8_t>(data[at]);
    const std::size_t left = data.size() - at - 1;
    const std::size_t body = at + 1;
    if (tag >= replaytag::msTag) {
        event = ReplayEvent::update(static_cast<float>((tag - replaytag::msTag) / 1000.0));
        return body;
    }
    switch (tag) {
    case replaytag::update: {
        if (left < 4)
            return 0;
        const float seconds = getFloat(data, body);
        if (!std::isfinite(seconds) || seconds < 0.0f)
            return damaged;
        event = ReplayEvent::update(seconds);
        return body + 4;
    }
    case replaytag::key: {
        if (left < 3)
            return 0;
        const auto down = getBytes(data, body + 1, 1);
        if (down > 1)
            return damaged;
        event = ReplayEvent::keyboard(static_cast<unsigned char>(data[body]), down == 1,
                                      static_cast<int>(getBytes(data, body + 2, 1)));
        return body + 3;
    }
    case replaytag::mouse: {
        if (left < 17)
            return 0;
        const auto button = getBytes(data, body, 1);
        float values[4];
        for (int i = 0; i < 4; ++i) {
            values[i] = getFloat(data, body + 1 + 4 * i);
            if (!std::isfinite(values[i]))
                return damaged;
        }
        if (button > 1)
            return damaged;
        event = ReplayEvent::mouse(button == 1, values[0], values[1], values[2], values[3]);
        return body + 17;
    }
    case replaytag::reshape: {
        if (left < 8)
            return 0;
        const auto width = getBytes(data, body, 4);
        const auto height = getBytes(data, body + 4, 4);
        if (width > replaytag::maxWindowSide || height > replaytag::maxWindowSide)
            return damaged;
        event = ReplayEvent::reshape(static_cast<int>(width), static_cast<int>(height));
        return body + 8;
    }
    case replaytag::gameStart:
        event = ReplayEvent::gameStart();
        return body;
    case replaytag::network: {
        if (left < 2)
            return 0;
        const auto size = static_cast<std::size_t>(getBytes(data, body, 2));
        if (size > ReplayEvent::maxNetworkBytes)
            return damaged;
        if (left - 2 < size)
            return 0;
        event = ReplayEvent::network(data.substr(body + 2, size));
        return body + 2 + size;
    }
    default:
        return damaged;
    }
}
