#include "assets/Image.h"

#include "FuzzFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".tga");
    Image image;
    if (loadImage(file.write(data, size), image) &&
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height *
                                   (image.bitsPerPixel / 8)) {
        std::abort();  // the pixels must be exactly what the size fields promise
    }
    return 0;
}
