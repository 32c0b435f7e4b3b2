#include "assets/ReplayWriter.h"
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

void putBytes(std::string& out, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFFu); // little-endian
}

void putFloat(std::string& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putBytes(out, bits, 4);
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

void ReplayWriter::appendHeader(const ReplayHeader& header, std::string& out) {
    out.append(replaytag::magic, sizeof replaytag::magic);
    putBytes(out, header.format, 2);
    const std::string version = header.gameVersion.substr(0, ReplayHeader::maxVersionLength);
    putBytes(out, version.size(), 1);
    out += version;
    putBytes(out, header.packDigest, 8);
    putBytes(out, header.seed, 4);
}

void ReplayWriter::appendEvent(const ReplayEvent& event, std::string& out) {
    switch (event.kind) {
    case ReplayEvent::Kind::update: {
        // Only when the byte gives back exactly these bits: playback must see the
        // very float the game saw.
        const float ms = event.seconds * 1000.0f + 0.5f;
        if (ms >= 0.0f && ms < 128.0f) {
            const int whole = static_cast<int>(ms);
            if (sameBits(static_cast<float>(whole / 1000.0), event.seconds)) {
                out += static_cast<char>(replaytag::msTag + whole);
                return;
            }
        }
        out += static_cast<char>(replaytag::update);
        putFloat(out, event.seconds);
        return;
    }
    case ReplayEvent::Kind::key:
        out += static_cast<char>(replaytag::key);
        putBytes(out, event.key, 1);
        putBytes(out, event.down ? 1 : 0, 1);
        putBytes(out, static_cast<std::uint64_t>(event.modifiers) & 0xFFu, 1);
        return;
    case ReplayEvent::Kind::mouse:
        out += static_cast<char>(replaytag::mouse);
        putBytes(out, event.down ? 1 : 0, 1);
        putFloat(out, event.x);
        putFloat(out, event.y);
        putFloat(out, event.dx);
        putFloat(out, event.dy);
        return;
    case ReplayEvent::Kind::reshape:
        out += static_cast<char>(replaytag::reshape);
        putBytes(out, static_cast<std::uint32_t>(event.width), 4);
        putBytes(out, static_cast<std::uint32_t>(event.height), 4);
        return;
    case ReplayEvent::Kind::gameStart:
        out += static_cast<char>(replaytag::gameStart);
        return;
    case ReplayEvent::Kind::network: {
        const std::size_t size = std::min(event.bytes.size(), ReplayEvent::maxNetworkBytes);
        out += static_cast<char>(replaytag::network);
        putBytes(out, size, 2);
        out.append(event.bytes, 0, size);
        return;
    }
    }
}
