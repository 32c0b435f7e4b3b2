// The whole frame, drawn by a real GameCore on the recording GL; the textures
// that matter are given known names.
#include "CoreFixture.h"
#include "support/GLReplay.h"

namespace {

using glreplay::Quad;

constexpr unsigned int fontName = 901, splashName = 902;

class GameCoreFrameTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->reshape(640, 480);
        state->fontTexture = fontName;
        state->splashTexture = splashName;
        state->variables["marks"] = 0; // the plain frame, whose calls are counted here
    }

    // Draws one frame and returns the overlay's quads (everything after glOrtho).
    std::vector<Quad> frameQuads() {
        fakegl::reset();
        core->display();
        return glreplay::quads(fakegl::find("glOrtho"));
    }

    // The glyphs of one text: font quads on one line, each starting where the
    // one before ended, the first at (x, y).
    static std::size_t glyphsAt(const std::vector<Quad>& all, double x, double y) {
        std::size_t glyphs = 0;
        for (const Quad& q : all)
            if (q.texture == fontName && q.y0 == y && q.x0 == x + 16.0 * glyphs)
                ++glyphs;
        return glyphs;
    }
};

} // namespace

// The message is centred on whole pairs of characters, the frame rate right-
// aligned in the top right corner; a text wider than the window starts at its
// left edge rather than outside it. Nothing else is drawn beside the weapon bar.
TEST_F(GameCoreFrameTest, MessageAndFrameRateTexts) {
    struct Case {
        std::string message, fpsText;
        float fps;
        int fpsVariable;
        double x, y;
        std::size_t glyphs;
    };
    const Case cases[] = {
        {"Draw Game", "", 0, 0, 256, 232, 9}, {std::string(50, 'w'), "", 0, 0, 0, 232, 50},
        {"", "59", 59.9f, 1, 608, 464, 2},    {"", std::string(41, '9'), 59.9f, 1, 0, 464, 41},
        {"", "59", 0.0f, 1, 608, 464, 0}, // before the first measurement
        {"", "59", 59.9f, 0, 608, 464, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + " / " + c.fpsText);
        state->message = c.message;
        state->messageShown = !c.message.empty();
        state->fpsText = c.fpsText;
        state->fps = c.fps;
        state->variables["fps"] = c.fpsVariable;
        const std::vector<Quad> q = frameQuads();
        EXPECT_EQ(glyphsAt(q, c.x, c.y), c.glyphs);
        EXPECT_EQ(q.size(), 6u + 1u + c.glyphs);
    }
}

// The layers from the player's side: the title image covers the weapon bar, the
// heads-up texts and the message; the menu and the console lie over the title.
TEST_F(GameCoreFrameTest, TitleCoversTheHudButNotMenuOrConsole) {
    newGame(1);
    state->message = "Draw Game";
    state->messageShown = state->splashVisible = state->consoleOpen = true;
    state->menus = {Menu{}};
    state->menus[0].options.resize(1);
    state->menus[0].options[0].label = "Start";
    state->variables["menu"] = 1;
    const std::vector<Quad> q = frameQuads();
    // Weapon bar (7), heads-up (8 + 8 + 12 + 12 + 11 glyphs) and message (9) below.
    const std::size_t splash = 7 + 51 + 9;
    ASSERT_EQ(q.size(), splash + 1 + 5 + 1 + 8);
    EXPECT_EQ(q[splash].texture, splashName);
    EXPECT_EQ(q[splash].rect(), (std::vector<double>{0, 640, 0, 480}));
    EXPECT_EQ(glyphsAt(q, 0, 0), 8u); // "Player 1" under the title
    EXPECT_EQ(glyphsAt(q, 256, 232), 9u);
    // Above it: the menu's five glyphs of 32 pixels, the console's box and its
    // line "Vantrell" in 16-pixel glyphs.
    for (std::size_t n = splash + 1; n < splash + 6; ++n)
        EXPECT_EQ(q[n].y1 - q[n].y0, 32);
    EXPECT_EQ(q[splash + 6].rect(), (std::vector<double>{0, 640, 240, 480}));
    EXPECT_EQ(q[splash + 7].texture, fontName);
    EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST)); // back on for the next frame

    // A menu index past the list draws no menu.
    state->currentMenu = 1;
    EXPECT_EQ(frameQuads().size(), q.size() - 5);
}

// "Press any key" is true only on the title before a key opens the menu: one
// centred line of the font in the bottom quarter, and nothing there otherwise.
// Like the other marks, it goes with "marks" 0.
TEST_F(GameCoreFrameTest, TitlePromptOnlyWhileTheTitleWaitsForAKey) {
    struct Case {
        bool title;
        int menu, marks;
        std::size_t glyphs;
    };
    for (const Case& c :
         {Case{true, 0, 1, 13}, Case{true, 1, 1, 0}, Case{false, 0, 1, 0}, Case{true, 0, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.title) + std::to_string(c.menu) + std::to_string(c.marks));
        state->splashVisible = c.title;
        state->variables["menu"] = c.menu;
        state->variables["marks"] = c.marks;
        std::vector<Quad> low;
        for (const Quad& q : frameQuads())
            if (q.texture == fontName && q.y1 <= 120)
                low.push_back(q);
        ASSERT_EQ(low.size(), c.glyphs);
        if (low.empty())
            continue;
        EXPECT_EQ(low.front().x0 + low.back().x1, 640);
        EXPECT_TRUE(std::all_of(low.begin(), low.end(), [&](const Quad& q) {
            return q.y0 == low.front().y0 && q.y1 - q.y0 >= 16;
        }));
    }
}

// The scene may be wireframe and unlit as the variables say; the overlay never is
// wireframe. The light is placed after the camera, in eye space. A window of
// height 0 keeps its height 0 but the frame's aspect stays finite.
TEST_F(GameCoreFrameTest, SceneStateFollowsTheVariables) {
    state->variables["lighting"] = 0;
    state->variables["wireframe"] = 1;
    core->reshape(800, 0);
    frameQuads();
    EXPECT_EQ(fakegl::args("glPolygonMode"),
              (std::vector<double>{GL_FRONT_AND_BACK, GL_LINE, GL_FRONT_AND_BACK, GL_FILL}));
    EXPECT_FALSE(fakegl::isEnabled(GL_LIGHTING));
    const std::size_t light = fakegl::find("glLightfv");
    ASSERT_LT(light, fakegl::find("glBegin"));
    EXPECT_NEAR(glreplay::distance(glreplay::transform({50, 25, 99}, light), {0, 0, -1}), 0, 1e-5);
    EXPECT_FLOAT_EQ(fakegl::calls()[fakegl::find("glMultMatrixf")].matrix[0], 1.0f / 800.0f);
}
