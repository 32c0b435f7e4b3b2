#pragma once
#include <cstdint>

// A texture made from a picture file, and whether the file was read.
struct MadeTexture {
    std::uint32_t name = 0; // 0: no texture
    bool fileRead = false;
};

// How the world asks the drawing side for textures: the weapons load their own
// pictures, but only the Display may talk to OpenGL, and the world must not
// depend on the drawing. The Display implements this.
class TextureMaker {
public:
    virtual ~TextureMaker() = default;
    // Reads the picture and makes a texture of whatever the reader left, so a
    // file that failed part-way may still give one; a name of 0 when nothing
    // usable was read.
    virtual MadeTexture makeTexture(const char* fileName) = 0;
};
