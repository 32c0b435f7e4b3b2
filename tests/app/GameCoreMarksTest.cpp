// The marks that make a battle readable (tank colours, labels, shell trails,
// burst flashes), drawn by a real GameCore on the recording GL, and their absence
// under "marks" 0.
#include "CoreFixture.h"
#include "app/BattleMarks.h"
#include "support/GLReplay.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include "world/Random.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using glreplay::Quad;

constexpr unsigned int fontName = 901;

class GameCoreMarksTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
        core->reshape(640, 480);
        state->fontTexture = fontName;
        state->tankSkeleton = aimingSkeleton();
        // The game's own kind of terrain, the same every run.
        Random once;
        flatten(0.0f);
        std::srand(2024);
        state->terrain.generate(300, 0.25f, 0.75f);
    }

    // Four tanks seen from behind the near edge, one shell in the air and one
    // burst growing; nothing here depends on the clock or on random numbers.
    void battle() {
        newGame(4);
        int n = 0;
        for (TankObject* tank : state->tanks) {
            tank->position = Vector3(60.0f + 25.0f * n++, 160.0f, 120.0f);
            tank->resting = true;
        }
        state->variables["follow"] = 0; // the camera stays where it is put
        state->cameraPosition = Vector3(100.0f, 190.0f, 180.0f);
        state->cameraRotation = Vector3(20.0f, 0.0f, 0.0f);
        auto shell = std::make_unique<Explosive>();
        shell->position = Vector3(100.0f, 175.0f, 110.0f);
        shell->velocity = Vector3(10.0f, 0.0f, 0.0f);
        auto burst = std::make_unique<Explosion>(8.0f, 75.0f);
        burst->position = Vector3(140.0f, 160.0f, 100.0f);
        burst->radius = 2.0f;
        TraceCapture quiet;
        state->objects.push_back(std::move(shell));
        state->objects.push_back(std::move(burst));
    }

    void frame() {
        fakegl::reset();
        core->display();
    }

    // A fingerprint of every call and argument of the log, printed to 6 digits.
    static std::uint64_t logHash() {
        std::uint64_t h = 14695981039346656037ull;
        const auto mix = [&h](const std::string& text) {
            for (unsigned char c : text)
                h = (h ^ c) * 1099511628211ull;
        };
        for (const fakegl::Call& c : fakegl::calls()) {
            mix(c.name);
            for (double a : c.args) {
                char number[32];
                std::snprintf(number, sizeof number, " %.6g", a);
                mix(number);
            }
            for (float m : c.matrix) {
                char number[32];
                std::snprintf(number, sizeof number, " %.6g", m);
                mix(number);
            }
        }
        return h;
    }
};

} // namespace

// Without the marks the frame is the plain one, call for call: the fingerprint
// of a battle's frame as it was drawn before there were any marks (taken again
// when the sky moved behind the world, and when the opaque world and the sky
// stopped blending, and when the sky's texture came to replace the white).
TEST_F(GameCoreMarksTest, MarksOffDrawsThePlainFrame) {
    battle();
    state->variables["marks"] = 0;
    frame();
    EXPECT_EQ(fakegl::calls().size(), 80068u);
    EXPECT_EQ(logHash(), 8720287287907065611u);
}

namespace {

// How many times the log begins `mode`, counting from position `from`.
std::size_t begins(GLenum mode, std::size_t from = 0) {
    std::size_t n = 0;
    for (std::size_t k = from; k < fakegl::calls().size(); ++k)
        n += fakegl::calls()[k].name == "glBegin" && fakegl::calls()[k].args[0] == mode;
    return n;
}

// How many array draws of `mode` the log holds.
std::size_t arrays(GLenum mode) {
    std::size_t n = 0;
    for (const fakegl::Call& c : fakegl::calls())
        n += c.name == "glDrawArrays" && c.args[0] == mode;
    return n;
}

std::vector<double> rgb(const Vector3& c) {
    return {c.x, c.y, c.z};
}

} // namespace

