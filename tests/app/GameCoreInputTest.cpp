#include "CoreFixture.h"

class GameCoreInputTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        leaveTitle();
    }

    // A menu of three options, shown: the second steps through three choices.
    void showMenu() {
        Menu menu;
        menu.options.resize(3);
        for (int k = 0; k < 3; ++k)
            menu.options[k].execute = "set fps " + std::to_string(11 * (k + 1));
        menu.options[1].choices = {"2", "3", "4"};
        state->menus.push_back(menu);
        state->variables["menu"] = 1;
    }

    // Holds a key for a while, in updates no longer than the game simulates at once.
    void holdFor(unsigned char key, float dtSeconds) {
        press(key);
        for (float left = dtSeconds; left > 0.0f; left -= GameCore::maxUpdateSeconds)
            update(std::min(left, GameCore::maxUpdateSeconds));
        release(key);
    }
};

TEST_F(GameCoreInputTest, TheConsoleTakesTypedKeysWithoutHoldingThem) {
    showMenu();
    held('a') = true; // held since before the console opened
    tap(keys::backquote);
    ASSERT_TRUE(state->consoleOpen);
    tap(keys::down); // Down: not printable, and the console comes before the menu
    type("as ");
    EXPECT_EQ(state->console.inputLine(), "as ");
    EXPECT_EQ(state->menus[0].selected, 0);
    EXPECT_FALSE(held('a')) << "the release still clears a held key";
    EXPECT_FALSE(held('s') || held(' '));

    // One Backspace too many, then two keys that are not printable.
    taps({keys::backspace, keys::backspace, keys::backspace, keys::backspace, 1, 200});
    EXPECT_EQ(state->console.inputLine(), "");
    tap(keys::escape);
    EXPECT_EQ(state->variables["menu"], 0) << "Esc still toggles the menu";
    EXPECT_TRUE(state->consoleOpen);
}

TEST_F(GameCoreInputTest, TheMenuStopsAtItsEndsAndRunsTheSelectedOption) {
    showMenu();
    Menu& menu = state->menus[0];
    taps({keys::up, keys::right}); // Up at the top; Right on an option without choices
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.options[0].choice, 0);
    taps({keys::down, keys::down, keys::down, keys::down});
    EXPECT_EQ(menu.selected, 2);
    taps({keys::up, keys::right, keys::right, keys::right, keys::right});
    EXPECT_EQ(menu.options[1].choice, 2);
    taps({keys::left, keys::left, keys::left, keys::left});
    EXPECT_EQ(menu.options[1].choice, 0);
    taps({keys::down, keys::escape, keys::escape});
    EXPECT_EQ(menu.selected, 0) << "Esc goes back to the first option";

    // Enter, line feed and Space run the selected option.
    tap(keys::enter);
    EXPECT_EQ(state->variables["fps"], 11);
    taps({keys::down, keys::lineFeed});
    EXPECT_EQ(state->variables["fps"], 22);
    taps({keys::down, keys::space});
    EXPECT_EQ(state->variables["fps"], 33);
    menu.selected = 7; // past the options: Enter runs nothing
    state->variables["fps"] = 0;
    tap(keys::enter);
    EXPECT_EQ(state->variables["fps"], 0);

    state->currentMenu = 5; // no such menu: keys fall through to the held table
    press('r');
    EXPECT_TRUE(held('r'));
}

TEST_F(GameCoreInputTest, TabCyclesThroughTheWeaponsAndBack) {
    std::string names;
    for (int i = 0; i < 7; ++i) {
        names += (*state->currentWeapon)->name() + ",";
        tap(keys::tab);
    }
    EXPECT_EQ(names, "Baby Missile,Missile,Baby Nuke,Nuke,MIRV,Death's Head,Baby Missile,");
}

