#include "net/WireWriter.h"
#include <cassert>
#include <cstring>

void WireWriter::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void WireWriter::u64(std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The bits, not a printed value: every machine must apply the same float.
void WireWriter::f32(float value) {
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value, "floats are 32 bits");
    std::memcpy(&bits, &value, sizeof bits);
    u32(bits);
}

void WireWriter::text(const std::string& value) {
    assert(value.size() <= 255 && "a text longer than its length byte");
    const std::size_t size = value.size() <= 255 ? value.size() : 255;
    u8(static_cast<std::uint8_t>(size));
    bytes.insert(bytes.end(), value.begin(), value.begin() + static_cast<std::ptrdiff_t>(size));
}
