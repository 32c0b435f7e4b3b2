#include "CoreFixture.h"

class GameCoreInputTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
    }

    void type(const std::string& text) {
        for (char c : text)
            tap(static_cast<unsigned char>(c));
    }

    // A menu of three options: the second steps through three choices.
    void addMenu() {
        Menu menu;
        menu.id = "main";
        for (const char* execute : {"set fps 11", "set fps 22", "set fps 33"}) {
            MenuOption option;
            option.execute = execute;
            menu.options.push_back(option);
        }
        menu.options[1].choices = {"2", "3", "4"};
        core->menus.push_back(menu);
    }

    // Flattens the whole grid at a relative height.
    void flatten(float height) {
        for (std::uint32_t i = 0; i < core->terrain.width(); ++i)
            for (std::uint32_t j = 0; j < core->terrain.height(); ++j)
                core->terrain.cells().at(i, j).height = height;
    }

    // A game of one aiming tank that no physics can disturb within a test.
    void startAiming() {
        core->tankSkeleton = aimingSkeleton();
        newGame(1);
    }

    // Holds a key through one update.
    void holdFor(unsigned char key, float dtSeconds) {
        press(key);
        update(dtSeconds);
        release(key);
    }
};

TEST_F(GameCoreInputTest, TheTitleTakesAnyKeyBeforeEverythingElse) {
    core->splashVisible = true;
    press(96); // even the backquote only opens the menu here
    EXPECT_EQ(core->variables["menu"], 1);
    EXPECT_FALSE(core->consoleOpen);
    press(27); // the menu is up: Esc closes it again and clears the message latch
    EXPECT_EQ(core->variables["menu"], 0);
    EXPECT_FALSE(core->messageShown);
    update(0.0f);
    EXPECT_EQ(core->message, "Draw Game") << "no game counts as no tank left";
}

TEST_F(GameCoreInputTest, TheConsoleTakesTypedKeysWithoutHoldingThem) {
    core->keyDown['a'] = true; // held since before the console opened
    tap(96);
    ASSERT_TRUE(core->consoleOpen);
    type("as ");
    EXPECT_EQ(core->console.inputLine(), "as ");
    EXPECT_FALSE(core->keyDown['a']) << "the release still clears a held key";
    EXPECT_FALSE(core->keyDown['s']);
    EXPECT_FALSE(core->keyDown[' ']);

    tap(8);
    EXPECT_EQ(core->console.inputLine(), "as");
    tap(8);
    tap(8);
    tap(8);
    EXPECT_EQ(core->console.inputLine(), "");
    tap(1);   // not printable: ignored
    tap(200); // nor this
    EXPECT_EQ(core->console.inputLine(), "");
}

TEST_F(GameCoreInputTest, EnterRunsTheTypedLineAndNothingWhenItIsEmpty) {
    tap(96);
    const std::size_t lines = consoleLines().size();
    {
        CaptureStreams capture;
        tap(13);
        EXPECT_EQ(capture.out(), "");
    }
    EXPECT_EQ(consoleLines().size(), lines);

    type("set fps 5");
    {
        CaptureStreams quiet;
        tap(13);
    }
    EXPECT_EQ(core->variables["fps"], 5);
    EXPECT_FALSE(core->console.inputOpen());
    EXPECT_EQ(consoleLines().front(), "set fps 5") << "the command stays as an ordinary line";

    std::vector<std::string> after = consoleLines();
    tap(13);
    after.insert(after.begin(), "");
    EXPECT_EQ(consoleLines(), after) << "a second Enter opens a fresh input line and runs nothing";
    EXPECT_TRUE(core->console.inputOpen());
}

TEST_F(GameCoreInputTest, TheBackquoteEmptiesALineBeingTyped) {
    tap(96);
    type("tanks 4");
    tap(96);
    EXPECT_FALSE(core->consoleOpen);
    EXPECT_EQ(core->console.inputLine(), "");
    tap(96);
    tap(13);
    EXPECT_TRUE(core->tanks.empty());
}

TEST_F(GameCoreInputTest, TheConsoleComesBeforeTheMenuButEscStillTogglesIt) {
    addMenu();
    core->variables["menu"] = 1;
    tap(96);
    tap(131); // Down goes nowhere: not printable, and the console has the keys
    type("x");
    EXPECT_EQ(core->menus[0].selected, 0);
    EXPECT_EQ(core->console.inputLine(), "x");
    tap(27);
    EXPECT_EQ(core->variables["menu"], 0);
    EXPECT_TRUE(core->consoleOpen);
}

