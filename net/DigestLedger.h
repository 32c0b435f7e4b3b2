#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

// Compares this machine's world digests with those the others report, step by
// step. Either side may come first; what waits for its other half is bounded,
// oldest forgotten first, so a flood of digests costs a fixed amount of memory.
class DigestLedger {
public:
    static constexpr std::size_t keep = 256;

    void own(std::uint32_t step, std::uint64_t digest);
    void peer(std::uint8_t machine, std::uint32_t step, std::uint64_t digest);

    // The earliest step at which some machine's world differed from ours.
    std::optional<std::uint32_t> mismatch() const { return firstMismatch; }
    std::size_t compared() const { return comparisons; }

private:
    void compare(std::uint32_t step, std::uint64_t mine, std::uint64_t theirs);

    std::map<std::uint32_t, std::uint64_t> mine;
    std::map<std::pair<std::uint32_t, std::uint8_t>, std::uint64_t> theirs; // by step, machine
    std::optional<std::uint32_t> firstMismatch;
    std::size_t comparisons = 0;
};
