#include "app/Console.h"
#include "support/GLReplay.h"

namespace {

using glreplay::Quad;
using glreplay::quads;
using Args = std::vector<double>;
using DisplayOverlayTest = glreplay::DisplayFixture;

// x0, x1, y0, y1, s0, s1, t0, t1 of a glyph.
Args glyph(const Quad& q) {
    return {q.x0, q.x1, q.y0, q.y1, q.s0, q.s1, q.t0, q.t1};
}

} // namespace

// The font is a 16 x 16 grid read from the top: A is column 1 of row 4, code 1
// the top row's second cell, '~' the last row of ASCII; a line feed draws glyph
// 10. Placement is not rounded.
TEST_F(DisplayOverlayTest, TextGlyphsComeFromTheFontGrid) {
    display->drawText("AB", 0, 0, 16, 16);
    std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(glyph(q[0]), (Args{0, 16, 0, 16, 0.0625, 0.125, 0.6875, 0.75}));
    EXPECT_EQ(glyph(q[1]), (Args{16, 32, 0, 16, 0.125, 0.1875, 0.6875, 0.75}));
    for (const auto& [text, s0, t0] :
         {std::tuple{"\x01", 0.0625, 0.9375}, std::tuple{"~", 0.875, 0.5},
          std::tuple{"\n", 0.625, 0.9375}}) {
        SCOPED_TRACE(static_cast<int>(text[0]));
        fakegl::reset();
        display->drawText(text, 100.5f, 7, 8, 12);
        q = quads();
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(glyph(q[0]), (Args{100.5, 108.5, 7, 19, s0, s0 + 0.0625, t0, t0 + 0.0625}));
    }
}

// The console is a translucent untextured box over the upper half; 40 columns and
// 15 rows fit in it, the newest line lowest. A line longer than the whole
// box keeps its last rows, so the end of what was typed stays visible: exactly 20
// rows need 21, the last one empty, and the 14 rows above it show the end of the
// text, the z row lowest. The older line above it is cut. A window smaller than
// one glyph has no rows at all: the box alone.
TEST_F(DisplayOverlayTest, ConsoleCutsWhatRisesAboveTheBox) {
    Console console;
    console.addLine("old");
    console.addLine(std::string(40 * 19, 'a') + std::string(40, 'z'));
    display->drawConsole(console);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 1u + 14u * 40u);
    EXPECT_EQ(q[0].colour, (Args{0.3f, 0.3f, 0.3f, 0.3f}));
    EXPECT_EQ(q[1].y0, 240 + 14 * 16);
    EXPECT_EQ(q.back().y0, 256);
    EXPECT_EQ(q.back().s0, ('z' % 16) * 0.0625);
    for (const auto& [width, height] : {std::pair{10, 480}, std::pair{640, 20}}) {
        display->resize(width, height);
        fakegl::reset();
        display->drawConsole(console);
        EXPECT_EQ(quads().size(), 1u);
        EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));
    }
}
