// The 2-D overlay: window pixels, origin bottom left, y up. Text comes from a
// 16 x 16 grid of glyphs in the font picture; every glyph advances by a full cell.
#include "app/Console.h"
#include "assets/Menu.h"
#include "render/Display.h"
#include <GL/gl.h>
#include <algorithm>
#include <string>

namespace {

constexpr float cellFraction = 0.0625f; // one glyph cell is 1/16 of the picture

// Texture rectangle of a character's glyph. Bytes are read as signed: the codes
// 128 to 255 land outside the picture, where the repeat wrap brings them back.
struct Glyph {
    float s0, s1, t0, t1;
};

Glyph glyphFor(char character) {
    const int c = static_cast<signed char>(character);
    const int col = c % 16;
    const int up = 15 - c / 16; // the glyph's row counted from the picture's bottom
    return {col * cellFraction, (col + 1) * cellFraction, up * cellFraction,
            (up + 1) * cellFraction};
}

// One glyph quad on whole pixels, its own begin and end (console and menu).
void drawGlyphCell(char character, int x0, int y0, int cellWidth, int cellHeight) {
    const Glyph g = glyphFor(character);
    const int x1 = x0 + cellWidth;
    const int y1 = y0 + cellHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(g.s0, g.t1);
    glVertex2i(x0, y1);
    glTexCoord2f(g.s1, g.t1);
    glVertex2i(x1, y1);
    glTexCoord2f(g.s1, g.t0);
    glVertex2i(x1, y0);
    glTexCoord2f(g.s0, g.t0);
    glVertex2i(x0, y0);
    glEnd();
}

} // namespace

void Display::drawQuad(float x1, float x2, float y1, float y2) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x1, y1);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x2, y1);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x2, y2);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x1, y2);
    glEnd();
}

// Positions are not rounded: the heads-up texts sit on whole pixels anyway.
void Display::drawText(const char* text, float x, float y, float glyphWidth, float glyphHeight) {
    glBegin(GL_QUADS);
    for (const char* p = text; *p != '\0'; ++p) {
        const Glyph g = glyphFor(*p);
        glTexCoord2f(g.s0, g.t0);
        glVertex2f(x, y);
        glTexCoord2f(g.s1, g.t0);
        glVertex2f(x + glyphWidth, y);
        glTexCoord2f(g.s1, g.t1);
        glVertex2f(x + glyphWidth, y + glyphHeight);
        glTexCoord2f(g.s0, g.t1);
        glVertex2f(x, y + glyphHeight);
        x += glyphWidth;
    }
    glEnd();
}

// Centred on the labels alone; a choice text runs on to the right of the block.
void Display::drawMenu(const Menu& menu) {
    constexpr int cell = 512 / 16;
    std::size_t maxLength = 0;
    for (const MenuOption& option : menu.options)
        maxLength = std::max(maxLength, option.label.size());
    const double blockWidth = static_cast<double>(cell * maxLength);
    const double blockHeight = static_cast<double>(cell * menu.options.size());
    const double left = width / 2.0 - blockWidth / 2.0;
    const double bottom = height / 2.0 - blockHeight / 2.0;

    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    const int count = static_cast<int>(menu.options.size());
    for (int i = 0; i < count; ++i) {
        const MenuOption& option = menu.options[i];
        std::string text = option.label;
        if (!option.choices.empty() && option.choice >= 0 &&
            static_cast<std::size_t>(option.choice) < option.choices.size())
            text += ": " + option.choices[option.choice];
        const bool selected = i == menu.selected;
        const int row = count - i - 1; // option 0 is the top line
        const int y0 = static_cast<int>(row * cell + bottom);
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (selected)
                glColor3f(1.0f, 0.0f, 0.0f);
            else
                glColor3f(1.0f, 1.0f, 1.0f);
            drawGlyphCell(text[k], static_cast<int>(k * cell + left), y0, cell, cell);
        }
    }
    glEnable(GL_DEPTH_TEST);
}

// The newest line sits on the bottom row of the upper half of the window, older
// lines above it. A line longer than a row wraps downward from its own top row,
// so a long line grows upward; what would rise above the box is cut off.
void Display::drawConsole(const Console& console) {
    constexpr int cell = 256 / 16;
    const int rowCount = static_cast<int>((1.0 - 0.5) * (height / cell));
    const int columnCount = static_cast<int>((1.0 - 0.0) * (width / cell));
    const float left = width * 0.0f;
    const float right = width * 1.0f;
    const float bottom = height * 0.5f;
    const float top = height * 1.0f;

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.3f, 0.3f, 0.3f, 0.3f); // translucent through the blending
    glBegin(GL_QUADS);
    glVertex2f(left, bottom);
    glVertex2f(right, bottom);
    glVertex2f(right, top);
    glVertex2f(left, top);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);

    // A window narrower or lower than one glyph has no row to wrap into.
    if (rowCount > 0 && columnCount > 0) {
        const std::size_t columns = static_cast<std::size_t>(columnCount);
        int r = 0;
        for (const std::string& line : console.lines()) {
            if (r >= rowCount)
                break;
            const int extra = static_cast<int>(line.size() / columns); // rows beyond the first
            int base = r;
            r += extra;
            std::size_t first = 0;
            if (r >= rowCount) {
                first = static_cast<std::size_t>(r - rowCount + 1) * columns;
                r = rowCount - 1;
                base = rowCount - 1;
            }
            int k = 0;
            for (std::size_t n = first; n < line.size(); ++n) {
                const int x0 = static_cast<int>(k * cell + left);
                const int y0 = static_cast<int>(r * cell + bottom);
                drawGlyphCell(line[n], x0, y0, cell, cell);
                if (++k == columnCount) {
                    k = 0;
                    --r;
                }
            }
            r = base + extra + 1;
        }
    }
    glEnable(GL_DEPTH_TEST);
}
