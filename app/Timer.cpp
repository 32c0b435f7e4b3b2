#include "app/Timer.h"
#include <chrono>
#include <cstdint>

// Whole milliseconds of a monotonic clock, so wall-clock changes never make time
// run backwards, and a 64-bit count never wraps.
double Timer::now() {
    using namespace std::chrono;
    const std::int64_t ms =
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<double>(ms) / 1000.0;
}
