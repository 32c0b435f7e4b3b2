#include "GLReplay.h"
#include "app/Console.h"
#include "assets/Menu.h"
#include "render/Display.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using glreplay::Quad;
using glreplay::quads;

class DisplayOverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        display = std::make_unique<Display>();
        display->resize(640, 480);
        fakegl::reset();
    }
    CaptureStreams streams;
    std::unique_ptr<Display> display;
};

} // namespace

// A is column 1 of row 4 from the top; B is the next cell to the right.
TEST_F(DisplayOverlayTest, TextGlyphsComeFromTheFontGrid) {
    display->drawText("AB", 0, 0, 16, 16);
    EXPECT_EQ(fakegl::count("glBegin"), 1u);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0].x0, 0);
    EXPECT_EQ(q[0].x1, 16);
    EXPECT_EQ(q[0].y0, 0);
    EXPECT_EQ(q[0].y1, 16);
    EXPECT_EQ(q[0].s0, 0.0625);
    EXPECT_EQ(q[0].s1, 0.125);
    EXPECT_EQ(q[0].t0, 0.6875);
    EXPECT_EQ(q[0].t1, 0.75);
    EXPECT_EQ(q[1].x0, 16);
    EXPECT_EQ(q[1].x1, 32);
    EXPECT_EQ(q[1].s0, 0.125);
    EXPECT_EQ(q[1].s1, 0.1875);
    EXPECT_EQ(q[1].t0, 0.6875);
}

TEST_F(DisplayOverlayTest, TextEdgeCharactersAndPlacement) {
    struct Case {
        const char* text;
        double s0, t0; // of the first glyph
    };
    // Code 0 never appears (it ends the text); code 1 is the top row's second cell,
    // '~' (126) the last row of ASCII, a line feed draws glyph 10.
    for (const Case c :
         {Case{"\x01", 0.0625, 0.9375}, Case{"~", 0.875, 0.5}, Case{"\n", 0.625, 0.9375}}) {
        SCOPED_TRACE(static_cast<int>(c.text[0]));
        fakegl::reset();
        display->drawText(c.text, 100.5f, 7, 8, 12);
        const std::vector<Quad> q = quads();
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(q[0].s0, c.s0);
        EXPECT_EQ(q[0].t0, c.t0);
        EXPECT_EQ(q[0].x0, 100.5); // not rounded
        EXPECT_EQ(q[0].x1, 108.5);
        EXPECT_EQ(q[0].y1, 19);
    }
    fakegl::reset();
    display->drawText("", 0, 0, 16, 16);
    EXPECT_TRUE(quads().empty());
}

// Two labels of five and four letters: a block 160 x 64 centred in 640 x 480.
TEST_F(DisplayOverlayTest, MenuIsCentredOnItsLabelsWithTheSelectionInRed) {
    Menu menu;
    menu.options.resize(2);
    menu.options[0].label = "Start";
    menu.options[1].label = "Quit";
    menu.selected = 1;
    display->drawMenu(menu);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 9u);
    EXPECT_EQ(fakegl::count("glBegin"), 9u); // one begin per glyph
    const std::vector<double> white{1, 1, 1}, red{1, 0, 0};
    for (std::size_t k = 0; k < 5; ++k) { // Start: the top line, white
        SCOPED_TRACE(k);
        EXPECT_EQ(q[k].x0, 240 + 32.0 * k);
        EXPECT_EQ(q[k].x1, 272 + 32.0 * k);
        EXPECT_EQ(q[k].y0, 240);
        EXPECT_EQ(q[k].y1, 272);
        EXPECT_EQ(q[k].colour, white);
    }
    for (std::size_t k = 0; k < 4; ++k) { // Quit: below it, selected
        SCOPED_TRACE(k);
        EXPECT_EQ(q[5 + k].x0, 240 + 32.0 * k);
        EXPECT_EQ(q[5 + k].y0, 208);
        EXPECT_EQ(q[5 + k].y1, 240);
        EXPECT_EQ(q[5 + k].colour, red);
    }
    // Menu glyphs are drawn over everything, then depth testing comes back.
    EXPECT_EQ(fakegl::calls().front().name, "glDisable");
    EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));
}

