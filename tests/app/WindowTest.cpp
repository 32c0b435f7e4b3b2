#include "app/Window.h"
#include "app/KeyCodes.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include "support/GameCorePeer.h"
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window with a game attached, as after main's call to mainLoop (the fake
// glutMainLoop returns at once); GLUT's events reach it through fakegl::glut().
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        CaptureStreams quiet;
        window = std::make_unique<Window>(&argc, argv, "Vantrell", 640, 480);
        game = std::make_unique<GameCore>();
        state = std::make_unique<GameCorePeer>(*game);
        window->mainLoop(game.get());
    }
    void TearDown() override {
        CaptureStreams quiet;
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
TEST_F(WindowTest, ConstructionTracesEachStepRegistersNineCallbacksAndTamesKeyRepeat) {
    const std::vector<std::string> registered = {
        "glutInit",         "glutInitDisplayMode",  "glutInitWindowSize",
        "glutCreateWindow", "glutDisplayFunc",      "glutIdleFunc",
        "glutReshapeFunc",  "glutKeyboardFunc",     "glutKeyboardUpFunc",
        "glutSpecialFunc",  "glutSpecialUpFunc",    "glutMouseFunc",
        "glutMotionFunc",   "glXGetCurrentDisplay", "XkbSetDetectableAutoRepeat"};
    for (bool serverCan : {true, false}) {
        SCOPED_TRACE(serverCan);
        fakegl::reset();
        fakegl::setDetectableAutoRepeat(serverCan);
        CaptureStreams capture;
        { Window w(&argc, argv, "Vantrell", 640, 480); }
        EXPECT_EQ(capture.out(), "Window::Window()\nAfter init\ninit display mode\nsize\n"
                                 "Doing stuff.\nWindow created.\nWindow::~Window()\n");
        std::vector<std::string> names = registered;
        std::vector<double> args = {1, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH, 640, 480,
                                    1}; // asked: on
        if (!serverCan) {
            names.push_back("glutIgnoreKeyRepeat");
            args.push_back(1);
        }
        EXPECT_EQ(fakegl::names(), names);
        EXPECT_EQ(fakegl::args(), args);
    }
}

// Repeats come as presses of a key already down, in whichever case Shift makes of
// a letter meanwhile: only the first press of a held key reaches the game, and a
// release always does.
TEST_F(WindowTest, APressOfAKeyAlreadyDownIsARepeatAndIsDropped) {
    state->variables["keydump"] = 1;
    CaptureStreams capture;
    glut.keyboard(' ', 0, 0);
    glut.keyboard(' ', 0, 0);
    glut.keyboard('a', 0, 0);
    glut.keyboard('A', 0, 0); // Shift pressed while a repeats
    glut.keyboardUp('A', 0, 0);
    glut.keyboardUp(' ', 0, 0);
    glut.special(GLUT_KEY_UP, 0, 0);
    glut.special(GLUT_KEY_UP, 0, 0);
    glut.specialUp(GLUT_KEY_UP, 0, 0);
    glut.keyboard(' ', 0, 0); // pressed again after its release: a new press
    EXPECT_EQ(capture.out(), "KEYDOWN: 32 = ' '\nKEYDOWN: 97 = 'a'\nKEYUP: 65 = 'A'\n"
                             "KEYUP: 32 = ' '\nKEYDOWN: 130 = '\x82'\nKEYUP: 130 = '\x82'\n"
                             "KEYDOWN: 32 = ' '\n");
}

// The arrow and page keys follow the 128 ASCII codes; the keydump lines show the
// raw byte, above 127 too.
TEST_F(WindowTest, SpecialKeysFoldIntoTheEightBitSpaceAndOthersAreDropped) {
    std::vector<int> codes;
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN, GLUT_KEY_PAGE_UP,
                    GLUT_KEY_PAGE_DOWN, GLUT_KEY_F1, GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT})
        codes.push_back(Window::specialKeyCode(key));
    EXPECT_EQ(codes, (std::vector<int>{keys::left, keys::right, keys::up, keys::down, keys::pageUp,
                                       keys::pageDown, -1, -1, -1, -1}));
    EXPECT_EQ(keys::left, 128) << "the arrow and page keys follow the 128 ASCII codes";

    state->variables["keydump"] = 1;
    CaptureStreams capture;
    for (const int key : {GLUT_KEY_LEFT, GLUT_KEY_F1}) {
        glut.special(key, 0, 0);
        glut.specialUp(key, 0, 0);
    }
    glut.keyboard('A', 0, 0);
    glut.keyboardUp('A', 0, 0);
    EXPECT_EQ(capture.out(), "KEYDOWN: 128 = '\x80'\nKEYUP: 128 = '\x80'\n"
                             "KEYDOWN: 65 = 'A'\nKEYUP: 65 = 'A'\n");
}

TEST_F(WindowTest, DragTurnsTheCameraByFractionsOfTheCreatedSize) {
    CaptureStreams quiet;
    glut.mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    glut.motion(640, 240); // a full width right, half a height down
    EXPECT_FLOAT_EQ(state->cameraRotation.y, -90.0f);
    EXPECT_FLOAT_EQ(state->cameraRotation.x, -45.0f);

    // After the window grows, coordinates are still fractions of 640 x 480.
    glut.reshape(1280, 480);
    EXPECT_EQ(state->screen.getWidth(), 1280);
    state->cameraRotation = Vector3(0, 0, 0);
    glut.mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    glut.motion(1280, 0);
    EXPECT_FLOAT_EQ(state->cameraRotation.y, -180.0f) << "no wrap below 0";
    state->cameraRotation.y = 350.0f;
    glut.motion(960, 0); // half of 640 to the left
    EXPECT_FLOAT_EQ(state->cameraRotation.y, 35.0f) << "past 360 it wraps";

    // Motion after a release turns nothing but still moves the reference point.
    state->cameraRotation = Vector3(0, 0, 0);
    glut.mouse(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 100);
    glut.motion(400, 300);
    EXPECT_EQ(state->cameraRotation, Vector3(0, 0, 0));
    glut.mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 400, 300);
    glut.motion(464, 300);
    EXPECT_FLOAT_EQ(state->cameraRotation.y, -9.0f);
}
