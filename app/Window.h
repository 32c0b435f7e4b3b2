#pragma once

class GameCore;

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

private:
    static int physicalKey(int code);
    // Takes note of a press; false when the key is already down: a repeat.
    bool press(int code);
    void release(int code);

    int width;
    int height;
    int windowId = 0;
    GameCore* game = nullptr;
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool mouseDown = false;
    bool keysDown[256] = {}; // by key code, a letter under its lower case
};
