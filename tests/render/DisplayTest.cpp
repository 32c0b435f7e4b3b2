#include "support/GLReplay.h"
#include "render/Image.h"
#include "support/TempDir.h"
#include <png.h>

namespace {

using DisplayTest = glreplay::DisplayFixture;
using Args = std::vector<double>;

Image makeImage(int width, int height, int bitsPerPixel, std::size_t missingBytes = 0) {
    Image image{width, height, bitsPerPixel, {}};
    image.pixels.assign(std::size_t(std::abs(width)) * height * (bitsPerPixel / 8) - missingBytes,
                        7);
    return image;
}

} // namespace

// The constructor sets exactly these eight things; anything else (colour material,
// culling, another depth function) would change how every surface looks.
TEST(DisplayConstructionTest, MakesExactlyTheEightStateCalls) {
    fakegl::reset();
    CaptureStreams streams;
    Display display;
    EXPECT_EQ(streams.out(), "Display::Display()\nend Display::Display()\n");
    EXPECT_EQ(fakegl::names(),
              (std::vector<std::string>{"glClearColor", "glEnable", "glShadeModel", "glEnable",
                                        "glHint", "glEnable", "glBlendFunc", "glClearDepth"}));
    EXPECT_EQ(glreplay::args(), (Args{0, 0, 0, 0, GL_DEPTH_TEST, GL_SMOOTH, GL_NORMALIZE,
                                      GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST, GL_BLEND,
                                      GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 1}));
}

// The projection is built by hand on identity; a height of 0 is drawn as one
// pixel but kept as 0. Near 0.1, far 300: elements 10 and 14 are fixed by them.
TEST_F(DisplayTest, ResizeSetsTheViewportAndThePerspective) {
    struct Case {
        int width, height;
        const char* trace;
        double viewportHeight;
        float m0; // f = 1 for 90 degrees, over the aspect
    };
    for (const Case& c : {Case{640, 480, "Display::resize(640, 480)\n", 480, 0.75f},
                          Case{800, 0, "Display::resize(800, 0)\n", 1, 1.0f / 800.0f}}) {
        SCOPED_TRACE(c.trace);
        fakegl::reset();
        streams.clear();
        display->resize(c.width, c.height);
        EXPECT_EQ(streams.out(), c.trace);
        EXPECT_EQ(display->getWidth(), c.width);
        EXPECT_EQ(display->getHeight(), c.height);
        EXPECT_EQ(fakegl::names(),
                  (std::vector<std::string>{"glViewport", "glMatrixMode", "glLoadIdentity",
                                            "glMultMatrixf", "glMatrixMode", "glLoadIdentity"}));
        EXPECT_EQ(glreplay::args("glViewport"), (Args{0, 0, double(c.width), c.viewportHeight}));
        EXPECT_EQ(glreplay::args("glMatrixMode"), (Args{GL_PROJECTION, GL_MODELVIEW}));
        const float expected[16] = {
            c.m0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 300.1f / -299.9f, -1, 0, 0, 60.0f / -299.9f, 0};
        const std::vector<float>& m = fakegl::calls()[3].data;
        ASSERT_EQ(m.size(), 16u);
        for (int n = 0; n < 16; ++n)
            EXPECT_FLOAT_EQ(m[n], expected[n]) << "element " << n;
    }
}

