#include "app/Timer.h"
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

TEST(TimerTest, ElapsedIsZeroRightAfterReset) {
    Timer timer;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.reset();
    // Whole-millisecond ticks: unless a tick boundary falls in between, exactly 0.
    EXPECT_LE(timer.elapsed(), 0.002f);
    EXPECT_GE(timer.elapsed(), 0.0f);
}

TEST(TimerTest, CountsSecondsInWholeMilliseconds) {
    const double t = Timer::now();
    EXPECT_DOUBLE_EQ(t * 1000.0, static_cast<double>(static_cast<long long>(t * 1000.0 + 0.5)));
    Timer timer;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(timer.elapsed(), 0.029f);
    EXPECT_LT(timer.elapsed(), 5.0f);
}

TEST(TimerTest, NeverRunsBackwards) {
    double previous = Timer::now();
    for (int i = 0; i < 1000; ++i) {
        const double t = Timer::now();
        ASSERT_GE(t, previous);
        previous = t;
    }
}
