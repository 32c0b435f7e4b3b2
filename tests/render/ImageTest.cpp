#include "render/Image.h"
#include "support/TempDir.h"
#include "support/TraceCapture.h"
#include <gtest/gtest.h>

// The content is one red pixel as a TGA: only the TGA names load it, the PNG
// names reach the PNG reader, which finds no signature; other names get a line.
// Names too short for an extension fail silently, and are not opened.
TEST(Image, ExtensionChoosesTheReaderCaseSensitively) {
    TempDir dir;
    const std::string redPixel("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\0\0\xff", 21);
    const std::pair<const char*, int> cases[] = {{"red.tga", 1},  {"red.TGA", 1},  {"red.png", 0},
                                                 {"red.PNG", 0},  {"red.Tga", -1}, {"red.Png", -1},
                                                 {"red.bmp", -1}, {"redtga", -1},  {"", 0},
                                                 {".pn", 0},      {"tga", 0}};
    for (const auto& [name, result] : cases) {
        SCOPED_TRACE(name);
        const std::string path = std::string(name).size() < 4 ? name : dir.write(name, redPixel);
        Image image;
        TraceCapture capture;
        EXPECT_EQ(loadImage(path.c_str(), image), result == 1);
        EXPECT_EQ(capture.out() + capture.err(),
                  result < 0 ? "Unknown image type (\"" + path + "\").\n" : "");
        const std::vector<std::uint8_t> red{255, 0, 0};
        EXPECT_EQ(image.pixels, result == 1 ? red : std::vector<std::uint8_t>{});
    }
}
