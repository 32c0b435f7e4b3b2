#include "render/Image.h"

#include "assets/TraceSink.h"
#include "render/PngReader.h"
#include "render/TgaReader.h"

#include <cstring>

bool loadImage(const char* fileName, Image& image) {
    const std::size_t length = std::strlen(fileName);
    if (length < 4) {
        return false;
    }
    const char* extension = fileName + length - 4;
    if (std::strcmp(extension, ".png") == 0 || std::strcmp(extension, ".PNG") == 0) {
        return readPng(fileName, image);
    }
    if (std::strcmp(extension, ".tga") == 0 || std::strcmp(extension, ".TGA") == 0) {
        return readTga(fileName, image);
    }
    TraceLine() << "Unknown image type (\"" << fileName << "\").";
    return false;
}
