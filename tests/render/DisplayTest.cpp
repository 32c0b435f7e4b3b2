#include "render/Display.h"
#include "GLReplay.h"
#include "assets/Image.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { fakegl::reset(); }
};

Image rgbImage(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    image.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0x80);
    return image;
}

} // namespace

// The constructor sets exactly these eight things; anything else (colour material,
// culling, another depth function) would change how every surface looks.
TEST_F(DisplayTest, ConstructionMakesExactlyTheEightStateCalls) {
    CaptureStreams streams;
    Display display;
    EXPECT_EQ(streams.out(), "Display::Display()\nend Display::Display()\n");
    struct Expected {
        const char* name;
        std::vector<double> args;
    };
    const std::vector<Expected> expected = {
        {"glClearColor", {0, 0, 0, 0}},
        {"glEnable", {GL_DEPTH_TEST}},
        {"glShadeModel", {GL_SMOOTH}},
        {"glEnable", {GL_NORMALIZE}},
        {"glHint", {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}},
        {"glEnable", {GL_BLEND}},
        {"glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}},
        {"glClearDepth", {1.0}},
    };
    const std::vector<fakegl::Call>& calls = fakegl::calls();
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t n = 0; n < expected.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(calls[n].name, expected[n].name);
        EXPECT_EQ(calls[n].args, expected[n].args);
    }
}

TEST_F(DisplayTest, ResizeSetsViewportAndBuildsThePerspectiveByHand) {
    CaptureStreams streams;
    Display display;
    fakegl::reset();
    streams.clear();
    display.resize(640, 480);
    EXPECT_EQ(streams.out(), "Display::resize(640, 480)\n");
    EXPECT_EQ(display.getWidth(), 640);
    EXPECT_EQ(display.getHeight(), 480);

    const auto viewports = fakegl::callsNamed("glViewport");
    ASSERT_EQ(viewports.size(), 1u);
    EXPECT_EQ(viewports[0].args, (std::vector<double>{0, 0, 640, 480}));

    // The projection is built on identity and the modelview left selected and reset.
    const std::vector<std::string> expectedNames = {"glViewport",     "glMatrixMode",
                                                    "glLoadIdentity", "glMultMatrixf",
                                                    "glMatrixMode",   "glLoadIdentity"};
    EXPECT_EQ(fakegl::names(), expectedNames);
    const auto modes = fakegl::callsNamed("glMatrixMode");
    EXPECT_EQ(modes[0].args[0], GL_PROJECTION);
    EXPECT_EQ(modes[1].args[0], GL_MODELVIEW);

    const std::vector<float> m = fakegl::callsNamed("glMultMatrixf")[0].data;
    ASSERT_EQ(m.size(), 16u);
    EXPECT_FLOAT_EQ(m[0], 0.75f); // f = 1 for 90 degrees, over the aspect 4/3
    EXPECT_FLOAT_EQ(m[5], 1.0f);
    EXPECT_FLOAT_EQ(m[10], 300.1f / -299.9f);
    EXPECT_FLOAT_EQ(m[11], -1.0f);
    EXPECT_FLOAT_EQ(m[14], 60.0f / -299.9f);
    EXPECT_EQ(m[15], 0.0f);
    for (int n : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13})
        EXPECT_EQ(m[n], 0.0f) << "element " << n;
}

TEST_F(DisplayTest, ResizeToZeroHeightUsesOnePixelButKeepsZero) {
    CaptureStreams streams;
    Display display;
    fakegl::reset();
    streams.clear();
    display.resize(800, 0);
    EXPECT_EQ(streams.out(), "Display::resize(800, 0)\n");
    EXPECT_EQ(fakegl::callsNamed("glViewport")[0].args, (std::vector<double>{0, 0, 800, 1}));
    EXPECT_FLOAT_EQ(fakegl::callsNamed("glMultMatrixf")[0].data[0], 1.0f / 800.0f);
    EXPECT_EQ(display.getHeight(), 0);
    EXPECT_EQ(display.getWidth(), 800);
}

TEST_F(DisplayTest, CameraMapsWorldPointsIntoEyeSpace) {
    CaptureStreams streams;
    Display display;
    struct Case {
        const char* what;
        Vector3 position, rotation;
        glreplay::Point world, eye;
    };
    const Case cases[] = {
        {"start position, one unit ahead", {50, 25, 100}, {0, 0, 0}, {50, 25, 99}, {0, 0, -1}},
        {"yaw 90 looks along +x", {0, 0, 0}, {0, 90, 0}, {1, 0, 0}, {0, 0, -1}},
        {"pitch 90 looks down", {0, 10, 0}, {90, 0, 0}, {0, 0, 0}, {0, 0, -10}},
        {"pitch turns the yawed view", {0, 0, 0}, {90, 90, 0}, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        display.setCamera(c.position, c.rotation);
        const glreplay::Point eye = glreplay::apply(glreplay::modelview(), c.world);
        EXPECT_NEAR(eye.x, c.eye.x, 1e-5);
        EXPECT_NEAR(eye.y, c.eye.y, 1e-5);
        EXPECT_NEAR(eye.z, c.eye.z, 1e-5);
    }
}

TEST_F(DisplayTest, DestructionDeletesTheRemainingTexturesInCreationOrder) {
    CaptureStreams streams;
    {
        Display display;
        const Image image = rgbImage(4, 4);
        const std::uint32_t first = display.createTexture(image);
        const std::uint32_t second = display.createTexture(image);
        const std::uint32_t third = display.createTexture(image);
        display.deleteTexture(second);
        EXPECT_EQ(display.textureNames(), (std::list<std::uint32_t>{first, third}));
        fakegl::reset();
    }
    const auto deletions = fakegl::callsNamed("glDeleteTextures");
    ASSERT_EQ(deletions.size(), 2u);
    EXPECT_EQ(deletions[0].args, (std::vector<double>{1, 1}));
    EXPECT_EQ(deletions[1].args, (std::vector<double>{1, 3}));
}
