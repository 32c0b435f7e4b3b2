#include "FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <iostream>

FontFace::FontFace(const std::string& fileName) {
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        std::cerr << "FreeType cannot start" << std::endl;
        return;
    }
    if (FT_New_Face(library, fileName.c_str(), 0, &face) != 0) {
        face = nullptr;
        std::cerr << "Cannot read font " << fileName << std::endl;
    }
}

FontFace::~FontFace() {
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

void FontFace::setPixelSize(int emWidth, int emHeight) {
    if (face != nullptr) {
        FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(emWidth), static_cast<FT_UInt>(emHeight));
    }
}

FontFace::Glyph FontFace::glyph(char32_t code) const {
    Glyph g;
    if (face == nullptr || FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
        return g;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    g.width = static_cast<int>(bitmap.width);
    g.height = static_cast<int>(bitmap.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = slot->advance.x / 64.0f;
    g.coverage.resize(static_cast<std::size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            g.coverage[static_cast<std::size_t>(y) * g.width + x] =
                static_cast<char>(bitmap.buffer[y * bitmap.pitch + x]);
        }
    }
    return g;
}

float FontFace::textWidth(const std::string& text) const {
    float width = 0.0f;
    for (char c : text) {
        width += glyph(static_cast<unsigned char>(c)).advance;
    }
    return width;
}

void FontFace::drawText(Canvas& canvas, const std::string& text, float x, float baseline,
                        const Color& color) const {
    drawText(canvas, text, x, baseline, [&color](float, float) { return color; });
}

void FontFace::drawText(Canvas& canvas, const std::string& text, float x, float baseline,
                        const std::function<Color(float, float)>& color) const {
    float pen = x;
    for (char c : text) {
        const Glyph g = glyph(static_cast<unsigned char>(c));
        // Whole-pixel placement keeps the hinted stems sharp.
        const int ox = static_cast<int>(pen + 0.5f) + g.left;
        const int oy = static_cast<int>(baseline + 0.5f) - g.top;
        for (int y = 0; y < g.height; ++y) {
            for (int gx = 0; gx < g.width; ++gx) {
                const auto value = static_cast<unsigned char>(
                    g.coverage[static_cast<std::size_t>(y) * g.width + gx]);
                if (value != 0) {
                    canvas.blend(ox + gx, oy + y, color(ox + gx + 0.5f, oy + y + 0.5f),
                                 value / 255.0f);
                }
            }
        }
        pen += g.advance;
    }
}
