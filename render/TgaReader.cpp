#include "render/TgaReader.h"

#include "render/Image.h"

#include <cstddef>
#include <cstring>
#include <fstream>
#include <utility>

bool readTga(const char* fileName, Image& image) {
    std::ifstream file(fileName, std::ios::binary);

    // Identification length 0, no colour map, type 2 (uncompressed true colour),
    // empty colour-map fields, origin (0, 0).
    static const unsigned char expected[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    unsigned char header[12];
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) ||
        std::memcmp(header, expected, sizeof header) != 0) {
        return false;
    }
    unsigned char size[6];
    if (!file.read(reinterpret_cast<char*>(size), sizeof size)) {
        return false;
    }
    image.width = size[0] + 256 * size[1];
    image.height = size[2] + 256 * size[3];
    image.bitsPerPixel = size[4];
    if (image.width == 0 || image.height == 0 ||
        (image.bitsPerPixel != 24 && image.bitsPerPixel != 32) || image.width > maxImageSide ||
        image.height > maxImageSide) {
        return false;
    }

    // A short file is tolerated: what it lacks stays 0.
    const std::size_t pixelSize = static_cast<std::size_t>(image.bitsPerPixel / 8);
    const std::size_t dataSize =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * pixelSize;
    image.pixels.assign(dataSize, 0);
    file.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(dataSize));

    // The file stores blue, green, red (alpha).
    for (std::size_t i = 0; i < dataSize; i += pixelSize) {
        std::swap(image.pixels[i], image.pixels[i + 2]);
    }
    return true;
}
