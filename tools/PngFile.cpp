#include "PngFile.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {

unsigned char toByte(float v) {
    return static_cast<unsigned char>(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f));
}

std::vector<unsigned char> packRows(const Canvas& canvas, PixelFormat format, int channels) {
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(canvas.width()) * canvas.height() * channels);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Color& c = canvas.at(x, y);
            if (format == PixelFormat::Grey) {
                // Grey pictures are painted in white on black: red carries it.
                bytes.push_back(toByte(c.r * c.a));
                continue;
            }
            if (format == PixelFormat::Rgb) {
                // Opaque output: whatever shows through is black.
                bytes.push_back(toByte(c.r * c.a));
                bytes.push_back(toByte(c.g * c.a));
                bytes.push_back(toByte(c.b * c.a));
                continue;
            }
            bytes.push_back(toByte(c.r));
            bytes.push_back(toByte(c.g));
            bytes.push_back(toByte(c.b));
            bytes.push_back(toByte(c.a));
        }
    }
    return bytes;
}

struct Encoding {
    int width;
    int height;
    int colorType;
    png_bytep* rows;
};

// Kept apart from the caller so that nothing but the two libpng handles lives
// across the error jump.
bool encode(FILE* file, const Encoding& job) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, job.width, job.height, 8, job.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, job.rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const std::string& path, const Canvas& canvas, PixelFormat format) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ignored);
    }
    const int channels = format == PixelFormat::Grey ? 1 : format == PixelFormat::Rgb ? 3 : 4;
    const int colorType = format == PixelFormat::Grey  ? PNG_COLOR_TYPE_GRAY
                          : format == PixelFormat::Rgb ? PNG_COLOR_TYPE_RGB
                                                       : PNG_COLOR_TYPE_RGB_ALPHA;
    std::vector<unsigned char> bytes = packRows(canvas, format, channels);
    std::vector<png_bytep> rows(canvas.height());
    for (int y = 0; y < canvas.height(); ++y) {
        rows[y] = bytes.data() + static_cast<std::size_t>(y) * canvas.width() * channels;
    }

    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::cerr << "Cannot write " << path << std::endl;
        return false;
    }
    const bool encoded =
        encode(file, Encoding{canvas.width(), canvas.height(), colorType, rows.data()});
    const bool closed = std::fclose(file) == 0 && encoded;
    if (!closed) {
        std::cerr << "Cannot write " << path << std::endl;
    }
    return closed;
}
