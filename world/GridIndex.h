#pragma once
#include <cstdint>

// A grid index from a position already scaled to grid units: truncated toward zero
// and clamped to 0..count - 1, so no float, not even a NaN, reaches a conversion
// that has no defined result. count must not be 0.
inline std::uint32_t clampedGridIndex(float f, std::uint32_t count) {
    if (!(f > 0.0f))
        return 0;
    if (f >= static_cast<float>(count - 1))
        return count - 1;
    return static_cast<std::uint32_t>(f);
}
