#include "app/CommandLine.h"
#include "app/Exception.h"
#include "app/GameCore.h"
#include "app/ReplayFolder.h"
#include "app/ReplaySession.h"
#include "app/Window.h"
#include "assets/TraceSink.h"

int main(int argc, char** argv) {
    // Help, the version and a mistyped option are answered before a window
    // exists, so they work without a display.
    CommandLine commandLine(argc, argv);
    switch (commandLine.action()) {
    case CommandLine::Action::help:
        TraceLine() << CommandLine::usage();
        return 0;
    case CommandLine::Action::version:
        TraceLine() << CommandLine::version();
        return 0;
    case CommandLine::Action::refuse:
        ErrorLine() << "vantrell: " << commandLine.error();
        ErrorLine() << "Try 'vantrell --help' for more information.";
        return 2;
    case CommandLine::Action::play:
        break;
    }
    try {
        // Before the window and the core: a replay that cannot be played is
        // refused without a display, and the generator is seeded before the
        // core's first terrain.
        ReplaySession replays;
        if (!replays.prepare(commandLine.replayFile(), commandLine.fast(),
                             ReplayFolder::defaultPath()))
            return 1;
        Window window(commandLine.glutArgc(), commandLine.glutArgv(), "Vantrell", 640, 480);
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
