// The whole frame, drawn by a real GameCore on the recording GL. The core loads
// its assets from the game folder when it has been built; the checks here do not
// depend on them: textures that matter are given known names first.
#include "GLReplay.h"
#include "app/GameCore.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "world/TankObject.h"
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

using glreplay::Quad;

constexpr unsigned int fontName = 901;
constexpr unsigned int splashName = 902;
constexpr unsigned int selectionName = 903;
constexpr unsigned int backgroundName = 904;

class GameCoreFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        char* cwd = getcwd(nullptr, 0);
        if (cwd) {
            previousDirectory = cwd;
            free(cwd);
        }
        if (chdir(VANTRELL_GAME_DIR) != 0)
            std::cerr << "no game folder; the core starts without assets" << std::endl;
        fakegl::reset();
        game = std::make_unique<GameCore>();
        game->reshape(640, 480);
        game->fontTexture = fontName;
        game->splashTexture = splashName;
        game->selectionTexture = selectionName;
        game->backgroundTexture = backgroundName;
        game->splashVisible = false;
        game->messageShown = false;
    }
    void TearDown() override {
        game.reset();
        if (!previousDirectory.empty() && chdir(previousDirectory.c_str()) != 0)
            std::cerr << "cannot return to " << previousDirectory << std::endl;
    }

    // Draws one frame and returns the overlay's quads (everything after glOrtho).
    std::vector<Quad> frameQuads() {
        fakegl::reset();
        game->display();
        return glreplay::quads(glreplay::find("glOrtho"));
    }

    TankObject* addTank(const std::string& name) {
        auto tank = std::make_unique<TankObject>();
        tank->setName(name);
        TankObject* borrowed = tank.get();
        game->objects.push_back(std::move(tank));
        game->tanks.push_back(borrowed);
        game->currentTank = game->tanks.begin();
        return borrowed;
    }

    // Quads of the glyphs of one drawText call: those in one begin, found by the
    // first quad's position.
    static std::vector<Quad> textAt(const std::vector<Quad>& all, double x, double y) {
        std::vector<Quad> text;
        for (const Quad& q : all)
            if (q.texture == fontName && q.y0 == y && (text.empty() ? q.x0 == x : true) &&
                (text.empty() || q.x0 == text.back().x1))
                text.push_back(q);
        return text;
    }

    CaptureStreams streams;
    std::string previousDirectory;
    std::unique_ptr<GameCore> game;
};

} // namespace

// Six icons along the top edge, the first one selected and highlighted in place.
TEST_F(GameCoreFrameTest, WeaponBarRunsAlongTheTopEdge) {
    ASSERT_EQ(game->weapons.size(), 6u);
    std::vector<unsigned int> icons;
    for (const auto& weapon : game->weapons)
        icons.push_back(weapon->icon());
    const std::vector<Quad> q = frameQuads();
    ASSERT_GE(q.size(), 7u);
    // The highlight repeats the selected icon's rectangle.
    const std::vector<double> xs = {0, 0, 32, 64, 96, 128, 160};
    for (std::size_t n = 0; n < 7; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(q[n].x0, xs[n]);
        EXPECT_EQ(q[n].x1, xs[n] + 32);
        EXPECT_EQ(q[n].y0, 448);
        EXPECT_EQ(q[n].y1, 480);
    }
    EXPECT_EQ(q[0].texture, icons[0]);
    EXPECT_EQ(q[1].texture, selectionName);
    for (std::size_t n = 1; n < 6; ++n)
        EXPECT_EQ(q[n + 1].texture, icons[n]);

    // Selecting the third weapon moves the highlight there.
    game->currentWeapon = std::next(game->weapons.begin(), 2);
    const std::vector<Quad> moved = frameQuads();
    ASSERT_GE(moved.size(), 7u);
    EXPECT_EQ(moved[3].texture, selectionName);
    EXPECT_EQ(moved[3].x0, 64);
}

TEST_F(GameCoreFrameTest, MessageIsCentredOnWholePairsOfCharacters) {
    game->messageShown = true;
    struct Case {
        std::string message;
        double x, y;
    };
    const Case cases[] = {
        {"Draw Game", 256, 232}, // 320 - 16 * (9 / 2)
        {"Tank 1 wins!", 224, 232},
        // Wider than the window: starts at its left edge rather than outside it.
        {std::string(50, 'w'), 0, 232},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        game->message = c.message;
        const std::vector<Quad> text = textAt(frameQuads(), c.x, c.y);
        EXPECT_EQ(text.size(), c.message.size());
    }
    game->message = "";
    EXPECT_EQ(frameQuads().size(), 6u + 1u); // the weapon bar alone
}

TEST_F(GameCoreFrameTest, FrameRateSitsRightAlignedInTheTopRightCorner) {
    game->variables["fps"] = 1;
    game->fps = 59.9f;
    game->fpsText = "59";
    std::vector<Quad> text = textAt(frameQuads(), 608, 464);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(text[1].x1, 640);
    // The digit 5 is column 5 of row 3 from the top.
    EXPECT_EQ(text[0].s0, 5 * 0.0625);
    EXPECT_EQ(text[0].t0, 12 * 0.0625);

    // Before the first measurement nothing is shown, even with the variable on.
    game->fps = 0.0f;
    EXPECT_TRUE(textAt(frameQuads(), 608, 464).empty());
    // Off, nothing either.
    game->fps = 59.9f;
    game->variables["fps"] = 0;
    EXPECT_TRUE(textAt(frameQuads(), 608, 464).empty());
    // A text wider than the window starts at its edge.
    game->variables["fps"] = 1;
    game->fpsText = std::string(41, '9');
    EXPECT_EQ(textAt(frameQuads(), 0, 464).size(), 41u);
}

