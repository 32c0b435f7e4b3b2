#include "app/KeyRepeat.h"
#include <cmath>

void KeyRepeat::press(unsigned char key) {
    heldKey = key;
    holding = true;
    heldSeconds = 0.0f;
    repeatsSent = 0;
}

void KeyRepeat::release(unsigned char key) {
    if (holding && key == heldKey)
        holding = false;
}

int KeyRepeat::advance(float dtSeconds) {
    if (!holding || !(dtSeconds > 0.0f))
        return 0;
    heldSeconds += dtSeconds;
    // Counted from the press, so the rate does not drift with the frame time. The
    // thousandth of an interval lets frame times that reach a due time on paper
    // reach it in float arithmetic too.
    const float intervals = (heldSeconds - delaySeconds) / intervalSeconds + 0.001f;
    if (intervals < 0.0f)
        return 0;
    const int due = 1 + static_cast<int>(std::floor(intervals));
    const int fresh = due - repeatsSent;
    repeatsSent = due;
    return fresh;
}
