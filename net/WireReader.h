#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Reads what a WireWriter wrote from bytes it does not trust. A read past the
// end, or a text longer than its cap or holding a control byte, yields a zero
// or an empty text and marks the reader failed; every later read fails too, so
// a decoder may read a whole message and check once at the end.
class WireReader {
public:
    WireReader(const std::uint8_t* data, std::size_t size) : cursor(data), end(data + size) {}

    std::uint8_t u8();
    std::uint32_t u32();
    std::uint64_t u64();
    float f32(); // fails on an infinity or a NaN: no game value is either
    std::string text(std::size_t maxBytes);
    // For a value read well but out of the protocol's range.
    void fail() { failed = true; }

    bool ok() const { return !failed; }
    // Failed by reading past the end, rather than by a value it refused.
    bool overran() const { return ranOut; }
    std::size_t remaining() const { return failed ? 0 : static_cast<std::size_t>(end - cursor); }

private:
    bool take(std::size_t count);

    const std::uint8_t* cursor;
    const std::uint8_t* end;
    bool failed = false;
    bool ranOut = false;
};
