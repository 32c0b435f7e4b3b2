// The marks that make a battle readable (tank colours, labels, shell trails,
// burst flashes), drawn by a real GameCore on the recording GL, and their absence
// under "marks" 0.
#include "CoreFixture.h"
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
// of a battle's frame as it was drawn before there were any marks.
TEST_F(GameCoreMarksTest, MarksOffDrawsThePlainFrame) {
    battle();
    state->variables["marks"] = 0;
    frame();
    EXPECT_EQ(fakegl::calls().size(), 80064u);
    EXPECT_EQ(logHash(), 16407550516030738964u);
}
