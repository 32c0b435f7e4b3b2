#include "app/Exception.h"
#include "app/GameCore.h"
#include "app/ReplayFolder.h"
#include "app/ReplaySession.h"
#include "app/Window.h"
#include "assets/TraceSink.h"
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    // --replay FILE and --fast are the game's own; everything else is GLUT's.
    std::string replayPath;
    bool fast = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--replay") == 0 && i + 1 < argc)
            replayPath = argv[++i];
        else if (std::strcmp(argv[i], "--fast") == 0)
            fast = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;

    try {
        ReplaySession replays;
        if (!replays.prepare(replayPath, fast, ReplayFolder::defaultPath()))
            return 1;
        Window window(&argc, argv, "Vantrell", 640, 480);
        GameCore game;
        replays.attach(window, game);
        // Under GLUT this does not come back: the process ends through exit().
        window.mainLoop(&game);
    } catch (Exception e) {
        TraceLine() << e.message << " (" << e.detail << ").";
        return 1;
    }
    return 0;
}
