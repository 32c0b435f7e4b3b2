#include "app/Timer.h"
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

TEST(TimerTest, CountsSecondsAndIsZeroRightAfterReset) {
    Timer timer;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(timer.elapsed(), 0.029f);
    EXPECT_LT(timer.elapsed(), 5.0f);
    timer.reset();
    // Whole-millisecond ticks: unless a tick boundary falls in between, exactly 0.
    EXPECT_LE(timer.elapsed(), 0.002f);
    EXPECT_GE(timer.elapsed(), 0.0f);
}
