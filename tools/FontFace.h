#pragma once
#include "Canvas.h"
#include <string>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One TrueType face rendered with FreeType's anti-aliased rasteriser. The pixel
// width and height of the em may differ, which is how the font atlas widens its
// glyphs to fill square cells and the title picture pre-squeezes its lettering.
class FontFace {
public:
    explicit FontFace(const std::string& fileName);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool loaded() const { return face != nullptr; }
    void setPixelSize(int emWidth, int emHeight);

    // Coverage of one glyph: `left` and `top` place the bitmap relative to the
    // pen position on the baseline (top counts upward). Empty for a blank glyph.
    struct Glyph {
        int width = 0;
        int height = 0;
        int left = 0;
        int top = 0;
        float advance = 0.0f;
        std::string coverage; // width * height bytes, 0 to 255, top row first
    };
    Glyph glyph(char32_t code) const;

    float textWidth(const std::string& text) const;
    // Paints ASCII text with its baseline at `baseline`, starting at pen x `x`.
    void drawText(Canvas& canvas, const std::string& text, float x, float baseline,
                  const Color& color) const;
    // Same, but every pixel's colour comes from `color` (for gradient lettering).
    void drawText(Canvas& canvas, const std::string& text, float x, float baseline,
                  const std::function<Color(float, float)>& color) const;

private:
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};