TEST_F(DisplayTest, CameraMapsWorldPointsIntoEyeSpace) {
    struct Case {
        const char* what;
        Vector3 position, rotation;
        glreplay::Point world, eye;
    };
    const Case cases[] = {
        {"start position, one unit ahead", {50, 25, 100}, {0, 0, 0}, {50, 25, 99}, {0, 0, -1}},
        {"yaw 90 looks along +x", {0, 0, 0}, {0, 90, 0}, {1, 0, 0}, {0, 0, -1}},
        {"pitch turns the yawed view", {0, 0, 0}, {90, 90, 0}, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        display->setCamera(c.position, c.rotation);
        EXPECT_NEAR(glreplay::distance(glreplay::transform(c.world), c.eye), 0, 1e-5);
    }
}

// A 10-pixel RGB row is 30 bytes: with OpenGL's default alignment of 4 every row
// after the first would be read two bytes late, so such uploads go byte-aligned.
TEST_F(DisplayTest, TexturesUploadTheirFormatAlignedOrAreRefused) {
    struct Case {
        const char* what;
        Image image;
        GLenum format; // 0: refused, no texture and no call
        bool byteAligned;
    };
    Image negative = makeImage(4, 4, 24);
    negative.width = -4;
    const Case cases[] = {
        {"alpha, odd rows", makeImage(3, 2, 8), GL_ALPHA, true},
        {"rgba, rows of 12 bytes", makeImage(3, 2, 32), GL_RGBA, false},
        {"odd rgb rows", makeImage(10, 3, 24), GL_RGB, true},
        {"16 bits per pixel", makeImage(4, 4, 16), 0, false},
        {"no pixels at all", Image{}, 0, false},
        {"one row short", makeImage(8, 8, 24, 24), 0, false},
        {"negative width", negative, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        const std::uint32_t name = display->createTexture(c.image);
        EXPECT_EQ(name != 0, c.format != 0);
        if (c.format == 0) {
            EXPECT_TRUE(fakegl::calls().empty());
            continue;
        }
        EXPECT_EQ(fakegl::boundTexture(), name); // and left bound
        const std::size_t upload = glreplay::find("glTexImage2D");
        ASSERT_LT(upload, fakegl::calls().size());
        EXPECT_EQ(fakegl::calls()[upload].pointer, c.image.pixels.data());
        EXPECT_EQ(glreplay::args("glTexImage2D"),
                  (Args{GL_TEXTURE_2D, 0, double(c.format), double(c.image.width),
                        double(c.image.height), 0, double(c.format), GL_UNSIGNED_BYTE}));
        // Byte alignment for the upload alone, the default back right after it.
        const Args stores{GL_UNPACK_ALIGNMENT, 1, GL_UNPACK_ALIGNMENT, 4};
        EXPECT_EQ(glreplay::args("glPixelStorei"), c.byteAligned ? stores : Args{});
        if (c.byteAligned) {
            EXPECT_EQ(glreplay::find("glPixelStorei", upload), upload + 1);
        }
    }
}

// The weapons' way to a texture: whether the file was read, and a texture of
// what was read; nothing usable gives name 0 and no texture at all.
TEST_F(DisplayTest, ATextureFromAFileSaysWhetherTheFileWasRead) {
    TempDir dir;
    png_image picture{};
    picture.version = PNG_IMAGE_VERSION;
    picture.width = picture.height = 2;
    picture.format = PNG_FORMAT_RGB;
    const png_byte pixels[12] = {};
    const std::string good = dir.path("good.png");
    ASSERT_NE(png_image_write_to_file(&picture, good.c_str(), 0, pixels, 0, nullptr), 0);
    const std::string bad = dir.write("bad.png", "not a picture");

    CaptureStreams quiet;
    const MadeTexture made = display->makeTexture(good.c_str());
    EXPECT_TRUE(made.fileRead);
    EXPECT_EQ(made.name, display->textureNames().back());
    for (const std::string& file : {bad, dir.path("missing.png"), std::string("x.gif")}) {
        SCOPED_TRACE(file);
        const MadeTexture none = display->makeTexture(file.c_str());
        EXPECT_FALSE(none.fileRead);
        EXPECT_EQ(none.name, 0u);
    }
    EXPECT_EQ(display->textureNames().size(), 1u);
}

TEST_F(DisplayTest, DestructionDeletesTheRemainingTexturesInCreationOrder) {
    const Image image = makeImage(4, 4, 24);
    const std::uint32_t first = display->createTexture(image);
    const std::uint32_t second = display->createTexture(image);
    const std::uint32_t third = display->createTexture(image);
    display->deleteTexture(second);
    EXPECT_EQ(display->textureNames(), (std::list<std::uint32_t>{first, third}));
    fakegl::reset();
    display.reset();
    EXPECT_EQ(glreplay::args("glDeleteTextures"), (Args{1, double(first), 1, double(third)}));
}
