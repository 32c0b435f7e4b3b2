#pragma once

// The hill generator's dice: the C library generator, seeded from the calendar
// time by the first Random made in the process.
class Random {
public:
    Random();
    // An integer from low to high - 1.
    int range(int low, int high);
};
