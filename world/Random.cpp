#include "world/Random.h"
#include <cstdlib>
#include <ctime>

namespace {
// Seeding again would repeat the same terrain for two generations in one second.
bool seeded = false;

// The hill dice were made for a generator of 15 bits (0 to 32767). Ours may give
// up to RAND_MAX (2^31 - 1 with glibc), so keep its top 15 bits.
int draw15() {
    return static_cast<int>(std::rand() / (RAND_MAX + 1.0) * 32768.0);
}
} // namespace

Random::Random() {
    if (!seeded)
        seed(static_cast<unsigned>(std::time(nullptr)));
}

void Random::seed(unsigned value) {
    std::srand(value);
    seeded = true;
}

int Random::range(int low, int high) {
    return static_cast<int>(draw15() / 32768.0 * (high - low) + low);
}