TEST_F(GameCoreInputTest, MenuSelectionAndChoicesStopAtTheirEnds) {
    addMenu();
    core->variables["menu"] = 1;
    Menu& menu = core->menus[0];
    tap(130);
    EXPECT_EQ(menu.selected, 0);
    tap(128);
    tap(129); // the first option has no choices
    EXPECT_EQ(menu.options[0].choice, 0);
    for (int i = 0; i < 4; ++i)
        tap(131);
    EXPECT_EQ(menu.selected, 2);
    tap(130);
    EXPECT_EQ(menu.selected, 1);
    for (int i = 0; i < 4; ++i)
        tap(129);
    EXPECT_EQ(menu.options[1].choice, 2);
    for (int i = 0; i < 4; ++i)
        tap(128);
    EXPECT_EQ(menu.options[1].choice, 0);
    press(131);
    EXPECT_FALSE(core->keyDown[131]) << "keys the menu takes are never held";
    tap(27);
    tap(27);
    EXPECT_EQ(menu.selected, 0) << "Esc goes back to the first option";
}

TEST_F(GameCoreInputTest, EnterLineFeedAndSpaceRunTheSelectedOption) {
    addMenu();
    core->variables["menu"] = 1;
    struct Case {
        unsigned char key;
        int moves;
        int fps;
    };
    for (const Case& c : {Case{13, 0, 11}, Case{10, 1, 22}, Case{32, 1, 33}}) {
        SCOPED_TRACE(int(c.key));
        for (int i = 0; i < c.moves; ++i)
            tap(131);
        tap(c.key);
        EXPECT_EQ(core->variables["fps"], c.fps);
    }
    core->menus[0].selected = 7; // past the options: Enter runs nothing
    tap(13);
    EXPECT_EQ(core->variables["fps"], 33);
}

TEST_F(GameCoreInputTest, AMenuWithoutOptionsOrOutOfRangeLetsNothingBreak) {
    core->menus.push_back(Menu());
    core->variables["menu"] = 1;
    for (unsigned char key : {13, 128, 129, 130, 131})
        tap(key);
    EXPECT_EQ(core->menus[0].selected, 0);

    core->currentMenu = 5; // no such menu: keys fall through to the held table
    press('r');
    EXPECT_TRUE(core->keyDown['r']);
}

TEST_F(GameCoreInputTest, TabCyclesThroughTheWeaponsAndBack) {
    std::vector<std::string> names;
    for (int i = 0; i < 7; ++i) {
        names.push_back((*core->currentWeapon)->name());
        tap('\t');
    }
    EXPECT_EQ(names[0], "Baby Missile");
    EXPECT_EQ(names[1], "Missile");
    EXPECT_EQ(names[2], "Baby Nuke");
    EXPECT_EQ(names[3], "Nuke");
    EXPECT_EQ(names[4], "MIRV");
    EXPECT_EQ(names[6], "Baby Missile");
    EXPECT_EQ(std::next(core->weapons.begin()), core->currentWeapon);
}

TEST_F(GameCoreInputTest, TheBarrelStopsStraightUpAndLevel) {
    startAiming();
    holdFor('w', 1.5f);
    EXPECT_EQ(core->tankNodes["barrel"]->rotate.x, -90.0f);
    EXPECT_EQ(core->elevation, -90.0f);
    EXPECT_EQ(core->elevationText, "90");

    holdFor('s', 0.5f);
    EXPECT_EQ(core->tankNodes["barrel"]->rotate.x, -45.0f);
    EXPECT_EQ(core->elevationText, "45");
    holdFor('s', 0.75f);
    EXPECT_EQ(core->tankNodes["barrel"]->rotate.x, 0.0f);
    EXPECT_EQ(core->elevationText, "0");
}

TEST_F(GameCoreInputTest, TheTurretWrapsAroundAFullCircle) {
    startAiming();
    float& angle = core->tankNodes["turret"]->rotate.y;
    angle = 359.5f;
    holdFor('a', 1.0f / 90.0f);
    EXPECT_NEAR(angle, 0.5f, 1e-4);
    EXPECT_EQ(core->angleText, "0");

    angle = 315.0f;
    holdFor('a', 0.5f);
    EXPECT_EQ(angle, 360.0f) << "exactly 360 stays until it is passed";
    EXPECT_EQ(core->angleText, "360");

    angle = 0.25f;
    holdFor('d', 1.0f / 180.0f);
    EXPECT_NEAR(angle, 359.75f, 1e-3);
    EXPECT_EQ(core->turretAngle, angle);
    EXPECT_EQ(core->angleText, "359");

    holdFor('A', 1.0f); // only the lower-case letters aim
    EXPECT_NEAR(angle, 359.75f, 1e-3);
}

TEST_F(GameCoreInputTest, TheLaunchVelocityStaysBetweenZeroAndAHundred) {
    startAiming();
    holdFor('r', 0.5f);
    EXPECT_EQ(core->launchVelocity, 55.0f);
    EXPECT_EQ(core->velocityText, "55");
    holdFor('r', 2.0f);
    EXPECT_EQ(core->launchVelocity, 100.0f);
    EXPECT_EQ(core->velocityText, "100");
    holdFor('f', 0.01f);
    EXPECT_NEAR(core->launchVelocity, 99.1f, 1e-4);
    EXPECT_EQ(core->velocityText, "99");
    holdFor('f', 5.0f);
    EXPECT_EQ(core->launchVelocity, 0.0f);
    EXPECT_EQ(core->velocityText, "0");

    // Neither key held: the value is still clamped, the text left alone.
    core->launchVelocity = 250.0f;
    update(0.1f);
    EXPECT_EQ(core->launchVelocity, 100.0f);
    EXPECT_EQ(core->velocityText, "0");
}

