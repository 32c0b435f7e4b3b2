#pragma once
#include "app/KeyCodes.h"
#include "support/FakeAL.h"
#include "support/FakeGL.h"
#include "support/GameCorePeer.h"
#include "support/TraceCapture.h"
#include "world/TankObject.h"
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A game core on the fake GL, built in an empty folder so that every asset is
// missing: textures 0, empty skeletons, no menus. Its start-up lines are kept in
// startupOut. Tests give it the skeleton and menus they need.
class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        fakeal::reset();
        char folder[] = "/tmp/vantrell-core.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        emptyFolder = folder;
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(emptyFolder);
        TraceCapture capture;
        core = std::make_unique<GameCore>();
        state = std::make_unique<GameCorePeer>(*core);
        startupOut = capture.out();
        std::filesystem::current_path(previous);
    }

    void TearDown() override {
        TraceCapture capture;
        state.reset();
        core.reset();
        EXPECT_EQ(capture.out().rfind("~GameCore()\n", 0), 0u) << "the first line of the teardown";
        std::filesystem::remove(emptyFolder);
    }

    // Leaves the title the way a player does: "terrain" hides the title image and
    // the Esc that closes the menu clears the result latch set at start.
    void leaveTitle() { state->splashVisible = state->messageShown = false; }

    bool& held(unsigned char key) { return state->keyDown[key]; }
    void press(unsigned char key) { core->keyboard(key, true, 0); }
    void release(unsigned char key) { core->keyboard(key, false, 0); }
    void tap(unsigned char key) {
        press(key);
        release(key);
    }
    void taps(std::initializer_list<unsigned char> keyCodes) {
        for (unsigned char key : keyCodes)
            tap(key);
    }
    void type(const std::string& text) {
        for (char c : text)
            tap(static_cast<unsigned char>(c));
    }
    // An update or a new game with its trace lines swallowed.
    void update(float dtSeconds) {
        TraceCapture quiet;
        core->update(dtSeconds);
    }
    void newGame(int players) {
        TraceCapture quiet;
        core->newGame(players);
    }

    std::vector<std::string> tankNames() const {
        std::vector<std::string> names;
        for (const TankObject* tank : state->tanks)
            names.push_back(tank->name());
        return names;
    }
    std::string currentName() const {
        return state->currentTank == state->tanks.end() ? "(none)" : (*state->currentTank)->name();
    }
    std::vector<std::string> consoleLines() const {
        return {state->console.lines().begin(), state->console.lines().end()};
    }

    // Flattens the whole grid at a relative height.
    void flatten(float height) {
        for (std::uint32_t i = 0; i < state->terrain.width(); ++i)
            for (std::uint32_t j = 0; j < state->terrain.height(); ++j)
                state->terrain.cells().at(i, j).height = height;
    }

    // A tank model with the three working nodes: the turret 2 above the centre,
    // the barrel 1 above the turret and the tip 4 along the barrel (+z at rest).
    static Skeleton aimingSkeleton() {
        Skeleton tip = node("tip", Vector3(0.0f, 0.0f, 4.0f), {});
        Skeleton barrel = node("barrel", Vector3(0.0f, 1.0f, 0.0f), {tip});
        return node("body", Vector3(), {node("turret", Vector3(0.0f, 2.0f, 0.0f), {barrel})});
    }
    static Skeleton node(const std::string& id, const Vector3& translate,
                         const std::vector<Skeleton>& children) {
        Skeleton skeleton;
        skeleton.id = id;
        skeleton.translate = translate;
        skeleton.children = children;
        return skeleton;
    }

    std::unique_ptr<GameCore> core;
    std::unique_ptr<GameCorePeer> state; // what is inside core
    std::string startupOut;

private:
    std::string emptyFolder;
};
