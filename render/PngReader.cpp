// libpng reports errors by longjmp back to the setjmp in decode(). Nothing with
// a destructor lives in that function's frame, and everything it changes after
// setjmp is owned by the caller, so a jump skips no cleanup and leaves no local
// indeterminate; readPng() destroys the structures and closes the file on every
// path.
#include "render/PngReader.h"

#include "render/Image.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// No deflate stream expands more than 1032 times.
constexpr double maxDeflateRatio = 1032.0;

struct PngStructures {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop endInfo = nullptr;
};

long fileSizeOf(std::FILE* file) {
    const long position = std::ftell(file);
    if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long size = std::ftell(file);
    return std::fseek(file, position, SEEK_SET) == 0 ? size : -1;
}

bool decode(PngStructures& s, std::FILE* file, long fileSize, Image& image,
            std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(s.png))) {
        return false;
    }
    png_init_io(s.png, file);
    png_set_sig_bytes(s.png, 8);
    // libpng then rejects an oversized header itself, before any row exists.
    png_set_user_limits(s.png, maxImageSide, maxImageSide);
    png_read_info(s.png, s.info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(s.png, s.info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width > static_cast<png_uint_32>(maxImageSide) ||
        height > static_cast<png_uint_32>(maxImageSide)) {
        return false;
    }
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);

    if (bitDepth == 16) {
        png_set_strip_16(s.png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(s.png);
    }
    int channels = 0;
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        channels = 1;
        break;
    case PNG_COLOR_TYPE_RGB:
        channels = 3;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        channels = 4;
        break;
    default: // palette and grey with alpha
        return false;
    }
    image.bitsPerPixel = 8 * channels;

    // A header is only a claim: a file too small to hold the compressed picture
    // fails anyway once its data runs out, so it is refused before the pixels
    // are allocated.
    const double storedBytes = static_cast<double>(width) * height * channels * bitDepth / 8.0;
    if (fileSize < 0 || storedBytes > static_cast<double>(fileSize) * maxDeflateRatio) {
        return false;
    }

    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    image.pixels.assign(rowBytes * height, 0);
    // PNG stores the top row first; the image holds the bottom row first.
    rows.resize(height);
    for (png_uint_32 r = 0; r < height; ++r) {
        rows[r] = image.pixels.data() + (height - 1 - r) * rowBytes;
    }
    png_read_image(s.png, rows.data());
    png_read_end(s.png, s.endInfo);
    return true;
}

} // namespace

bool readPng(const char* fileName, Image& image) {
    image.width = 0;
    image.height = 0;
    image.bitsPerPixel = 0;
    image.pixels.clear();

    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return false;
    }
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        std::fclose(file);
        return false;
    }
    const long fileSize = fileSizeOf(file);

    // The version libpng was built against: libpng refuses any other.
    PngStructures s;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (s.png == nullptr) {
        std::fclose(file);
        return false;
    }
    s.info = png_create_info_struct(s.png);
    if (s.info == nullptr) {
        png_destroy_read_struct(&s.png, nullptr, nullptr);
        std::fclose(file);
        return false;
    }
    s.endInfo = png_create_info_struct(s.png);
    if (s.endInfo == nullptr) {
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        std::fclose(file);
        return false;
    }

    std::vector<png_bytep> rows;
    const bool read = decode(s, file, fileSize, image, rows);
    png_destroy_read_struct(&s.png, &s.info, &s.endInfo);
    std::fclose(file);
    return read;
}