TEST_F(GameCoreInputTest, HealthTextFollowsTheCurrentTank) {
    startAiming();
    core->tanks.front()->health = 37.5f;
    update(0.0f);
    EXPECT_EQ(core->healthText, "37");
}

TEST_F(GameCoreInputTest, NoTankMeansNothingToAim) {
    core->keyDown['a'] = true;
    core->keyDown['w'] = true;
    update(1.0f);
    EXPECT_EQ(core->angleText, "0");
    EXPECT_EQ(core->elevationText, "0");
    EXPECT_TRUE(core->tankNodes.empty()) << "looking up a node adds none";
    press(' ');
    EXPECT_TRUE(core->objects.empty());
}

TEST_F(GameCoreInputTest, TheLightMovesAFixedStepPerUpdate) {
    core->keyDown['j'] = true;
    core->keyDown['u'] = true;
    core->keyDown['k'] = true;
    for (float dt : {0.0f, 0.5f, 2.0f})
        update(dt);
    EXPECT_NEAR(core->lightPosition.x, 199.7f, 1e-4);
    EXPECT_NEAR(core->lightPosition.y, 200.3f, 1e-4);
    EXPECT_NEAR(core->lightPosition.z, 200.3f, 1e-4);
}

TEST_F(GameCoreInputTest, FlyingForwardMovesAlongTheViewAndIsDamped) {
    flatten(0.0f);
    core->cameraPosition = Vector3(100.0f, 50.0f, 100.0f);
    holdFor(130, 0.1f); // Up, looking along -z
    EXPECT_NEAR(core->cameraPosition.z, 99.6f, 1e-4);
    EXPECT_NEAR(core->cameraPosition.x, 100.0f, 1e-4);
    EXPECT_NEAR(core->cameraVelocity.z, -0.24f, 1e-5);

    core->cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);
    core->cameraRotation.y = 90.0f;
    holdFor(130, 0.1f); // turned a quarter: now along +x
    EXPECT_NEAR(core->cameraPosition.x, 100.4f, 1e-4);
    EXPECT_NEAR(core->cameraPosition.z, 99.6f, 1e-4);

    core->cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);
    holdFor(132, 0.25f); // Page Up; 1 - 4 dt is 0, so the flight stops at once
    EXPECT_NEAR(core->cameraPosition.y, 51.0f, 1e-4);
    EXPECT_EQ(core->cameraVelocity.y, 0.0f);
}

TEST_F(GameCoreInputTest, TheCameraStaysInTheBoxAndAboveTheGround) {
    struct Case {
        float ground; // relative height of the whole grid
        Vector3 start;
        Vector3 velocity;
        Vector3 end;
    };
    const Case cases[] = {
        {0.25f, {10, 100, 10}, {-30, 0, -30}, {0, 100, 0}},
        {0.25f, {190, 100, 190}, {30, 0, 30}, {200, 100, 200}},
        {0.25f, {100, 60, 100}, {0, -30, 0}, {100, 52, 100}},
        {0.25f, {100, 190, 100}, {0, 30, 0}, {100, 200, 100}},
        {0.995f, {100, 150, 100}, {0, 0, 0}, {100, 200, 100}}, // the ceiling wins
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.x << ", " << c.start.y << ", " << c.start.z);
        flatten(c.ground);
        core->cameraPosition = c.start;
        core->cameraVelocity = c.velocity;
        update(0.0f);
        EXPECT_EQ(core->cameraPosition, c.end);
    }
}

TEST_F(GameCoreInputTest, TheGroundUnderTheCameraIsTheGridPointBelowIt) {
    flatten(0.0f);
    core->terrain.cells().at(63, 63).height = 0.5f;
    core->terrain.cells().at(32, 16).height = 0.25f;
    struct Case {
        Vector3 at;
        float y;
    };
    const Case cases[] = {
        {{200, 0, 200}, 102}, // the far edge maps to the last grid point
        {{100, 0, 50}, 52},   // 100 / 200 * 64 = 32, 50 / 200 * 64 = 16
        {{99.9f, 0, 50}, 2},  // column 31
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x << ", " << c.at.z);
        core->cameraPosition = c.at;
        core->cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);
        update(0.0f);
        EXPECT_EQ(core->cameraPosition.y, c.y);
    }
}

TEST_F(GameCoreInputTest, DraggingPastAFullTurnWrapsOnlyAbove360) {
    core->cameraRotation = Vector3(355.0f, 350.0f, 0.0f);
    core->mouseMotion(true, 0.0f, 0.0f, -0.5f, -0.5f);
    EXPECT_NEAR(core->cameraRotation.y, 35.0f, 1e-4);
    EXPECT_NEAR(core->cameraRotation.x, 40.0f, 1e-4);
    core->mouseMotion(true, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_NEAR(core->cameraRotation.y, -55.0f, 1e-4) << "no wrap below 0";
}
