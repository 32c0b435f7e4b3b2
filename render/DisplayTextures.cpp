// Textures. Images arrive bottom row first with rows packed without padding, which
// is exactly what OpenGL reads once the unpack alignment matches the row length.
#include "render/Image.h"
#include "render/Display.h"
#include <GL/gl.h>
#include <algorithm>

namespace {

// OpenGL's initial unpack alignment; everything else in the game assumes it.
constexpr GLint defaultUnpackAlignment = 4;

GLenum formatFor(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 8:
        return GL_ALPHA;
    case 24:
        return GL_RGB;
    case 32:
        return GL_RGBA;
    default:
        return 0;
    }
}

} // namespace

std::uint32_t Display::createTexture(const Image& image) {
    const GLenum format = formatFor(image.bitsPerPixel);
    if (format == 0)
        return 0;
    // OpenGL reads width x height pixels from the pointer whatever the vector holds:
    // an image whose pixels do not cover its size would be read past its end.
    if (image.width <= 0 || image.height <= 0)
        return 0;
    const std::size_t rowBytes =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.bitsPerPixel / 8);
    if (image.pixels.size() / rowBytes < static_cast<std::size_t>(image.height))
        return 0;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Packed rows of, say, a 10-pixel RGB picture are 30 bytes long; with the
    // default alignment OpenGL would skip two bytes after each and shear the image.
    const bool packedRows = rowBytes % defaultUnpackAlignment != 0;
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, defaultUnpackAlignment);
    textures.push_back(name);
    return name;
}

// The texture is made whether or not the file was read in full: a picture that
// failed part-way still gives what was read, as the weapons have always had it.
MadeTexture Display::makeTexture(const char* fileName) {
    Image image;
    const bool read = loadImage(fileName, image);
    return MadeTexture{createTexture(image), read};
}

// Binding 0 selects the default texture object, which has no image: texturing
// stays on and what follows shows the current colour only.
void Display::bindTexture(std::uint32_t name) {
    if (name != 0)
        glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
}

void Display::deleteTexture(std::uint32_t name) {
    const auto found = std::find(textures.begin(), textures.end(), name);
    if (found != textures.end())
        textures.erase(found);
    const GLuint glName = name;
    glDeleteTextures(1, &glName);
}
