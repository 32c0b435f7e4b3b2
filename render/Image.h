#pragma once
#include <cstdint>
#include <vector>

// A picture in memory, bottom row first, rows packed without padding; pixels are
// grey (8), RGB (24) or RGBA (32).
struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t bitsPerPixel = 0;
    std::vector<std::uint8_t> pixels;
};

// Both readers refuse a picture wider or taller than this before allocating
// anything, so a file cannot ask for more than 256 MiB of pixels.
constexpr std::int32_t maxImageSide = 8192;

// Chooses the PNG or TGA reader by the name's extension.
bool loadImage(const char* fileName, Image& image);
