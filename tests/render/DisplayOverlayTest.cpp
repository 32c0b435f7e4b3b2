#include "app/Console.h"
#include "assets/Menu.h"
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
// 10. Placement is not rounded, and one begin serves a whole text.
TEST_F(DisplayOverlayTest, TextGlyphsComeFromTheFontGrid) {
    display->drawText("AB", 0, 0, 16, 16);
    EXPECT_EQ(fakegl::count("glBegin"), 1u);
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

// Labels of five, four and seven letters: a block 224 x 96 centred in 640 x 480,
// drawn over everything, with depth testing back on afterwards. A choice follows
// its label outside the block ("Players: 3" starts at 320 - 112 like the others);
// a choice index outside the list shows the label alone.
TEST_F(DisplayOverlayTest, MenuIsCentredOnItsLabelsWithTheSelectionInRed) {
    Menu menu;
    menu.options.resize(3);
    menu.options[0].label = "Start";
    menu.options[1].label = "Quit";
    menu.options[2].label = "Players";
    menu.options[2].choices = {"2", "3", "4"};
    menu.options[2].choice = 1;
    menu.selected = 1;
    display->drawMenu(menu);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 5u + 4u + 10u);
    for (std::size_t k = 0; k < q.size(); ++k) {
        SCOPED_TRACE(k);
        const std::size_t line = k < 5   ? 0
                                 : k < 9 ? 1
                                         : 2,
                          first = line == 0   ? 0
                                  : line == 1 ? 5
                                              : 9;
        const double x = 208 + 32.0 * (k - first), y = 256 - 32.0 * line;
        EXPECT_EQ(q[k].rect(), (Args{x, x + 32, y, y + 32}));
        EXPECT_EQ(q[k].colour, (line == 1 ? Args{1, 0, 0} : Args{1, 1, 1})); // Quit is selected
    }
    EXPECT_EQ(glyph(q.back()), (Args{496, 528, 192, 224, 0.1875, 0.25, 0.75, 0.8125}));
    EXPECT_EQ(fakegl::calls().front().name, "glDisable");
    EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));
    menu.options[2].choice = 3;
    fakegl::reset();
    display->drawMenu(menu);
    EXPECT_EQ(quads().size(), 5u + 4u + 7u);
}

// 45 characters in 40 columns: the line needs one row more, written top down,
// over a translucent untextured box on the upper half.
TEST_F(DisplayOverlayTest, ConsoleWrapsALongLineFromItsTopRowDown) {
    Console console;
    console.addLine(std::string(45, 'x'));
    display->drawConsole(console);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 1u + 45u);
    EXPECT_EQ(q[0].rect(), (Args{0, 640, 240, 480}));
    EXPECT_EQ(q[0].colour, (Args{0.3f, 0.3f, 0.3f, 0.3f}));
    for (std::size_t n = 0; n < 45; ++n) {
        const double x = 16.0 * (n % 40), y = n < 40 ? 256 : 240;
        EXPECT_EQ(q[1 + n].rect(), (Args{x, x + 16, y, y + 16})) << n;
        EXPECT_EQ(q[1 + n].colour, (Args{1, 1, 1})) << n;
    }
    EXPECT_TRUE(fakegl::isEnabled(GL_TEXTURE_2D) && fakegl::isEnabled(GL_DEPTH_TEST));
}

// 15 rows fit in 240 pixels, the newest line lowest. A line longer than the whole
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
