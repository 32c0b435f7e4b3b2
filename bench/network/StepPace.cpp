#include "StepPace.h"
#include <algorithm>

bool keptStepPace(std::uint32_t stepsRun, double wallSeconds, double stepsPerSecond) {
    if (!(wallSeconds > 0.0) || !(stepsPerSecond > 0.0))
        return false;
    const double expected = wallSeconds * stepsPerSecond;
    const double slack = std::max(10.0, 0.03 * expected);
    return static_cast<double>(stepsRun) >= expected - slack;
}
