#pragma once
#include "app/GameCore.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "world/TankObject.h"
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

// A game core on the fake GL, built in an empty folder so that every asset is
// missing: textures 0, empty skeletons, no menus. Its start-up lines are kept in
// startupOut. Tests give it the skeleton and menus they need.
class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        char folder[] = "/tmp/vantrell-core.XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        emptyFolder = folder;
        char* previous = getcwd(nullptr, 0);
        ASSERT_NE(previous, nullptr);
        ASSERT_EQ(chdir(folder), 0);
        {
            CaptureStreams capture;
            core = std::make_unique<GameCore>();
            startupOut = capture.out();
        }
        EXPECT_EQ(chdir(previous), 0);
        std::free(previous);
    }

    void TearDown() override {
        {
            CaptureStreams quiet;
            core.reset();
        }
        rmdir(emptyFolder.c_str());
    }

    // Leaves the title the way a player does: the command "terrain" hides the title
    // image (here without a new terrain) and the Esc that closes the menu clears the
    // result latch set at start.
    void leaveTitle() {
        core->splashVisible = false;
        core->messageShown = false;
    }

    void press(unsigned char key) { core->keyboard(key, true, 0); }
    void release(unsigned char key) { core->keyboard(key, false, 0); }
    void tap(unsigned char key) {
        press(key);
        release(key);
    }

    // One update with a chosen frame time, its trace lines swallowed.
    void update(float dtSeconds) {
        CaptureStreams quiet;
        core->update(dtSeconds);
    }

    // Starts a game of n players, its trace lines swallowed.
    void newGame(int n) {
        CaptureStreams quiet;
        core->newGame(n);
    }

    std::vector<std::string> tankNames() const {
        std::vector<std::string> names;
        for (const TankObject* tank : core->tanks)
            names.push_back(tank->name());
        return names;
    }

    std::string currentName() const {
        return core->currentTank == core->tanks.end() ? "(none)" : (*core->currentTank)->name();
    }

    std::vector<std::string> consoleLines() const {
        return {core->console.lines().begin(), core->console.lines().end()};
    }

    // A tank model with the three working nodes: the turret 2 above the centre,
    // the barrel 1 above the turret and the tip 4 along the barrel (+z at rest).
    static Skeleton aimingSkeleton() {
        Skeleton tip;
        tip.id = "tip";
        tip.translate = Vector3(0.0f, 0.0f, 4.0f);
        Skeleton barrel;
        barrel.id = "barrel";
        barrel.translate = Vector3(0.0f, 1.0f, 0.0f);
        barrel.children.push_back(tip);
        Skeleton turret;
        turret.id = "turret";
        turret.translate = Vector3(0.0f, 2.0f, 0.0f);
        turret.children.push_back(barrel);
        Skeleton body;
        body.id = "body";
        body.children.push_back(turret);
        return body;
    }

    std::unique_ptr<GameCore> core;
    std::string startupOut;

private:
    std::string emptyFolder;
};
