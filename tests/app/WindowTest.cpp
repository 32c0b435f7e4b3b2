#include "app/Window.h"
#include "app/KeyCodes.h"
#include "support/FakeGL.h"
#include "support/GameCorePeer.h"
#include "support/TraceCapture.h"
#include <GL/freeglut.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window with a game attached, as after main's call to mainLoop (the fake
// glutMainLoop returns at once); GLUT's events reach it through fakegl::glut().
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        TraceCapture quiet;
        window = std::make_unique<Window>(&argc, argv, "Vantrell", 640, 480);
        game = std::make_unique<GameCore>();
        state = std::make_unique<GameCorePeer>(*game);
        window->mainLoop(game.get());
    }
    void TearDown() override {
        TraceCapture quiet;
        state.reset();
        game.reset();
        window.reset();
    }

    int argc = 1;
    char name[9] = "vantrell";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<Window> window;
    std::unique_ptr<GameCore> game;
    std::unique_ptr<GameCorePeer> state; // what is inside game
    const fakegl::Callbacks& glut = fakegl::glut();
};

} // namespace

// Every event GLUT can deliver is registered, then the server is asked to send a
// held key's repeats as presses alone; where it cannot, freeglut is asked to drop
// the repeats itself.
TEST_F(WindowTest, ConstructionRegistersEveryCallbackAndTamesKeyRepeat) {
    for (bool serverCan : {true, false}) {
        SCOPED_TRACE(serverCan);
        fakegl::reset();
        fakegl::setDetectableAutoRepeat(serverCan);
        TraceCapture capture;
        { Window w(&argc, argv, "Vantrell", 640, 480); }
        EXPECT_EQ(capture.out(), "Window::Window()\nAfter init\ninit display mode\nsize\n"
                                 "Doing stuff.\nWindow created.\nWindow::~Window()\n");
        const fakegl::Callbacks& c = fakegl::glut();
        for (const void* callback :
             {(void*)c.reshape, (void*)c.keyboard, (void*)c.keyboardUp, (void*)c.special,
              (void*)c.specialUp, (void*)c.mouse, (void*)c.motion})
            EXPECT_NE(callback, nullptr);
        EXPECT_EQ(fakegl::count("glutIgnoreKeyRepeat"), serverCan ? 0u : 1u);
    }
}

// A key is held and let go of by the key, not by its character: Shift, Ctrl or
// Caps Lock may change the character between the press and the release (or the
// repeats), and the game lets go of what went down. Only the first press of a
// held key reaches the game; a release always does. The fake keyboard is a US one.
TEST_F(WindowTest, AKeyIsHeldAndLetGoOfByTheKeyWhateverItsCharacterBecame) {
    // An event is a character pressed, its negative let go; GLUT's special keys
    // come as special + their number.
    constexpr int special = 1000;
    struct Case {
        const char* what;
        std::vector<int> events;
        const char* trace;
    };
    const Case cases[] = {
        {"repeats dropped, a new press after the release is one",
         {' ', ' ', -' ', ' ', -' '},
         "KEYDOWN: 32 = ' '\nKEYUP: 32 = ' '\nKEYDOWN: 32 = ' '\nKEYUP: 32 = ' '\n"},
        {"Shift on a digit", {'1', '!', -'!'}, "KEYDOWN: 49 = '1'\nKEYUP: 49 = '1'\n"},
        {"Shift on a letter", {'a', 'A', -'A'}, "KEYDOWN: 97 = 'a'\nKEYUP: 97 = 'a'\n"},
        {"Shift let go of first", {'#', -'3'}, "KEYDOWN: 35 = '#'\nKEYUP: 35 = '#'\n"},
        {"Ctrl on a letter", {'a', 1, -1}, "KEYDOWN: 97 = 'a'\nKEYUP: 97 = 'a'\n"},
        {"Esc is not Ctrl and '['",
         {'[', 27, -27, -27},
         "KEYDOWN: 91 = '['\nKEYDOWN: 27 = '\x1b'\nKEYUP: 27 = '\x1b'\nKEYUP: 91 = '['\n"},
        {"a key never pressed", {-'!'}, "KEYUP: 33 = '!'\n"},
        {"arrows, in the raw byte above 127; F1 dropped",
         {special + GLUT_KEY_UP, special + GLUT_KEY_UP, -special - GLUT_KEY_UP,
          special + GLUT_KEY_F1, -special - GLUT_KEY_F1},
         "KEYDOWN: 130 = '\x82'\nKEYUP: 130 = '\x82'\n"},
    };
    state->variables["keydump"] = 1;
    state->splashVisible = false; // keys go to the held-key table
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TraceCapture capture;
        for (const int e : c.events) {
            const int code = std::abs(e) % special;
            if (std::abs(e) >= special)
                (e > 0 ? glut.special : glut.specialUp)(code, 0, 0);
            else
                (e > 0 ? glut.keyboard : glut.keyboardUp)(static_cast<unsigned char>(code), 0, 0);
        }
        EXPECT_EQ(capture.out(), c.trace);
    }
}

