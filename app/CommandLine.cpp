#include "app/CommandLine.h"
#include <cstring>

#ifndef VANTRELL_VERSION
#error "VANTRELL_VERSION must be defined by the build"
#endif

namespace {

// freeglut's X options: the two that take a value, and the flags. Values are
// taken as they come, since a geometry may start with a minus (-geometry -0-0).
const char* const glutValueOptions[] = {"-display", "-geometry"};
const char* const glutFlags[] = {"-iconic", "-indirect", "-direct", "-gldebug", "-sync"};

template <size_t N> bool oneOf(const char* const (&names)[N], const std::string& word) {
    for (const char* name : names)
        if (word == name)
            return true;
    return false;
}

} // namespace

CommandLine::CommandLine(int argc, char** argv) {
    glutArguments.push_back(argc > 0 ? argv[0] : nullptr);
    parse(argc, argv);
    if (glutArguments.front() == nullptr) {
        // A process started with no argv[0] at all: GLUT still wants a name.
        static char name[] = "vantrell";
        glutArguments.front() = name;
    }
    glutCount = static_cast<int>(glutArguments.size());
    glutArguments.push_back(nullptr);
}

void CommandLine::parse(int argc, char** argv) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        // The game takes no file or other word of its own outside an option,
        // so anything that is not an option is a mistake, after "--" too.
        if (optionsEnded || word.size() < 2 || word[0] != '-')
            return refuse("unexpected argument '" + word + "'");
        if (word == "--") {
            optionsEnded = true;
        } else if (word == "-h" || word == "--help") {
            chosen = Action::help;
            return;
        } else if (word == "--version") {
            chosen = Action::version;
            return;
        } else if (word == "--fast") {
            fastPlayback = true;
        } else if (word == "--replay" || word.rfind("--replay=", 0) == 0) {
            // A separate word that looks like an option is taken for a missing
            // file ("--replay --fast"); such a file can still be named ./-x.
            if (word == "--replay")
                replay = i + 1 < argc && argv[i + 1][0] != '-' ? argv[++i] : "";
            else
                replay = word.substr(std::strlen("--replay="));
            if (replay.empty())
                return refuse("option '--replay' needs a file");
        } else if (oneOf(glutValueOptions, word)) {
            if (i + 1 >= argc)
                return refuse("option '" + word + "' needs a value");
            glutArguments.push_back(argv[i]);
            glutArguments.push_back(argv[++i]);
        } else if (oneOf(glutFlags, word)) {
            glutArguments.push_back(argv[i]);
        } else {
            return refuse("unknown option '" + word + "'");
        }
    }
    if (fastPlayback && replay.empty())
        refuse("option '--fast' needs '--replay FILE'");
}

void CommandLine::refuse(const std::string& why) {
    chosen = Action::refuse;
    problem = why;
}

std::string CommandLine::version() {
    return std::string("vantrell ") + VANTRELL_VERSION;
}

std::string CommandLine::usage() {
    return "Usage: vantrell [OPTION]...\n"
           "Turn-based 3-D artillery for players sharing one keyboard.\n"
           "\n"
           "  -h, --help          print this help and exit\n"
           "      --version       print the version and exit\n"
           "      --replay FILE   watch the game recorded in FILE\n"
           "      --fast          with --replay: play it back as fast as the machine allows\n"
           "\n"
           "X options, handed to GLUT:\n"
           "  -display DISPLAY    open the window on this X display\n"
           "  -geometry WxH+X+Y   the window's size and place\n"
           "  -iconic             start with the window iconified\n"
           "  -direct, -indirect  ask for direct or indirect rendering\n"
           "  -gldebug            report OpenGL errors after each frame\n"
           "  -sync               talk to the X server synchronously\n"
           "\n"
           "Every game is recorded in $XDG_DATA_HOME/vantrell/replays\n"
           "(~/.local/share/vantrell/replays when XDG_DATA_HOME is unset).\n"
           "The keys and the console commands are in the manual page vantrell(6).";
}
