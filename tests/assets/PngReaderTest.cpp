#include "assets/PngReader.h"

#include "assets/Image.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PngSpec {
    int width;
    int height;
    int colorType;
    int bitDepth;
    std::vector<Bytes> rows; // top row first, packed as PNG stores them
    bool interlaced = false;
    bool headerOnly = false; // signature and IHDR, no image data
};

// Writes with libpng's own encoder, so the reader meets real files.
bool writePng(const std::string& path, const PngSpec& spec) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2] = {{0, 0, 0}, {255, 255, 255}};
    if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette, 2);
    }
    png_write_info(png, info);
    if (!spec.headerOnly) {
        std::vector<Bytes> rows = spec.rows;
        std::vector<png_bytep> pointers;
        for (Bytes& row : rows) {
            pointers.push_back(row.data());
        }
        png_write_image(png, pointers.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

struct Read {
    bool result;
    Image image;
};

Read readSpec(const TempDir& dir, const PngSpec& spec) {
    const std::string path = dir.path("picture.png");
    EXPECT_TRUE(writePng(path, spec));
    Read read{false, Image()};
    read.result = readPng(path.c_str(), read.image);
    return read;
}

} // namespace

TEST(PngReader, RgbRowsAreStoredBottomFirst) {
    TempDir dir;
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced);
        const Read r = readSpec(dir, {2,
                                      2,
                                      PNG_COLOR_TYPE_RGB,
                                      8,
                                      {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}},
                                      interlaced});
        ASSERT_TRUE(r.result);
        EXPECT_EQ(r.image.width, 2);
        EXPECT_EQ(r.image.height, 2);
        EXPECT_EQ(r.image.bitsPerPixel, 24);
        EXPECT_EQ(r.image.pixels, (Bytes{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));
    }
}

TEST(PngReader, DepthsBecomeEightBitsPerChannel) {
    TempDir dir;
    struct Case {
        const char* name;
        PngSpec spec;
        int bitsPerPixel;
        Bytes pixels;
    };
    const Case cases[] = {
        // 16 bits keep their high byte: 0x80FF gives 0x80, not a rounded 0x81.
        {"16-bit RGBA",
         {1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {{0xAB, 0xCD, 0x80, 0xFF, 0x00, 0x01, 0xFF, 0xFF}}},
         32,
         {0xAB, 0x80, 0x00, 0xFF}},
        {"1-bit grey", {4, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}}}, 8, {255, 0, 255, 0}},
        {"2-bit grey", {4, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x1B}}}, 8, {0, 85, 170, 255}},
        {"16-bit grey",
         {2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x12, 0x34, 0xFE, 0xDC}}},
         8,
         {0x12, 0xFE}},
        {"8-bit grey, two rows", {1, 2, PNG_COLOR_TYPE_GRAY, 8, {{7}, {9}}}, 8, {9, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Read r = readSpec(dir, c.spec);
        ASSERT_TRUE(r.result);
        EXPECT_EQ(r.image.bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(r.image.pixels, c.pixels);
    }
}

TEST(PngReader, PaletteAndGreyWithAlphaAreRefused) {
    TempDir dir;
    EXPECT_FALSE(readSpec(dir, {2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}}).result);
    EXPECT_FALSE(readSpec(dir, {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{5, 6}}}).result);
}

TEST(PngReader, MissingNotPngAndTruncatedFilesFail) {
    TempDir dir;
    Image image;
    EXPECT_FALSE(readPng(dir.path("missing.png").c_str(), image));
    EXPECT_FALSE(readPng(dir.write("text.png", "GIF89a, not a PNG at all").c_str(), image));
    EXPECT_FALSE(readPng(dir.write("short.png", "\x89PNG").c_str(), image));

    PngSpec noisy{32, 32, PNG_COLOR_TYPE_RGB, 8, {}};
    for (int r = 0; r < 32; ++r) {
        Bytes row;
        for (int i = 0; i < 96; ++i) {
            row.push_back(static_cast<std::uint8_t>((r * 131 + i * 71) ^ (i * r)));
        }
        noisy.rows.push_back(row);
    }
    const std::string path = dir.path("picture.png");
    ASSERT_TRUE(writePng(path, noisy));
    const auto size = std::filesystem::file_size(path);
    for (auto keep : {size - 13, size / 2, std::uintmax_t{40}}) {
        SCOPED_TRACE(keep);
        std::filesystem::resize_file(path, keep);
        EXPECT_FALSE(readPng(path.c_str(), image));
    }
}

// Sizes are checked before anything is allocated: the first header would ask
// for 10 GB, the second for 64 MB that the 40-byte file could never fill.
TEST(PngReader, OversizedPicturesAreRefusedBeforeAllocation) {
    TempDir dir;
    for (int side : {100000, 8192}) {
        SCOPED_TRACE(side);
        const Read r = readSpec(dir, {side, side, PNG_COLOR_TYPE_GRAY, 8, {}, false, true});
        EXPECT_FALSE(r.result);
        EXPECT_EQ(r.image.pixels.capacity(), 0u);
    }
    const Read widest =
        readSpec(dir, {maxImageSide, 1, PNG_COLOR_TYPE_GRAY, 8, {Bytes(maxImageSide, 3)}});
    EXPECT_TRUE(widest.result);
    EXPECT_EQ(widest.image.pixels.size(), static_cast<std::size_t>(maxImageSide));
    EXPECT_FALSE(
        readSpec(dir, {maxImageSide + 1, 1, PNG_COLOR_TYPE_GRAY, 8, {Bytes(maxImageSide + 1, 3)}})
            .result);
}
