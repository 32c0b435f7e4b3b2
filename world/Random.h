#pragma once

// The hill generator's dice: the C library generator, seeded from the calendar
// time by the first Random made in the process, unless the program seeded it
// first (a replay must start from the seed its game had).
class Random {
public:
    Random();
    // Seeds the generator now; the next Random made does not seed it again.
    static void seed(unsigned value);
    // An integer from low to high - 1.
    int range(int low, int high);
};
