#include "app/KeyRepeat.h"
#include <gtest/gtest.h>
#include <vector>

// Repeats fall due half a second after the press and every 0.04 s after that,
// counted from the press whatever the frame times.
TEST(KeyRepeat, RepeatsFallDueFromThePressWhateverTheFrameTimes) {
    struct Case {
        const char* name;
        std::vector<float> frames;
        int repeats;
    };
    const Case cases[] = {
        {"within the pause", {0.25f, 0.2f}, 0},
        {"the first", {0.25f, 0.25f}, 1},
        {"one long frame", {0.62f}, 4}, // at 0.5, 0.54, 0.58 and 0.62
        {"many short frames", std::vector<float>(62, 0.01f), 4},
        {"short frames to the first", std::vector<float>(50, 0.01f), 1},
        {"no time", {0.0f, -1.0f}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyRepeat repeat;
        repeat.press('x');
        int total = 0;
        for (float dt : c.frames)
            total += repeat.advance(dt);
        EXPECT_EQ(total, c.repeats);
    }
}

// A newer press takes over; only its own release stops it.
TEST(KeyRepeat, OnlyTheTimedKeysReleaseStopsIt) {
    KeyRepeat repeat;
    repeat.press('a');
    repeat.press('b');
    repeat.release('a');
    EXPECT_EQ(repeat.advance(0.5f), 1);
    EXPECT_EQ(repeat.key(), 'b');
    repeat.release('b');
    EXPECT_EQ(repeat.advance(1.0f), 0);
}