// A drag across the whole window turns the view by 90 degrees, in fractions of
// the size the window was created with even after it grew; past 360 the turn
// wraps, below 0 it does not. Motion with the button up turns nothing but moves
// the reference point.
TEST_F(WindowTest, DragTurnsTheCameraByFractionsOfTheCreatedSize) {
    TraceCapture quiet;
    glut.reshape(1280, 480);
    EXPECT_EQ(state->screen.getWidth(), 1280);
    glut.mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    glut.motion(1280, 240); // two created widths right, half a height down
    EXPECT_FLOAT_EQ(state->cameraRotation.y, -180.0f);
    EXPECT_FLOAT_EQ(state->cameraRotation.x, -45.0f);
    state->cameraRotation.y = 350.0f;
    glut.motion(960, 240); // half of 640 to the left
    EXPECT_FLOAT_EQ(state->cameraRotation.y, 35.0f);
    glut.mouse(GLUT_LEFT_BUTTON, GLUT_UP, 100, 100);
    glut.motion(400, 300);
    EXPECT_FLOAT_EQ(state->cameraRotation.y, 35.0f);
    glut.mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 400, 300);
    glut.motion(464, 300);
    EXPECT_FLOAT_EQ(state->cameraRotation.y, 26.0f);
}

// Another window taking the keyboard lets go of every held key, each as its
// release would, and the keys go down afresh afterwards. The server is asked at
// most every focusPollMs; a window it never named as the focus keeps its keys.
TEST_F(WindowTest, LosingTheFocusLetsGoOfEveryHeldKey) {
    state->variables["keydump"] = 1;
    state->splashVisible = false;
    const auto idleAfter = [](int ms) {
        fakegl::advanceClock(ms);
        TraceCapture capture;
        Window::idle();
        return capture.out();
    };
    TraceCapture quiet;
    fakegl::setInputFocus(false);
    EXPECT_EQ(idleAfter(0), "");
    glut.keyboard('a', 0, 0);
    EXPECT_EQ(idleAfter(Window::focusPollMs), "") << "never had the focus";
    fakegl::setInputFocus(true);
    EXPECT_EQ(idleAfter(Window::focusPollMs), "");
    glut.keyboard('!', 0, 0);
    glut.special(GLUT_KEY_UP, 0, 0);
    fakegl::setInputFocus(false);
    EXPECT_EQ(idleAfter(Window::focusPollMs - 1), "") << "asked too soon";
    EXPECT_EQ(idleAfter(1), "KEYUP: 130 = '\x82'\nKEYUP: 33 = '!'\nKEYUP: 97 = 'a'\n");
    EXPECT_FALSE(state->keyDown['a'] || state->keyDown['!'] || state->keyDown[keys::up]);
    EXPECT_EQ(idleAfter(Window::focusPollMs), "");
    const std::string again = [&] {
        TraceCapture capture;
        glut.keyboard('a', 0, 0);
        return capture.out();
    }();
    EXPECT_EQ(again, "KEYDOWN: 97 = 'a'\n");
}