// A battle in progress: each tank lit in its own colour and labelled (name,
// health bar, the current one marked), the current player's heads-up name in its
// colour, the flying shell with a trail and a dot. "marks" 0 takes all of it away.
TEST_F(GameCoreMarksTest, MarksOnShowWhoIsWhoAndWhereTheShellIs) {
    battle();
    update(0.05f);
    update(0.05f); // the shell has left a point behind: a trail of two
    frame();
    std::vector<std::vector<double>> tints;
    for (const fakegl::Call& c : fakegl::calls())
        if (c.name == "glMaterialfv" && c.args[1] == GL_DIFFUSE)
            tints.push_back({c.args[2], c.args[3], c.args[4]});
    ASSERT_EQ(tints.size(), 4u);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(tints[n], rgb(BattleMarks::playerColour(n)));
    EXPECT_EQ(fakegl::count("glPushAttrib"), fakegl::count("glPopAttrib"));
    EXPECT_EQ(arrays(GL_LINES), 1u) << "the trail";
    EXPECT_EQ(arrays(GL_POINTS), 1u) << "the shell's dot";
    EXPECT_EQ(begins(GL_TRIANGLES, fakegl::find("glOrtho")), 1u) << "one current tank";

    const std::vector<Quad> q = glreplay::quads(fakegl::find("glOrtho"));
    std::size_t labelGlyphs = 0, bars = 0;
    for (const Quad& quad : q) {
        labelGlyphs += quad.texture == fontName && quad.x1 - quad.x0 == 10;
        bars += quad.y1 - quad.y0 == 4;
    }
    EXPECT_EQ(labelGlyphs, 4u * 8u) << "Player 1 to Player 4";
    EXPECT_EQ(bars, 4u * 2u) << "a bar and its fill under each name";
    for (const Quad& quad : q) {
        if (quad.y0 == 0 && quad.x1 - quad.x0 == 16) {
            EXPECT_EQ(quad.colour, rgb(BattleMarks::playerColour(0))) << "the heads-up name";
        }
    }

    state->variables["marks"] = 0;
    frame();
    EXPECT_EQ(fakegl::count("glMaterialfv") + arrays(GL_LINES) + arrays(GL_POINTS) +
                  begins(GL_TRIANGLES, fakegl::find("glOrtho")),
              0u);
    for (const Quad& quad : glreplay::quads(fakegl::find("glOrtho")))
        EXPECT_NE(quad.x1 - quad.x0, 10) << "no label glyph";
}

// A burst flashes where it went off for a quarter of a second of game time; a
// trail never reaches further back than its time, however
// many updates it took.
TEST_F(GameCoreMarksTest, BurstFlashFadesWithGameTimeAndTrailsStayShort) {
    battle();
    Explosion* burst = dynamic_cast<Explosion*>(state->objects.back().get());
    burst->radius = 7.99f; // goes off in the next update
    for (int n = 0; n < 200; ++n)
        update(0.001f);
    const std::vector<BattleMarks::Trail>& trails = state->marks.trails();
    ASSERT_EQ(trails.size(), 1u);
    EXPECT_LE(trails[0].ages.front(), BattleMarks::trailSeconds + BattleMarks::sampleSeconds);
    EXPECT_LE(trails[0].points.size(), 22u);

    const struct {
        float more;
        std::size_t flashes;
    } steps[] = {{0.0f, 1}, {0.04f, 1}, {0.02f, 0}};
    for (const auto& s : steps) {
        update(s.more);
        frame();
        EXPECT_EQ(begins(GL_TRIANGLE_FAN), s.flashes);
    }
}

// Wherever a tank stands in the picture, its label keeps off the heads-up block
// (bottom left, 256 x 80) and the weapon bar (the top 32 pixels).
TEST_F(GameCoreMarksTest, LabelsKeepClearOfTheHudAndTheWeaponBar) {
    newGame(1);
    state->cameraPosition = Vector3(100.0f, 100.0f, 200.0f);
    state->cameraRotation = Vector3(0.0f, 0.0f, 0.0f);
    TankObject& tank = *state->tanks.front();
    std::size_t drawn = 0;
    for (float x = 34.0f; x <= 166.0f; x += 12.0f)
        for (float y = 50.0f; y <= 150.0f; y += 10.0f) {
            tank.position = Vector3(x, y, 150.0f);
            frame();
            const std::vector<Quad> q = glreplay::quads(fakegl::find("glOrtho"));
            const std::size_t plain = 7 + 51; // weapon bar and heads-up texts
            ASSERT_GE(q.size(), plain);
            drawn += q.size() > plain;
            for (std::size_t n = 0; n + plain < q.size(); ++n) {
                SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
                EXPECT_FALSE(q[n].x0 < 256 && q[n].y0 < 80) << "over the heads-up block";
                EXPECT_LE(q[n].y1, 448) << "over the weapon bar";
            }
        }
    EXPECT_GT(drawn, 80u) << "most places have a label";
}
