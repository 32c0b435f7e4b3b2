#include "app/CommandLine.h"
#include "app/Exception.h"
#include "app/GameCore.h"
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
    // replayFile() and fast() are read, not yet acted on: playback comes with the recorder.
    try {
        Window window(commandLine.glutArgc(), commandLine.glutArgv(), "Vantrell", 640, 480);
        GameCore game;
        // Under GLUT this does not come back: the process ends through exit().
        window.mainLoop(&game);
    } catch (Exception e) {
        TraceLine() << e.message << " (" << e.detail << ").";
        return 1;
    }
    return 0;
}
