#include "render/TgaReader.h"
#include "render/Image.h"
#include "support/TempDir.h"
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The image type, the sides as little-endian 16-bit numbers, the bits per pixel
// and a top-left origin claimed (the reader does not look), then `data`.
std::string tga(int width, int height, int bits, const Bytes& data = {}, int type = 2) {
    const auto le16 = [](int v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    return std::string(2, '\0') + char(type) + std::string(9, '\0') + le16(width) + le16(height) +
           char(bits) + '\x28' + std::string(data.begin(), data.end());
}

} // namespace

// A short file loads with zeros for what it lacks. A refused one gets no
// pixels at all: 65535 x 65535 x 4 would be 17 GB for an 18-byte file.
TEST(TgaReader, PixelsAreSwappedToRgbInFileOrderOrRefusedBeforeAllocation) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string file;
        Bytes pixels; // none: refused
    };
    const Bytes data(64, 0x7f);
    const Case cases[] = {
        {"RGB",
         tga(2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
         {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
        {"RGBA", tga(1, 2, 32, {1, 2, 3, 4, 5, 6, 7, 8}), {3, 2, 1, 4, 7, 6, 5, 8}},
        {"short", tga(2, 1, 24, {1, 2, 3, 4}), {3, 2, 1, 0, 0, 4}},
        {"widest, no data", tga(maxImageSide, 1, 24), Bytes(3 * maxImageSide, 0)},
        {"too wide", tga(maxImageSide + 1, 1, 24), {}},
        {"huge", tga(65535, 65535, 32), {}},
        {"run-length", tga(2, 2, 24, data, 10), {}},
        {"16 bits", tga(2, 2, 16, data), {}},
        {"zero width", tga(0, 2, 24, data), {}},
        {"zero height", tga(2, 0, 32, data), {}},
        {"short header", tga(2, 2, 24).substr(0, 15), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        EXPECT_EQ(readTga(dir.write("picture.tga", c.file).c_str(), image), !c.pixels.empty());
        EXPECT_EQ(image.pixels, c.pixels);
        EXPECT_EQ(image.pixels.capacity() == 0, c.pixels.empty());
        if (!c.pixels.empty()) {
            EXPECT_EQ(image.bitsPerPixel * image.width * image.height, 8 * int(c.pixels.size()));
        }
    }
    Image image;
    EXPECT_FALSE(readTga(dir.path("missing.tga").c_str(), image));
}
