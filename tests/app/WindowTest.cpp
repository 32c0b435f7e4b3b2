#include "app/Window.h"
#include "app/GameCore.h"
#include "support/CaptureStreams.h"
#include "support/FakeGL.h"
#include <GL/freeglut.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { fakegl::reset(); }

    std::unique_ptr<Window> makeWindow() {
        CaptureStreams quiet;
        int argc = 1;
        static char name[] = "vantrell";
        static char* argv[] = {name, nullptr};
        return std::make_unique<Window>(&argc, argv, "Vantrell", 640, 480);
    }

    // A window with a game attached, as after main's call to mainLoop (the fake
    // glutMainLoop returns at once).
    void attachGame() {
        window = makeWindow();
        CaptureStreams quiet;
        game = std::make_unique<GameCore>();
        window->mainLoop(game.get());
    }

    // The names of the calls made since a mark taken with fakegl::calls().size().
    static std::vector<std::string> namesSince(std::size_t mark) {
        const std::vector<std::string> all = fakegl::names();
        return {all.begin() + static_cast<long>(mark), all.end()};
    }

    void TearDown() override {
        CaptureStreams quiet;
        game.reset();
        window.reset();
    }

    std::unique_ptr<Window> window;
    std::unique_ptr<GameCore> game;
};

} // namespace

TEST_F(WindowTest, ConstructionTracesEachStepAndRegistersNineCallbacksInOrder) {
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
                                        "glutMotionFunc"}));
    EXPECT_EQ(fakegl::callsNamed("glutInitDisplayMode")[0].args[0],
              double(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH));
    EXPECT_EQ(fakegl::callsNamed("glutInitWindowSize")[0].args, (std::vector<double>{640, 480}));
    EXPECT_EQ(fakegl::windowTitle(), "Vantrell");
}

TEST_F(WindowTest, WithoutAGameTheCallbacksStillSwapAndRedisplay) {
    window = makeWindow();
    const std::size_t mark = fakegl::calls().size();
    ASSERT_TRUE(fakegl::deliverDisplay());
    ASSERT_TRUE(fakegl::deliverIdle());
    ASSERT_TRUE(fakegl::deliverReshape(800, 600));
    ASSERT_TRUE(fakegl::deliverKeyboard('a'));
    EXPECT_EQ(namesSince(mark), (std::vector<std::string>{"glutSwapBuffers", "glutPostRedisplay",
                                                          "glutPostRedisplay"}));
}

TEST_F(WindowTest, SpecialKeysFoldIntoTheEightBitSpaceAndOthersAreDropped) {
    attachGame();
    game->variables["keydump"] = 1;
    struct Case {
        int glutKey;
        const char* expected;
    };
    for (const Case& c : {Case{GLUT_KEY_LEFT, "KEYDOWN: 128 = '\x80'\nKEYUP: 128 = '\x80'\n"},
                          Case{GLUT_KEY_RIGHT, "KEYDOWN: 129 = '\x81'\nKEYUP: 129 = '\x81'\n"},
                          Case{GLUT_KEY_UP, "KEYDOWN: 130 = '\x82'\nKEYUP: 130 = '\x82'\n"},
                          Case{GLUT_KEY_DOWN, "KEYDOWN: 131 = '\x83'\nKEYUP: 131 = '\x83'\n"},
                          Case{GLUT_KEY_PAGE_UP, "KEYDOWN: 132 = '\x84'\nKEYUP: 132 = '\x84'\n"},
                          Case{GLUT_KEY_PAGE_DOWN, "KEYDOWN: 133 = '\x85'\nKEYUP: 133 = '\x85'\n"},
                          Case{GLUT_KEY_F1, ""}, Case{GLUT_KEY_HOME, ""}, Case{GLUT_KEY_END, ""},
                          Case{GLUT_KEY_INSERT, ""}}) {
        SCOPED_TRACE(c.glutKey);
        CaptureStreams capture;
        fakegl::deliverSpecial(c.glutKey);
        fakegl::deliverSpecialUp(c.glutKey);
        EXPECT_EQ(capture.out(), c.expected);
    }
}

TEST_F(WindowTest, KeysCarryTheModifierMaskAndReleasesArriveAsUpEvents) {
    attachGame();
    game->variables["keydump"] = 1;
    fakegl::setModifiers(GLUT_ACTIVE_SHIFT);
    const std::size_t before = fakegl::count("glutGetModifiers");
    CaptureStreams capture;
    fakegl::deliverKeyboard('A');
    fakegl::deliverKeyboardUp('A');
    EXPECT_EQ(capture.out(), "KEYDOWN: 65 = 'A'\nKEYUP: 65 = 'A'\n");
    EXPECT_EQ(fakegl::count("glutGetModifiers") - before, 2u);
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
    game->cameraRotation = Vector3(0, 0, 0);
    fakegl::deliverMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    fakegl::deliverMotion(1280, 0);
    EXPECT_FLOAT_EQ(game->cameraRotation.y, -180.0f);
}

TEST_F(WindowTest, MotionAfterAReleaseDoesNotTurnTheCamera) {
    attachGame();
    CaptureStreams quiet;
    fakegl::deliverMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 100, 100);
    fakegl::deliverMouse(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 100);
    fakegl::deliverMotion(400, 300);
    EXPECT_EQ(game->cameraRotation, Vector3(0, 0, 0));
    // The motion still moved the reference point: a new press starts from there.
    fakegl::deliverMouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 400, 300);
    fakegl::deliverMotion(464, 300);
    EXPECT_FLOAT_EQ(game->cameraRotation.y, -9.0f);
}

TEST_F(WindowTest, DisplayDrawsTheGameBeforeSwappingAndReshapeResizesIt) {
    attachGame();
    CaptureStreams capture;
    fakegl::deliverReshape(800, 600);
    EXPECT_EQ(capture.out(), "Display::resize(800, 600)\n");
    EXPECT_EQ(game->screen.getWidth(), 800);
    const std::size_t mark = fakegl::calls().size();
    fakegl::deliverDisplay();
    const std::vector<std::string> names = namesSince(mark);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), "glutSwapBuffers");
    EXPECT_NE(std::find(names.begin(), names.end(), "glClear"), names.end());
}
