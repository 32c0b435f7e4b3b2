#pragma once
#include <cstddef>
#include <string>
#include <vector>

// A recording stand-in for the OpenGL and GLUT functions the game calls. Each call
// appends its name and numeric arguments to a log in call order. glGenTextures
// hands out 1, 2, 3...; glEnable/glDisable are tracked, and glPopAttrib restores
// the capabilities enabled at the matching glPushAttrib. The input callbacks
// given to GLUT are kept so a test can deliver events as GLUT would.
// Display lists work as in OpenGL: between glNewList and glEndList the calls go
// into the list (client-state calls still execute at once), and glCallList puts
// the list's calls into the log as if made there, so the log shows what is drawn.
// The list calls themselves go to listCalls.
namespace fakegl {

struct Call {
    std::string name;
    std::vector<double> args;      // numeric arguments in order (enums as their values)
    std::vector<float> matrix;     // glMultMatrixf's 16 elements
    const void* pointer = nullptr; // the array argument of the pointer and upload calls
    unsigned int list = 0;         // the display list that made the call, 0 if made directly
};

struct Callbacks {
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*keyboardUp)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*specialUp)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
};

void reset(); // empties the logs and the state, forgets callbacks; lists stay
const std::vector<Call>& calls();
const std::vector<Call>& listCalls(); // glGenLists, glNewList, glEndList, glCallList...
const std::vector<Call>* listContents(unsigned int name); // null for no such list
std::size_t listCount();                                  // lists made and not deleted
// The next list built fails: its glEndList raises this error for glGetError.
void failNextList(unsigned int code);
std::vector<std::string> names(); // the names of all calls, in order
std::size_t count(const std::string& name);
// The arguments of the calls named `name` (of every call if empty) in a row.
std::vector<double> args(const std::string& name = "");
// Index of the first call named `name` at or after `from`; the log's size if none.
std::size_t find(const std::string& name, std::size_t from = 0);

// Whether the X server sends a held key's repeats as presses alone (true unless set).
void setDetectableAutoRepeat(bool supported);
// Whether the server's input focus is on the game's window (true unless set).
void setInputFocus(bool onGameWindow);
// GLUT's clock (glutGet(GLUT_ELAPSED_TIME)), from 0 at reset.
void advanceClock(int milliseconds);
bool isEnabled(unsigned int capability);
unsigned int boundTexture();
const Callbacks& glut();

} // namespace fakegl
