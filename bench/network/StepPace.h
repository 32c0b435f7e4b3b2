#pragma once
#include <cstdint>

// Whether a machine's physics kept up with the wall clock: a networked game
// runs 100 steps a second when every machine keeps its pace. The lockstep lets
// a machine run only as far as the others have promised (every 50 ms), so its
// count at either end of a window may be a few steps short; 3 % is allowed,
// or 10 steps over a short window.
bool keptStepPace(std::uint32_t stepsRun, double wallSeconds, double stepsPerSecond = 100.0);
