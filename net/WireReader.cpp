#include "net/WireReader.h"
#include <cmath>
#include <cstring>

// Moves past `count` bytes when they are there; the caller reads them from
// cursor - count.
bool WireReader::take(std::size_t count) {
    if (failed)
        return false;
    if (static_cast<std::size_t>(end - cursor) < count) {
        failed = ranOut = true;
        return false;
    }
    cursor += count;
    return true;
}

std::uint8_t WireReader::u8() {
    return take(1) ? cursor[-1] : 0;
}

std::uint32_t WireReader::u32() {
    if (!take(4))
        return 0;
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value << 8 | cursor[k - 4];
    return value;
}

std::uint64_t WireReader::u64() {
    if (!take(8))
        return 0;
    std::uint64_t value = 0;
    for (int k = 7; k >= 0; --k)
        value = value << 8 | cursor[k - 8];
    return value;
}

float WireReader::f32() {
    const std::uint32_t bits = u32();
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) {
        failed = true;
        return 0.0f;
    }
    return value;
}

// Texts reach the screen and the console: no control byte gets through.
std::string WireReader::text(std::size_t maxBytes) {
    const std::size_t size = u8();
    if (failed || size > maxBytes || !take(size)) {
        failed = true;
        return {};
    }
    std::string value(reinterpret_cast<const char*>(cursor - size), size);
    for (const char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            failed = true;
            return {};
        }
    return value;
}
