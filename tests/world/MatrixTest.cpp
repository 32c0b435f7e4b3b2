#include "world/Matrix.h"
#include "support/CaptureStreams.h"
#include <gtest/gtest.h>

TEST(MatrixTest, ElementsStartAtZeroAndAreDistinct) {
    Matrix<int> m(64, 64);
    for (std::uint32_t y = 0; y < 64; ++y)
        for (std::uint32_t x = 0; x < 64; ++x)
            m.at(x, y) = static_cast<int>(y * 64 + x);
    EXPECT_EQ(m.at(3, 2), 131);
    EXPECT_EQ(m.at(2, 3), 194);
    EXPECT_EQ(m.at(63, 63), 4095);
    EXPECT_EQ(Matrix<int>(5, 7).at(4, 6), 0);
    EXPECT_EQ(m.width(), 64u);
    EXPECT_EQ(m.height(), 64u);
}

TEST(MatrixTest, LastElementIsSilentAndOnePastReportsAllFourNumbers) {
    Matrix<float> m(4, 3);
    CaptureStreams capture;
    m.at(3, 2) = 1.5f;
    EXPECT_EQ(capture.err(), "");
    m.at(4, 0);
    m.at(0, 3);
    EXPECT_EQ(capture.err(), "Referenced matrix out of bounds, you shmuck! (4 / 4, 0 / 3)\n"
                             "Referenced matrix out of bounds, you shmuck! (0 / 4, 3 / 3)\n");
    EXPECT_EQ(capture.out(), "");
}

TEST(MatrixTest, MinusOneArrivesAsAHugeUnsignedIndex) {
    Matrix<int> m(2, 2);
    CaptureStreams capture;
    const int column = -1;
    m.at(static_cast<std::uint32_t>(column), 1);
    EXPECT_EQ(capture.err(),
              "Referenced matrix out of bounds, you shmuck! (4294967295 / 2, 1 / 2)\n");
}

TEST(MatrixTest, OutOfRangeWritesNeverReachTheGrid) {
    Matrix<int> m(2, 2);
    CaptureStreams capture;
    m.at(2, 0) = 99;
    m.at(0, 5) = 98;
    for (std::uint32_t y = 0; y < 2; ++y)
        for (std::uint32_t x = 0; x < 2; ++x)
            EXPECT_EQ(m.at(x, y), 0);
    // The spare element is handed back fresh, not with the last stray write in it.
    EXPECT_EQ(m.at(9, 9), 0);
}

TEST(MatrixTest, CopiesAreIndependent) {
    Matrix<int> a(3, 3);
    a.at(1, 1) = 5;
    Matrix<int> b = a;
    b.at(1, 1) = 6;
    EXPECT_EQ(a.at(1, 1), 5);
    EXPECT_EQ(b.at(1, 1), 6);
}
