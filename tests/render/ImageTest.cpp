#include "render/Image.h"

#include "support/TempDir.h"
#include "support/CaptureStreams.h"

#include <gtest/gtest.h>

#include <string>

// The content is one red pixel as a TGA: only the TGA names load it, the PNG
// names reach the PNG reader, which finds no signature.
TEST(Image, ExtensionChoosesTheReaderCaseSensitively) {
    TempDir dir;
    const std::string redPixel("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\0\0\xff", 21);
    const std::vector<std::uint8_t> red = {255, 0, 0};
    struct Case {
        std::string name;
        bool loaded;
        bool unknownLine;
    };
    const Case cases[] = {
        {"red.tga", true, false},  {"red.TGA", true, false}, {"red.png", false, false},
        {"red.PNG", false, false}, {"red.Tga", false, true}, {"red.Png", false, true},
        {"red.bmp", false, true},  {"redtga", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write(c.name, redPixel);
        Image image;
        CaptureStreams capture;
        EXPECT_EQ(loadImage(path.c_str(), image), c.loaded);
        EXPECT_EQ(capture.out(), c.unknownLine ? "Unknown image type (\"" + path + "\").\n" : "");
        EXPECT_EQ(image.pixels, c.loaded ? red : std::vector<std::uint8_t>());
    }
    // Names too short for an extension fail silently, and are not opened.
    for (const char* name : {"", "a", ".pn", "tga"}) {
        SCOPED_TRACE(name);
        Image image;
        CaptureStreams capture;
        EXPECT_FALSE(loadImage(name, image));
        EXPECT_EQ(capture.out() + capture.err(), "");
    }
}