// Aiming and the launch speed move at 90 a second and stop or wrap at their ends;
// the barrel rises with a negative rotation and shows as a positive elevation.
TEST_F(GameCoreInputTest, HeldKeysAimWithinTheirLimits) {
    state->tankSkeleton = aimingSkeleton();
    newGame(1);
    float& barrel = state->tankNodes["barrel"]->rotate.x;
    float& turret = state->tankNodes["turret"]->rotate.y;
    struct Case {
        char key;
        float start, dtSeconds, value;
        const char* text;
    };
    const Case cases[] = {
        {'w', 0.0f, 1.5f, -90.0f, "90"},          {'s', -90.0f, 1.25f, 0.0f, "0"},
        {'a', 359.5f, 1 / 90.0f, 0.5f, "0"},      {'a', 315.0f, 0.5f, 360.0f, "360"},
        {'d', 0.25f, 1 / 180.0f, 359.75f, "359"}, {'r', 10.0f, 2.0f, 100.0f, "100"},
        {'f', 100.0f, 0.01f, 99.1f, "99"},        {'f', 99.0f, 5.0f, 0.0f, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " from " << c.start);
        const bool raises = c.key == 'w' || c.key == 's', turns = c.key == 'a' || c.key == 'd';
        float& value = raises ? barrel : turns ? turret : state->launchVelocity;
        value = c.start;
        holdFor(static_cast<unsigned char>(c.key), c.dtSeconds);
        EXPECT_NEAR(value, c.value, 1e-3);
        EXPECT_EQ(raises  ? state->elevationText
                  : turns ? state->angleText
                          : state->velocityText,
                  c.text);
    }

    // Neither key held: the speed is still clamped, its text left alone.
    state->launchVelocity = 250.0f;
    state->tanks.front()->health = 37.5f;
    update(0.1f);
    EXPECT_EQ(state->launchVelocity, 100.0f);
    EXPECT_EQ(state->velocityText + " " + state->healthText, "0 37");
}

TEST_F(GameCoreInputTest, TheCameraStaysInTheBoxAndAboveTheGround) {
    constexpr float marked = -1.0f; // flat at 0 but for two raised grid points
    struct Case {
        float ground; // relative height of the whole grid
        Vector3 start, velocity, end;
    };
    const Case cases[] = {
        {0.25f, {10, 100, 10}, {-30, 0, -30}, {0, 100, 0}},
        {0.25f, {190, 100, 190}, {30, 0, 30}, {200, 100, 200}},
        {0.995f, {100, 150, 100}, {0, 0, 0}, {100, 200, 100}}, // the ceiling wins
        // The ground is the grid point below; the far edge maps to the last one.
        {marked, {200, 0, 200}, {0, 0, 0}, {200, 102, 200}},
        {marked, {100, 0, 50}, {0, 0, 0}, {100, 52, 50}}, // 100 / 200 * 64 = 32
        {marked, {99.9f, 0, 50}, {0, 0, 0}, {99.9f, 2, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.x << ", " << c.start.y << ", " << c.start.z);
        flatten(c.ground == marked ? 0.0f : c.ground);
        if (c.ground == marked) {
            state->terrain.cells().at(63, 63).height = 0.5f;
            state->terrain.cells().at(32, 16).height = 0.25f;
        }
        state->cameraPosition = c.start;
        state->cameraVelocity = c.velocity;
        update(0.0f);
        EXPECT_EQ(state->cameraPosition, c.end);
    }
}

// Held in the console, Backspace and printable keys type again after half a
// second, 25 times a second, until released or the console closes. Enter runs
// its line once however long it is held, and the line stays as an ordinary one;
// an Enter on an empty line runs nothing.
TEST_F(GameCoreInputTest, AHeldConsoleKeyTypesAgainAfterAPauseButEnterRunsOnce) {
    tap(keys::backquote);
    type("abcdefgh");
    press(keys::backspace);
    update(0.25f);
    EXPECT_EQ(state->console.inputLine(), "abcdefg");
    update(0.25f); // half a second: the first repeat
    EXPECT_EQ(state->console.inputLine(), "abcdef");
    update(0.08f);
    EXPECT_EQ(state->console.inputLine(), "abcd");
    release(keys::backspace);
    update(0.25f);
    EXPECT_EQ(state->console.inputLine(), "abcd");

    press('x');
    update(0.25f);
    update(0.25f);
    EXPECT_EQ(state->console.inputLine(), "abcdxx");
    tap(keys::backquote); // closing the console stops it, as it empties the line
    update(0.25f);
    tap(keys::backquote);
    update(0.25f);
    update(0.25f);
    EXPECT_EQ(state->console.inputLine(), "");
    release('x');

    type("set fps 1");
    TraceCapture capture;
    press(keys::enter);
    for (int i = 0; i < 8; ++i)
        update(0.25f);
    release(keys::enter);
    tap(keys::enter);
    EXPECT_EQ(capture.out(), "processCommand: \"set fps 1\"\n");
    EXPECT_EQ(consoleLines()[1], "set fps 1");
}
