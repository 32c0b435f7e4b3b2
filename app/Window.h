#pragma once
#include "app/HeldKeys.h"

class GameCore;
class ReplayPlayer;

// Owns the GLUT window and turns GLUT's plain callbacks into calls on the game.
// GLUT callbacks carry no user data, so they reach the one Window through a
// process-wide pointer set in the constructor.
class Window {
public:
    Window(int* argc, char** argv, const char* title, int windowWidth, int windowHeight);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Does not come back under GLUT: the process ends through exit().
    void mainLoop(GameCore* game);
    // While the player holds the game, it takes the idle updates and a person's
    // keys, and the mouse does nothing. The player must outlive the window's loop.
    void setPlayback(ReplayPlayer* player) { playback = player; }

    // The callbacks, public so they can be handed to GLUT.
    static void display();
    static void idle();
    static void reshape(int w, int h);
    static void keyboard(unsigned char key, int x, int y);
    static void keyboardUp(unsigned char key, int x, int y);
    static void special(int key, int x, int y);
    static void specialUp(int key, int x, int y);
    static void mouse(int button, int state, int x, int y);
    static void motion(int x, int y);

    // Folds a GLUT special key into codes 128 to 133; -1 for keys that are dropped.
    static int specialKeyCode(int glutKey);

    // How often the window asks the server whether it still has the keyboard.
    static constexpr int focusPollMs = 100;

private:
    void watchFocus();
    bool replaying() const;

    int width;
    int height;
    int windowId = 0;
    GameCore* game = nullptr;
    ReplayPlayer* playback = nullptr;
    int liveWidth = -1, liveHeight = -1; // the last size the window was given
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool mouseDown = false;
    HeldKeys heldKeys; // a press of one already down is a repeat, and dropped
    bool focused = false;
    int lastFocusPollMs = -focusPollMs; // GLUT's clock; the first idle asks at once
};
