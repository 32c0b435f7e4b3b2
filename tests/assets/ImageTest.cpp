#include "assets/Image.h"

#include "TempDir.h"
#include "support/CaptureStreams.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One red RGB pixel, as a TGA, stored under every name the tests try.
std::string redPixelTga() {
    std::string file(18, '\0');
    file[2] = 2;
    file[12] = 1;
    file[14] = 1;
    file[16] = 24;
    return file + std::string("\x00\x00\xff", 3);
}

} // namespace

TEST(Image, ExtensionChoosesTheReaderCaseSensitively) {
    TempDir dir;
    struct Case {
        const char* name;
        bool loaded;
        bool unknownLine;
    };
    // The content is a TGA: only the TGA names load it, the PNG names reach the
    // PNG reader, which finds no signature.
    const Case cases[] = {
        {"red.tga", true, false},  {"red.TGA", true, false}, {"red.png", false, false},
        {"red.PNG", false, false}, {"red.Tga", false, true}, {"red.Png", false, true},
        {"red.bmp", false, true},  {"redtga", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write(c.name, redPixelTga());
        Image image;
        CaptureStreams capture;
        EXPECT_EQ(loadImage(path.c_str(), image), c.loaded);
        EXPECT_EQ(capture.out(), c.unknownLine ? "Unknown image type (\"" + path + "\").\n" : "");
        EXPECT_EQ(capture.err(), "");
        if (c.loaded) {
            EXPECT_EQ(image.pixels, (std::vector<std::uint8_t>{255, 0, 0}));
        }
    }
}

TEST(Image, NamesShorterThanFourCharactersFailSilently) {
    for (const char* name : {"", "a", ".pn", "tga"}) {
        SCOPED_TRACE(name);
        Image image;
        CaptureStreams capture;
        EXPECT_FALSE(loadImage(name, image));
        EXPECT_EQ(capture.out(), "");
    }
}
