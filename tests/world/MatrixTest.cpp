#include "world/Matrix.h"
#include "support/TraceCapture.h"
#include <gtest/gtest.h>

TEST(MatrixTest, OutOfBoundsIsReportedWithAllFourNumbersAndNeverReachesTheGrid) {
    Matrix<int> m(4, 3);
    TraceCapture capture;
    m.at(3, 2) = 7; // the last element
    EXPECT_EQ(capture.err(), "");
    m.at(4, 0) = 99;
    m.at(0, 3) = 98;
    m.at(static_cast<std::uint32_t>(-1), 1) = 97; // a column of -1
    EXPECT_EQ(capture.err(),
              "Referenced matrix out of bounds, you shmuck! (4 / 4, 0 / 3)\n"
              "Referenced matrix out of bounds, you shmuck! (0 / 4, 3 / 3)\n"
              "Referenced matrix out of bounds, you shmuck! (4294967295 / 4, 1 / 3)\n");
    int sum = 0;
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 4; ++x)
            sum += m.at(x, y);
    EXPECT_EQ(sum, 7);
    // The spare element is handed back fresh, not with the last stray write in it.
    EXPECT_EQ(m.at(9, 9), 0);
}
