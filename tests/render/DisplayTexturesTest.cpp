#include "assets/Image.h"
#include "render/Display.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include <GL/gl.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DisplayTexturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        display = std::make_unique<Display>();
        fakegl::reset();
    }
    CaptureStreams streams;
    std::unique_ptr<Display> display;
};

Image makeImage(int width, int height, int bitsPerPixel) {
    Image image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bitsPerPixel;
    image.pixels.assign(static_cast<std::size_t>(width) * height * (bitsPerPixel / 8), 7);
    return image;
}

} // namespace

TEST_F(DisplayTexturesTest, FormatFollowsBitsPerPixel) {
    struct Case {
        int bits;
        GLenum format;
    };
    for (const Case c : {Case{8, GL_ALPHA}, Case{24, GL_RGB}, Case{32, GL_RGBA}}) {
        SCOPED_TRACE(c.bits);
        fakegl::reset();
        const Image image = makeImage(4, 2, c.bits);
        const std::uint32_t name = display->createTexture(image);
        EXPECT_NE(name, 0u);
        const auto uploads = fakegl::callsNamed("glTexImage2D");
        ASSERT_EQ(uploads.size(), 1u);
        EXPECT_EQ(uploads[0].args, (std::vector<double>{GL_TEXTURE_2D, 0, double(c.format), 4, 2, 0,
                                                        double(c.format), GL_UNSIGNED_BYTE}));
        EXPECT_EQ(uploads[0].pointer, image.pixels.data());
        // Bound for the upload and left bound afterwards.
        EXPECT_EQ(fakegl::boundTexture(), name);
        EXPECT_EQ(display->textureNames().back(), name);
    }
    EXPECT_EQ(display->textureNames().size(), 3u);
}

TEST_F(DisplayTexturesTest, RefusedImagesMakeNoTexture) {
    Image shortPixels = makeImage(8, 8, 24);
    shortPixels.pixels.resize(8 * 7 * 3); // one row missing
    const struct {
        const char* what;
        Image image;
    } cases[] = {
        {"16 bits per pixel", makeImage(4, 4, 16)},
        {"no pixels at all", Image{}},
        {"pixels shorter than the size", shortPixels},
        {"negative width",
         [] {
             Image i = makeImage(4, 4, 24);
             i.width = -4;
             return i;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fakegl::reset();
        EXPECT_EQ(display->createTexture(c.image), 0u);
        EXPECT_TRUE(fakegl::calls().empty());
    }
    EXPECT_TRUE(display->textureNames().empty());
}

// A 10-pixel RGB row is 30 bytes: with OpenGL's default alignment of 4 every row
// after the first would be read two bytes late.
TEST_F(DisplayTexturesTest, PackedRowsUploadWithByteAlignment) {
    struct Case {
        int width, bits;
        bool realigned;
    };
    for (const Case c : {Case{10, 24, true}, Case{3, 8, true}, Case{4, 24, false},
                         Case{3, 32, false}, Case{8, 8, false}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.bits);
        fakegl::reset();
        display->createTexture(makeImage(c.width, 3, c.bits));
        const std::vector<std::string> names = fakegl::names();
        const auto upload = std::find(names.begin(), names.end(), "glTexImage2D");
        ASSERT_NE(upload, names.end());
        const auto stores = fakegl::callsNamed("glPixelStorei");
        if (!c.realigned) {
            EXPECT_TRUE(stores.empty());
            continue;
        }
        ASSERT_EQ(stores.size(), 2u);
        EXPECT_EQ(stores[0].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
        EXPECT_EQ(stores[1].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 4}));
        EXPECT_EQ(*(upload - 1), "glPixelStorei");
        EXPECT_EQ(*(upload + 1), "glPixelStorei");
    }
}

TEST_F(DisplayTexturesTest, BindingZeroKeepsTexturingOn) {
    const std::uint32_t name = display->createTexture(makeImage(2, 2, 24));
    display->bindTexture(name);
    EXPECT_TRUE(fakegl::isEnabled(GL_TEXTURE_2D));
    display->bindTexture(0);
    EXPECT_TRUE(fakegl::isEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(fakegl::boundTexture(), 0u);
}
