#include "render/PngReader.h"
#include "render/Image.h"
#include "support/TempDir.h"
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <png.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
    int width, height, colorType, bitDepth;
    std::vector<Bytes> rows; // top row first, packed; none: signature and header only
};

// Writes with libpng's own encoder, so the reader meets real files.
void writePng(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        FAIL() << "libpng could not write " << path;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2] = {{0, 0, 0}, {255, 255, 255}};
    if (picture.colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 2);
    png_write_info(png, info);
    for (const Bytes& row : picture.rows)
        png_write_row(png, row.data());
    if (!picture.rows.empty())
        png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

constexpr int grey = PNG_COLOR_TYPE_GRAY;

} // namespace

// Refused pictures (bits 0) get no pixels at all: sides are checked before
// anything is allocated, and so is a claim the file is far too small to fill.
TEST(PngReader, PixelsBecomeEightBitChannelsStoredBottomRowFirstOrAreRefused) {
    TempDir dir;
    struct Case {
        const char* name;
        int bitsPerPixel;
        Bytes pixels;
        Picture picture;
    };
    const Case cases[] = {
        {"RGB",
         24,
         {0, 0, 255, 9, 9, 9, 255, 0, 0, 0, 255, 0},
         {2, 2, PNG_COLOR_TYPE_RGB, 8, {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 9, 9, 9}}}},
        // 16 bits keep their high byte: 0x80FF gives 0x80, not a rounded 0x81.
        {"16-bit RGBA",
         32,
         {0xAB, 0x80, 0x00, 0xFF},
         {1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {{0xAB, 0xCD, 0x80, 0xFF, 0x00, 0x01, 0xFF, 0xFF}}}},
        {"1-bit grey", 8, {255, 0, 255, 0}, {4, 1, grey, 1, {{0xA0}}}},
        {"16-bit grey", 8, {0x12, 0xFE}, {2, 1, grey, 16, {{0x12, 0x34, 0xFE, 0xDC}}}},
        {"palette", 0, {}, {2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}}},
        {"widest", 8, Bytes(maxImageSide, 3), {maxImageSide, 1, grey, 8, {Bytes(maxImageSide, 3)}}},
        {"too wide", 0, {}, {maxImageSide + 1, 1, grey, 8, {Bytes(maxImageSide + 1, 3)}}},
        {"10 GB header", 0, {}, {100000, 100000, grey, 8, {}}},
        {"64 MB header", 0, {}, {8192, 8192, grey, 8, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("picture.png");
        writePng(path, c.picture);
        Image image;
        EXPECT_EQ(readPng(path.c_str(), image), c.bitsPerPixel != 0);
        EXPECT_EQ(image.bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(image.pixels, c.pixels);
        EXPECT_EQ(image.pixels.capacity() == 0, c.pixels.empty());
        // Every truncation of a good file fails.
        for (auto keep = std::filesystem::file_size(path); keep-- > 0 && !c.pixels.empty();) {
            std::filesystem::resize_file(path, keep);
            EXPECT_FALSE(readPng(path.c_str(), image)) << keep << " bytes";
        }
    }
    Image image;
    EXPECT_FALSE(readPng(dir.path("missing.png").c_str(), image));
    EXPECT_FALSE(readPng(dir.write("text.png", "GIF89a, not a PNG at all").c_str(), image));
}
