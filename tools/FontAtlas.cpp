// The bitmap font. Text is drawn one glyph per square cell with no metrics, so
// the glyphs are widened to fill the cell like a terminal font, and every glyph
// keeps a one-pixel black border inside its cell: the texture is filtered
// linearly, and a border keeps a neighbour's ink from bleeding in when a
// glyph is drawn at 32 pixels in the menus.
#include "FontFace.h"
#include "PackPictures.h"

#include <algorithm>

namespace {

constexpr int cellSize = 16;
constexpr int inkSize = cellSize - 2; // one blank pixel on each side
constexpr char32_t firstPrintable = 32;
constexpr char32_t lastPrintable = 126;

struct Extent {
    int above = 0; // rows above the baseline
    int below = 0; // rows at and below it
    int width = 0; // widest ink
};

Extent measure(FontFace& font) {
    Extent e;
    for (char32_t c = firstPrintable; c <= lastPrintable; ++c) {
        const FontFace::Glyph g = font.glyph(c);
        if (g.width == 0) {
            continue;
        }
        e.above = std::max(e.above, g.top);
        e.below = std::max(e.below, g.height - g.top);
        e.width = std::max(e.width, g.width);
    }
    return e;
}

} // namespace

Canvas makeFontAtlas(FontFace& mono) {
    // The largest em that fits every printable glyph into the ink square; the
    // tallest glyphs (brackets, bar) decide the height, the widest (W, M, @) the width.
    int emHeight = 20;
    Extent e;
    for (; emHeight > 6; --emHeight) {
        mono.setPixelSize(emHeight, emHeight);
        e = measure(mono);
        if (e.above + e.below <= inkSize) {
            break;
        }
    }
    int emWidth = emHeight * 2;
    for (; emWidth > emHeight; --emWidth) {
        mono.setPixelSize(emWidth, emHeight);
        if (measure(mono).width <= inkSize - 1) {
            break;
        }
    }
    mono.setPixelSize(emWidth, emHeight);
    e = measure(mono);
    const int baseline = 1 + e.above; // row within the cell, from the top

    Canvas atlas(256, 256, Color{0.0f, 0.0f, 0.0f, 1.0f});
    for (char32_t c = firstPrintable; c <= lastPrintable; ++c) {
        const FontFace::Glyph g = mono.glyph(c);
        const int cellX = static_cast<int>(c % 16) * cellSize;
        const int cellY = static_cast<int>(c / 16) * cellSize;
        // Centre the advance, keeping the designer's side bearings, then pull
        // any ink that would stick out back into the ink square.
        int left = cellX + 1 + static_cast<int>((inkSize - g.advance) / 2.0f + 0.5f) + g.left;
        left = std::max(left, cellX + 1);
        left = std::min(left, cellX + 1 + inkSize - g.width);
        const int top = cellY + baseline - g.top;
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const int px = left + x;
                const int py = top + y;
                if (px <= cellX || px >= cellX + cellSize - 1 || py <= cellY ||
                    py >= cellY + cellSize - 1) {
                    continue; // never into the border
                }
                const auto v = static_cast<unsigned char>(
                    g.coverage[static_cast<std::size_t>(y) * g.width + x]);
                atlas.at(px, py) = Color{v / 255.0f, v / 255.0f, v / 255.0f, 1.0f};
            }
        }
    }
    return atlas;
}
