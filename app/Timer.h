#pragma once

// Wall-clock seconds from a monotonic millisecond counter.
class Timer {
public:
    Timer() : start(now()) {}

    static double now();
    void reset() { start = now(); }
    float elapsed() const { return static_cast<float>(now() - start); }

private:
    double start;
};
