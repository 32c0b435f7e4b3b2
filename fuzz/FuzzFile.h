#pragma once
#include "render/Image.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The readers take file names, so each input is written to a file first. The
// path carries the process id: libFuzzer's -jobs runs several processes at once.
class FuzzFile {
public:
    explicit FuzzFile(const char* extension)
        : path("/tmp/vantrell-fuzz-" + std::to_string(getpid()) + extension) {}
    ~FuzzFile() { std::remove(path.c_str()); }

    // Returns the file name to hand to the reader.
    const char* write(const std::uint8_t* data, std::size_t size) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            std::abort(); // a fuzzer that cannot write its input tests nothing
        }
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        return path.c_str();
    }

private:
    std::string path;
};

// One image reader's target: the pixels must be exactly what the size fields
// promise whenever the reader says it loaded the file.
inline int fuzzImageReader(const FuzzFile& file, const std::uint8_t* data, std::size_t size) {
    Image image;
    if (loadImage(file.write(data, size), image) &&
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * image.height * (image.bitsPerPixel / 8)) {
        std::abort();
    }
    return 0;
}
