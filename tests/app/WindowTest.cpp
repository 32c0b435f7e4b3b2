#include "app/Window.h"
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { fakegl::reset(); }

    void TearDown() override {
        CaptureStreams quiet;
        game.reset();
        window.reset();
    }

    // A window with a game attached, as after main's call to mainLoop (the fake
    // glutMainLoop returns at once).
    void attachGame() {
        CaptureStreams quiet;
        int argc = 1;
        static char name[] = "vantrell";
        static char* argv[] = {name, nullptr};
        window = std::make_unique<Window>(&argc, argv, "Vantrell", 640, 480);
        game = std::make_unique<GameCore>();
        window->mainLoop(game.get());
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<GameCore> game;
};

} // namespace

TEST_F(WindowTest, ConstructionTracesEachStepRegistersNineCallbacksAndIgnoresKeyRepeat) {
    int argc = 1;
    char name[] = "vantrell";
    char* argv[] = {name, nullptr};
    CaptureStreams capture;
    { Window w(&argc, argv, "Vantrell", 640, 480); }
    EXPECT_EQ(capture.out(), "Window::Window()\nAfter init\ninit display mode\nsize\n"
                             "Doing stuff.\nWindow created.\nWindow::~Window()\n");
    EXPECT_EQ(fakegl::names(),
              (std::vector<std::string>{"glutInit", "glutInitDisplayMode", "glutInitWindowSize",
                                        "glutCreateWindow", "glutDisplayFunc", "glutIdleFunc",
                                        "glutReshapeFunc", "glutKeyboardFunc", "glutKeyboardUpFunc",
                                        "glutSpecialFunc", "glutSpecialUpFunc", "glutMouseFunc",
                                        "glutMotionFunc", "glutIgnoreKeyRepeat"}));
    // A held key is one press: no repeated presses from the X server.
    EXPECT_EQ(fakegl::callsNamed("glutIgnoreKeyRepeat")[0].args, (std::vector<double>{1}));
    EXPECT_EQ(fakegl::callsNamed("glutInitDisplayMode")[0].args[0],
              double(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH));
    EXPECT_EQ(fakegl::callsNamed("glutInitWindowSize")[0].args, (std::vector<double>{640, 480}));
    EXPECT_EQ(fakegl::windowTitle(), "Vantrell");
}

TEST_F(WindowTest, SpecialKeysFoldIntoTheEightBitSpaceAndOthersAreDropped) {
    std::vector<int> codes;
    for (int key : {GLUT_KEY_LEFT, GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_DOWN, GLUT_KEY_PAGE_UP,
                    GLUT_KEY_PAGE_DOWN, GLUT_KEY_F1, GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT})
        codes.push_back(Window::specialKeyCode(key));
    EXPECT_EQ(codes, (std::vector<int>{keys::left, keys::right, keys::up, keys::down, keys::pageUp,
                                       keys::pageDown, -1, -1, -1, -1}));
    EXPECT_EQ(keys::left, 128) << "the arrow and page keys follow the 128 ASCII codes";

    // Delivered, with the keydump lines showing the raw byte, above 127 too.
    attachGame();
    game->variables["keydump"] = 1;
    CaptureStreams capture;
    fakegl::deliverSpecial(GLUT_KEY_LEFT);
    fakegl::deliverSpecialUp(GLUT_KEY_LEFT);
    fakegl::deliverSpecial(GLUT_KEY_F1);
    fakegl::deliverSpecialUp(GLUT_KEY_F1);
    fakegl::deliverKeyboard('A');
    fakegl::deliverKeyboardUp('A');
    EXPECT_EQ(capture.out(), "KEYDOWN: 128 = '\x80'\nKEYUP: 128 = '\x80'\n"
                             "KEYDOWN: 65 = 'A'\nKEYUP: 65 = 'A'\n");
}

TEST_F(WindowTest, DragTurnsTheCameraByFractionsOfTheCreatedSize) {
    attachGame();
    CaptureStreams quiet;
    fakegl::deliverMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    fakegl::deliverMotion(640, 240); // a full width right, half a height down
    EXPECT_FLOAT_EQ(game->cameraRotation.y, -90.0f);
    EXPECT_FLOAT_EQ(game->cameraRotation.x, -45.0f);

    // After the window grows, coordinates are still fractions of 640 x 480.
    fakegl::deliverReshape(1280, 480);
    EXPECT_EQ(game->screen.getWidth(), 1280);
    game->cameraRotation = Vector3(0, 0, 0);
    fakegl::deliverMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    fakegl::deliverMotion(1280, 0);
    EXPECT_FLOAT_EQ(game->cameraRotation.y, -180.0f) << "no wrap below 0";
    game->cameraRotation.y = 350.0f;
    fakegl::deliverMotion(960, 0); // half of 640 to the left
    EXPECT_FLOAT_EQ(game->cameraRotation.y, 35.0f) << "past 360 it wraps";

    // Motion after a release turns nothing but still moves the reference point.
    game->cameraRotation = Vector3(0, 0, 0);
    fakegl::deliverMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 100);
    fakegl::deliverMotion(400, 300);
    EXPECT_EQ(game->cameraRotation, Vector3(0, 0, 0));
    fakegl::deliverMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 400, 300);
    fakegl::deliverMotion(464, 300);
    EXPECT_FLOAT_EQ(game->cameraRotation.y, -9.0f);
}
