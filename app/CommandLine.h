#pragma once
#include <string>
#include <vector>

// The game's own options, read before anything opens a window, so that asking
// for help or the version, or mistyping an option, needs no display. GLUT's X
// options are kept, in their order, for glutInit; nothing else reaches GLUT.
// The strings of argv must outlive this object: the GLUT arguments point into
// them.
class CommandLine {
public:
    enum class Action { play, help, version, refuse };

    CommandLine(int argc, char** argv);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    Action action() const { return chosen; }
    // Why the command line is refused, naming the argument; empty otherwise.
    const std::string& error() const { return problem; }
    const std::string& replayFile() const { return replay; }
    bool fast() const { return fastPlayback; }

    // The program name and GLUT's options, as glutInit wants them; glutInit
    // takes out what it reads, so both may change.
    int* glutArgc() { return &glutCount; }
    char** glutArgv() { return glutArguments.data(); }

    static std::string usage();
    static std::string version(); // "vantrell 1.2.3"

private:
    void parse(int argc, char** argv);
    void refuse(const std::string& why);

    Action chosen = Action::play;
    std::string problem;
    std::string replay;
    bool fastPlayback = false;
    std::vector<char*> glutArguments; // ends with a null pointer, as argv does
    int glutCount = 0;
};
