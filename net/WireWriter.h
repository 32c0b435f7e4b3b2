#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Appends values in the protocol's byte order: little-endian, fixed sizes,
// floats as their exact bits, texts as a length byte and the bytes.
class WireWriter {
public:
    void u8(std::uint8_t value) { bytes.push_back(value); }
    void u32(std::uint32_t value);
    void u64(std::uint64_t value);
    void f32(float value);
    // The caller keeps texts within 255 bytes (the protocol's caps are lower).
    void text(const std::string& value);

    const std::vector<std::uint8_t>& data() const { return bytes; }
    std::vector<std::uint8_t> take() { return std::move(bytes); }

private:
    std::vector<std::uint8_t> bytes;
};