TEST_F(DisplayOverlayTest, MenuChoiceFollowsTheLabelOutsideTheBlock) {
    Menu menu;
    menu.options.resize(1);
    menu.options[0].label = "Players";
    menu.options[0].choices = {"2", "3", "4"};
    menu.options[0].choice = 1;
    display->drawMenu(menu);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), std::string("Players: 3").size());
    // The block is 7 glyphs wide, so the text starts at 320 - 112 = 208.
    EXPECT_EQ(q[0].x0, 208);
    // The last glyph is '3': column 3 of row 3 from the top.
    EXPECT_EQ(q.back().s0, 3 * 0.0625);
    EXPECT_EQ(q.back().t0, 12 * 0.0625);
    EXPECT_EQ(q.back().x0, 208 + 9 * 32);
    // A choice index outside the list shows the label alone.
    menu.options[0].choice = 3;
    fakegl::reset();
    display->drawMenu(menu);
    EXPECT_EQ(quads().size(), std::string("Players").size());
}

// 45 characters in 40 columns: the line needs one row more, written top down.
TEST_F(DisplayOverlayTest, ConsoleWrapsALongLineFromItsTopRowDown) {
    Console console;
    const std::string line(45, 'x');
    console.addLine(line);
    display->drawConsole(console);
    const std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 1u + 45u);
    // The backdrop: the upper half, translucent, drawn untextured.
    EXPECT_EQ(q[0].x0, 0);
    EXPECT_EQ(q[0].x1, 640);
    EXPECT_EQ(q[0].y0, 240);
    EXPECT_EQ(q[0].y1, 480);
    EXPECT_EQ(q[0].colour, (std::vector<double>{0.3f, 0.3f, 0.3f, 0.3f}));
    for (std::size_t n = 0; n < 45; ++n) {
        SCOPED_TRACE(n);
        const Quad& g = q[1 + n];
        const double row = n < 40 ? 1 : 0;
        EXPECT_EQ(g.x0, 16.0 * (n % 40));
        EXPECT_EQ(g.y0, 240 + 16 * row);
        EXPECT_EQ(g.y1, 256 + 16 * row);
        EXPECT_EQ(g.colour, (std::vector<double>{1, 1, 1}));
    }
    EXPECT_TRUE(fakegl::isEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));
}

TEST_F(DisplayOverlayTest, ConsoleStacksNewestFirstAndCutsWhatRisesAboveTheBox) {
    Console console;
    for (int n = 0; n < 20; ++n)
        console.addLine(std::string(1, static_cast<char>('a' + n))); // 't' is newest
    display->drawConsole(console);
    std::vector<Quad> q = quads();
    ASSERT_EQ(q.size(), 1u + 15u); // 15 rows in 240 pixels
    EXPECT_EQ(q[1].y0, 240);       // newest on the bottom row
    EXPECT_EQ(q[1].s0, ('t' % 16) * 0.0625);
    EXPECT_EQ(q[15].y0, 240 + 14 * 16);

    // A line longer than the whole box keeps only its last rows: the end of what
    // was typed stays visible.
    fakegl::reset();
    Console tall;
    std::string text(40 * 20, 'a');
    text.replace(text.size() - 40, 40, std::string(40, 'z'));
    tall.addLine(text);
    display->drawConsole(tall);
    q = quads();
    // A line of exactly 20 rows needs 21, the last one empty: the 14 rows above
    // that empty bottom row show the end of the text, the z row lowest.
    ASSERT_EQ(q.size(), 1u + 14u * 40u);
    EXPECT_EQ(q[1].y0, 240 + 14 * 16); // first glyph drawn on the top row
    EXPECT_EQ(q.back().y0, 256);
    EXPECT_EQ(q.back().s0, ('z' % 16) * 0.0625);
}

TEST_F(DisplayOverlayTest, ConsoleInAWindowSmallerThanAGlyphDrawsOnlyItsBox) {
    Console console;
    console.addLine("Vantrell");
    for (const auto& size : {std::pair<int, int>{10, 480}, std::pair<int, int>{640, 20}}) {
        display->resize(size.first, size.second);
        fakegl::reset();
        display->drawConsole(console);
        EXPECT_EQ(quads().size(), 1u);
        EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));
    }
}
