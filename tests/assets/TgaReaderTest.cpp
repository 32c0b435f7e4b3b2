#include "assets/TgaReader.h"

#include "assets/Image.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string header(int width, int height, int bits, int type = 2, int idLength = 0) {
    std::string h(18, '\0');
    h[0] = static_cast<char>(idLength);
    h[2] = static_cast<char>(type);
    h[12] = static_cast<char>(width & 0xFF);
    h[13] = static_cast<char>(width >> 8);
    h[14] = static_cast<char>(height & 0xFF);
    h[15] = static_cast<char>(height >> 8);
    h[16] = static_cast<char>(bits);
    h[17] = 0x28; // top-left origin claimed: the reader does not look
    return h;
}

std::string bytes(const Bytes& values) {
    return std::string(values.begin(), values.end());
}

} // namespace

TEST(TgaReader, PixelsAreSwappedToRgbAndRowsKeepFileOrder) {
    TempDir dir;
    Image image;
    const std::string rgb =
        dir.write("rgb.tga", header(2, 2, 24) + bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_TRUE(readTga(rgb.c_str(), image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.bitsPerPixel, 24);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));

    const std::string rgba =
        dir.write("rgba.tga", header(1, 2, 32) + bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(readTga(rgba.c_str(), image));
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
}

TEST(TgaReader, OtherKindsAndBrokenHeadersAreRefused) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string text;
    };
    const std::string data(64, '\x7f');
    const Case cases[] = {
        {"run-length", header(2, 2, 24, 10) + data},
        {"identification field", header(2, 2, 24, 2, 1) + data},
        {"16 bits", header(2, 2, 16) + data},
        {"zero width", header(0, 2, 24) + data},
        {"zero height", header(2, 0, 32) + data},
        {"short header", header(2, 2, 24).substr(0, 15)},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        EXPECT_FALSE(readTga(dir.write("picture.tga", c.text).c_str(), image));
        EXPECT_TRUE(image.pixels.empty());
    }
    Image image;
    EXPECT_FALSE(readTga(dir.path("missing.tga").c_str(), image));
}

TEST(TgaReader, ShortDataLoadsWithZerosEvenOverAnEarlierPicture) {
    TempDir dir;
    Image image;
    const std::string full = dir.write("full.tga", header(2, 1, 24) + bytes({9, 9, 9, 9, 9, 9}));
    ASSERT_TRUE(readTga(full.c_str(), image));
    const std::string shortFile = dir.write("short.tga", header(2, 1, 24) + bytes({1, 2, 3, 4}));
    ASSERT_TRUE(readTga(shortFile.c_str(), image));
    EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 0, 0, 4}));
}

// 65535 x 65535 x 4 would be 17 GB for an 18-byte file; the header's fields
// still tell what was claimed.
TEST(TgaReader, SidesBeyondTheLimitAreRefusedBeforeAllocation) {
    TempDir dir;
    Image image;
    EXPECT_FALSE(readTga(dir.write("huge.tga", header(65535, 65535, 32)).c_str(), image));
    EXPECT_EQ(image.width, 65535);
    EXPECT_EQ(image.bitsPerPixel, 32);
    EXPECT_EQ(image.pixels.capacity(), 0u);
    EXPECT_FALSE(readTga(dir.write("wide.tga", header(maxImageSide + 1, 1, 24)).c_str(), image));

    ASSERT_TRUE(readTga(dir.write("edge.tga", header(maxImageSide, 1, 24)).c_str(), image));
    EXPECT_EQ(image.pixels, Bytes(3 * maxImageSide, 0));
}
