#pragma once
#include <string>
#include <vector>

// A recording stand-in for the OpenGL and GLUT functions the game calls. Each call
// appends {name, numeric arguments, array data} to a log in call order. Queries
// answer sensibly: glGenTextures hands out 1, 2, 3..., glutGetModifiers returns a
// value the test sets, glIsEnabled reflects glEnable/glDisable (and glPushAttrib/
// glPopAttrib of the lighting bit). The callbacks registered with GLUT are kept so
// a test can deliver events as GLUT would.
namespace fakegl {

struct Call {
    std::string name;
    std::vector<double> args;  // numeric arguments in order (enums as their values)
    std::vector<float> data;   // array arguments: glMultMatrixf's 16, glLightfv's 4, ...
    const void* pointer = nullptr;  // the pointer argument of the array calls, if any
};

void reset();  // empties the log and the state, forgets callbacks
const std::vector<Call>& calls();
std::vector<Call> callsNamed(const std::string& name);
std::vector<std::string> names();  // the names of all calls, in order
std::size_t count(const std::string& name);

void setModifiers(int modifiers);
bool isEnabled(unsigned int capability);
unsigned int boundTexture();
std::string windowTitle();

// Deliver an event through the callback GLUT was given; false if none is registered.
bool deliverDisplay();
bool deliverIdle();
bool deliverReshape(int width, int height);
bool deliverKeyboard(unsigned char key, int x = 0, int y = 0);
bool deliverKeyboardUp(unsigned char key, int x = 0, int y = 0);
bool deliverSpecial(int key, int x = 0, int y = 0);
bool deliverSpecialUp(int key, int x = 0, int y = 0);
bool deliverMouse(int button, int state, int x, int y);
bool deliverMotion(int x, int y);

}  // namespace fakegl
