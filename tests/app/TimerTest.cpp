#include "app/Timer.h"
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

// Bounded by the clock read around the calls, so a loaded or sanitized run that
// is slow between two calls cannot fail it.
TEST(TimerTest, CountsWholeMillisecondsFromTheLastReset) {
    using Clock = std::chrono::steady_clock;
    Timer timer;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(timer.elapsed(), 0.029f);

    const Clock::time_point before = Clock::now();
    timer.reset();
    const float sinceReset = timer.elapsed();
    const double bound = std::chrono::duration<double>(Clock::now() - before).count() + 0.001;
    EXPECT_GE(sinceReset, 0.0f);
    EXPECT_LE(sinceReset, bound);

    const double milliseconds = Timer::now() * 1000.0;
    EXPECT_NEAR(milliseconds, std::round(milliseconds), 1e-3);
}
