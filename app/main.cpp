#include "app/Exception.h"
#include "app/GameCore.h"
#include "app/Window.h"
#include "assets/TraceSink.h"

int main(int argc, char** argv) {
    try {
        Window window(&argc, argv, "Vantrell", 640, 480);
        GameCore game;
        // Under GLUT this does not come back: the process ends through exit().
        window.mainLoop(&game);
    } catch (Exception e) {
        TraceLine() << e.message << " (" << e.detail << ").";
        return 1;
    }
    return 0;
}
