#include "app/Window.h"
#include "app/GameCore.h"
#include "app/KeyCodes.h"
#include "app/ReplayPlayer.h"
#include "app/XKeyboard.h"
#include "assets/TraceSink.h"
#include <GL/freeglut.h>

namespace {
// GLUT's callbacks carry no user data; this is how they find the window.
Window* theWindow = nullptr;
} // namespace

Window::Window(int* argc, char** argv, const char* title, int windowWidth, int windowHeight)
    : width(windowWidth), height(windowHeight) {
    TraceLine() << "Window::Window()";
    mouseDown = false;
    glutInit(argc, argv);
    TraceLine() << "After init";
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    TraceLine() << "init display mode";
    glutInitWindowSize(width, height);
    TraceLine() << "size";
    theWindow = this;
    TraceLine() << "Doing stuff.";
    windowId = glutCreateWindow(title);
    TraceLine() << "Window created.";
    heldKeys.learnLayout(readKeyboardLayout());
    glutDisplayFunc(&Window::display);
    glutIdleFunc(&Window::idle);
    glutReshapeFunc(&Window::reshape);
    glutKeyboardFunc(&Window::keyboard);
    glutKeyboardUpFunc(&Window::keyboardUp);
    glutSpecialFunc(&Window::special);
    glutSpecialUpFunc(&Window::specialUp);
    glutMouseFunc(&Window::mouse);
    glutMotionFunc(&Window::motion);
    // One event per physical press: X repeats a held key, and each repeat that
    // reached the game as a press would fire a shot and pass the turn. Where the
    // server sends repeats as presses alone, the window drops every press of a
    // key that is already down, which holds however far the game lags behind
    // the keyboard. Elsewhere freeglut drops the repeats' release-press pairs
    // itself, judging by whether the key is still down when it reads them: a
    // late frame then lets the pairs of a key released meanwhile through.
    if (!requestDetectableAutoRepeat())
        glutIgnoreKeyRepeat(1);
}

Window::~Window() {
    TraceLine() << "Window::~Window()";
    if (theWindow == this)
        theWindow = nullptr;
}

void Window::mainLoop(GameCore* newGame) {
    game = newGame;
    glutMainLoop();
}

bool Window::replaying() const {
    return playback && playback->holdsGame();
}

void Window::display() {
    if (!theWindow)
        return;
    if (theWindow->game)
        theWindow->game->display();
    glutSwapBuffers();
}

void Window::idle() {
    if (!theWindow)
        return;
    if (theWindow->replaying()) {
        theWindow->playback->idle();
        glutPostRedisplay();
        return;
    }
    theWindow->watchFocus();
    if (theWindow->game)
        theWindow->game->idle();
    glutPostRedisplay();
}

// A key let go of while another window has the keyboard sends its release there,
// so the game would hold it for ever: losing the focus lets go of every key, as
// their releases would. freeglut reports no change of focus, so the server is
// asked now and then. Only a loss counts: where the server never names this
// window as the focus (focus following the pointer), nothing is let go.
// GLUT knows no modifiers outside its input callbacks; the game ignores them.
void Window::watchFocus() {
    const int nowMs = glutGet(GLUT_ELAPSED_TIME);
    if (nowMs - lastFocusPollMs < focusPollMs)
        return;
    lastFocusPollMs = nowMs;
    const bool wasFocused = focused;
    focused = windowHasInputFocus();
    if (!wasFocused || focused)
        return;
    for (const int code : heldKeys.releaseAll())
        if (game)
            game->keyboard(static_cast<unsigned char>(code), false, 0);
}

// A replay plays the sizes it was recorded with: the window's own wait for the
// end of the replay, as a change of size shows in the trace.
void Window::reshape(int w, int h) {
    if (!theWindow)
        return;
    theWindow->liveWidth = w;
    theWindow->liveHeight = h;
    if (theWindow->game && !theWindow->replaying())
        theWindow->game->reshape(w, h);
    glutPostRedisplay();
}

void Window::keyboard(unsigned char key, int, int) {
    if (!theWindow || !theWindow->heldKeys.press(key))
        return;
    if (theWindow->replaying()) {
        theWindow->playback->liveKey(key, true);
        // The replay set the size it was recorded at; the game now takes the window's.
        if (!theWindow->replaying() && theWindow->game && theWindow->liveWidth >= 0)
            theWindow->game->reshape(theWindow->liveWidth, theWindow->liveHeight);
    } else if (theWindow->game)
        theWindow->game->keyboard(key, true, glutGetModifiers());
}

// The game lets go of what the key went down as, whatever Shift or Ctrl made of
// its character since.
void Window::keyboardUp(unsigned char key, int, int) {
    if (!theWindow)
        return;
    const int pressedAs = theWindow->heldKeys.release(key);
    if (theWindow->game && !theWindow->replaying())
        theWindow->game->keyboard(static_cast<unsigned char>(pressedAs), false, glutGetModifiers());
}

int Window::specialKeyCode(int glutKey) {
    switch (glutKey) {
    case GLUT_KEY_LEFT:
        return keys::left;
    case GLUT_KEY_RIGHT:
        return keys::right;
    case GLUT_KEY_UP:
        return keys::up;
    case GLUT_KEY_DOWN:
        return keys::down;
    case GLUT_KEY_PAGE_UP:
        return keys::pageUp;
    case GLUT_KEY_PAGE_DOWN:
        return keys::pageDown;
    default:
        return -1;
    }
}

void Window::special(int key, int, int) {
    const int code = specialKeyCode(key);
    if (!theWindow || code < 0 || !theWindow->heldKeys.press(code) || theWindow->replaying())
        return;
    if (theWindow->game)
        theWindow->game->keyboard(static_cast<unsigned char>(code), true, glutGetModifiers());
}

void Window::specialUp(int key, int, int) {
    const int code = specialKeyCode(key);
    if (!theWindow || code < 0)
        return;
    const int pressedAs = theWindow->heldKeys.release(code);
    if (theWindow->game && !theWindow->replaying())
        theWindow->game->keyboard(static_cast<unsigned char>(pressedAs), false, glutGetModifiers());
}

void Window::mouse(int, int state, int x, int y) {
    if (!theWindow)
        return;
    theWindow->lastMouseX = x;
    theWindow->lastMouseY = y;
    theWindow->mouseDown = (state == GLUT_DOWN);
}

// Fractions of the size the window was created with, even after a resize.
void Window::motion(int x, int y) {
    if (!theWindow)
        return;
    Window& w = *theWindow;
    if (w.game && !w.replaying()) {
        const float width = static_cast<float>(w.width);
        const float height = static_cast<float>(w.height);
        w.game->mouseMotion(w.mouseDown, x / width, y / height, (x - w.lastMouseX) / width,
                            (y - w.lastMouseY) / height);
    }
    w.lastMouseX = x;
    w.lastMouseY = y;
}
