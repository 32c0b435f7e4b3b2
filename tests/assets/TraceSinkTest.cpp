#include "assets/TraceSink.h"
#include "support/CaptureStreams.h"
#include <gtest/gtest.h>

// Trace lines are an interface: each reaches its stream whole, with its newline,
// and numbers read as a stream writes them, six significant digits.
TEST(TraceSinkTest, LinesReachTheirStreamWhole) {
    CaptureStreams capture;
    TraceLine() << "damage(" << 29.935213f << ") health = " << 70 << ", " << int{true};
    ErrorLine() << "Unable to open file: " << "x.mesh";
    TraceLine() << "";
    EXPECT_EQ(capture.out(), "damage(29.9352) health = 70, 1\n\n");
    EXPECT_EQ(capture.err(), "Unable to open file: x.mesh\n");
}