TEST_F(GameCoreFrameTest, HeadsUpBlockOnlyWithATankWhoseTurnItIs) {
    game->angleText = "45";
    game->healthText = "80";
    const std::size_t without = frameQuads().size();
    addTank("Tank 1");
    const std::vector<Quad> q = frameQuads();
    struct Line {
        std::string text;
        double y;
    };
    const Line lines[] = {{"Tank 1", 0},
                          {"Angle: 45", 16},
                          {"Elevation: 0", 32},
                          {"Velocity: 10", 48},
                          {"Health: 80", 64}};
    std::size_t glyphs = 0;
    for (const Line& line : lines) {
        SCOPED_TRACE(line.text);
        EXPECT_EQ(textAt(q, 0, line.y).size(), line.text.size());
        glyphs += line.text.size();
    }
    EXPECT_EQ(q.size(), without + glyphs);
}

// The layers from the player's side: the title image covers the weapon bar, the
// heads-up texts and the message; the menu and the console lie over the title.
TEST_F(GameCoreFrameTest, TitleCoversTheHudButNotMenuOrConsole) {
    addTank("Tank 1");
    game->message = "Draw Game";
    game->messageShown = true;
    game->splashVisible = true;
    game->consoleOpen = true;
    Menu menu;
    menu.options.resize(1);
    menu.options[0].label = "Start";
    game->menus = {menu};
    game->currentMenu = 0;
    game->variables["menu"] = 1;
    const std::vector<Quad> q = frameQuads();

    std::size_t splash = q.size();
    for (std::size_t n = 0; n < q.size(); ++n)
        if (q[n].texture == splashName)
            splash = n;
    ASSERT_LT(splash, q.size());
    EXPECT_EQ(q[splash].x0, 0);
    EXPECT_EQ(q[splash].x1, 640);
    EXPECT_EQ(q[splash].y0, 0);
    EXPECT_EQ(q[splash].y1, 480);
    // Weapon bar (7), heads-up (6 + 9 + 12 + 12 + 10 glyphs) and message (9) below it.
    EXPECT_EQ(splash, 7u + 49u + 9u);
    // Above it: the menu's five glyphs (32 pixels), then the console's box and its
    // line "Vantrell" (16 pixels).
    ASSERT_EQ(q.size(), splash + 1 + 5 + 1 + 8);
    for (std::size_t n = splash + 1; n < splash + 6; ++n)
        EXPECT_EQ(q[n].y1 - q[n].y0, 32);
    EXPECT_EQ(q[splash + 6].y0, 240); // the console box
    EXPECT_EQ(q[splash + 6].y1, 480);
    EXPECT_EQ(q[splash + 7].texture, fontName);
    // And the next frame starts with depth testing back on.
    EXPECT_TRUE(fakegl::isEnabled(GL_DEPTH_TEST));

    // A menu index past the list draws no menu.
    game->currentMenu = 1;
    EXPECT_EQ(frameQuads().size(), q.size() - 5);
}

// The scene before the overlay: background unlit with its texture, the terrain
// lit as the variable says, then the objects; the overlay unlit and filled.
TEST_F(GameCoreFrameTest, SceneStateIsSetInItsOrder) {
    game->variables["lighting"] = 0;
    game->variables["wireframe"] = 1;
    addTank("Tank 1");
    fakegl::reset();
    game->display();
    const std::size_t firstTriangles = glreplay::find("glBegin");
    const std::size_t ortho = glreplay::find("glOrtho");
    ASSERT_LT(firstTriangles, ortho);
    // The background texture is bound before anything of the scene is drawn.
    const std::size_t backgroundBind = [&] {
        for (std::size_t n = 0; n < fakegl::calls().size(); ++n) {
            const fakegl::Call& c = fakegl::calls()[n];
            if (c.name == "glBindTexture" && c.args[1] == backgroundName)
                return n;
        }
        return fakegl::calls().size();
    }();
    EXPECT_LT(backgroundBind, firstTriangles);
    const auto modes = fakegl::callsNamed("glPolygonMode");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].args[1], GL_LINE);
    EXPECT_EQ(modes[1].args[1], GL_FILL); // the overlay is never wireframe
    EXPECT_FALSE(fakegl::isEnabled(GL_LIGHTING));
    // The light is placed after the camera: the last modelview load before it
    // is the camera's.
    const std::size_t light = glreplay::find("glLightfv");
    ASSERT_LT(light, firstTriangles);
    const glreplay::Point eye = glreplay::apply(glreplay::modelview(0, light), {50, 25, 99});
    EXPECT_NEAR(eye.z, -1, 1e-5);
}

// A window of height 0 keeps its height 0 but the frame's aspect stays finite.
TEST_F(GameCoreFrameTest, ZeroHeightWindowGivesAFiniteProjection) {
    game->reshape(800, 0);
    fakegl::reset();
    game->display();
    const auto projections = fakegl::callsNamed("glMultMatrixf");
    ASSERT_EQ(projections.size(), 1u);
    EXPECT_FLOAT_EQ(projections[0].data[0], 1.0f / 800.0f);
}
