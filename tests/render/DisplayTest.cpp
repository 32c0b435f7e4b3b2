#include "render/Image.h"
#include "support/GLReplay.h"

namespace {

using DisplayTest = glreplay::DisplayFixture;
using Args = std::vector<double>;
using Bytes = std::vector<std::uint8_t>;

} // namespace

// The constructor sets exactly these eight things; anything else (colour material,
// culling, another depth function) would change how every surface looks.
TEST(DisplayConstructionTest, MakesExactlyTheEightStateCalls) {
    fakegl::reset();
    TraceCapture streams;
    Display display;
    EXPECT_EQ(streams.out(), "Display::Display()\nend Display::Display()\n");
    EXPECT_EQ(fakegl::names(),
              (std::vector<std::string>{"glClearColor", "glEnable", "glShadeModel", "glEnable",
                                        "glHint", "glEnable", "glBlendFunc", "glClearDepth"}));
    EXPECT_EQ(fakegl::args(), (Args{0, 0, 0, 0, GL_DEPTH_TEST, GL_SMOOTH, GL_NORMALIZE,
                                    GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST, GL_BLEND,
                                    GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 1}));
}

// The projection is built by hand on identity, 90 degrees from 0.1 to 300; a
// height of 0 is drawn as one pixel but kept as 0.
TEST_F(DisplayTest, ResizeSetsTheViewportAndThePerspective) {
    for (const int height : {480, 0}) {
        SCOPED_TRACE(height);
        fakegl::reset();
        streams.clear();
        display->resize(640, height);
        EXPECT_EQ(streams.out(), "Display::resize(640, " + std::to_string(height) + ")\n");
        EXPECT_EQ(display->getHeight(), height);
        const double drawnHeight = height == 0 ? 1 : height;
        EXPECT_EQ(fakegl::names(),
                  (std::vector<std::string>{"glViewport", "glMatrixMode", "glLoadIdentity",
                                            "glMultMatrixf", "glMatrixMode", "glLoadIdentity"}));
        EXPECT_EQ(fakegl::args(), (Args{0, 0, 640, drawnHeight, GL_PROJECTION, GL_MODELVIEW}));
        const float expected[16] = {
            float(drawnHeight / 640), 0, 0, 0, 0, 1, 0, 0, 0, 0, 300.1f / -299.9f, -1, 0, 0,
            60.0f / -299.9f,          0};
        const std::vector<float>& m = fakegl::calls()[3].matrix;
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
// Pixels short of the size would be read past their end: refused.
TEST_F(DisplayTest, TexturesUploadTheirFormatAlignedOrAreRefused) {
    struct Case {
        const char* what;
        Image image;
        GLenum format; // 0: refused, no texture and no call
        bool byteAligned;
    };
    const Case cases[] = {
        {"alpha, odd rows", {3, 2, 8, Bytes(6)}, GL_ALPHA, true},
        {"rgba, rows of 12 bytes", {3, 2, 32, Bytes(24)}, GL_RGBA, false},
        {"odd rgb rows", {10, 3, 24, Bytes(90)}, GL_RGB, true},
        {"16 bits per pixel", {4, 4, 16, Bytes(32)}, 0, false},
        {"no pixels at all", {}, 0, false},
        {"one row short", {8, 8, 24, Bytes(168)}, 0, false},
        {"negative width", {-4, 4, 24, Bytes(48)}, 0, false},
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
        const std::size_t upload = fakegl::find("glTexImage2D");
        ASSERT_LT(upload, fakegl::calls().size());
        EXPECT_EQ(fakegl::args("glTexImage2D"),
                  (Args{GL_TEXTURE_2D, 0, double(c.format), double(c.image.width),
                        double(c.image.height), 0, double(c.format), GL_UNSIGNED_BYTE}));
        // Byte alignment for the upload alone: set before it, the default back after.
        const Args stores{GL_UNPACK_ALIGNMENT, 1, GL_UNPACK_ALIGNMENT, 4};
        EXPECT_EQ(fakegl::args("glPixelStorei"), c.byteAligned ? stores : Args{});
        if (c.byteAligned) {
            EXPECT_LT(fakegl::find("glPixelStorei"), upload);
            EXPECT_LT(fakegl::find("glPixelStorei", upload), fakegl::calls().size());
        }
    }
}
