// The recording fake of OpenGL 1.1 and freeglut used by the unit tests. It is
// compiled against the real headers, so a call with a wrong signature fails to
// build here just as it would against the real libraries. It defines only what
// the game calls: a new call in the game fails to link until it is added here.
#include "support/FakeGL.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

struct State {
    std::vector<fakegl::Call> log;
    std::vector<fakegl::Call> listLog; // making, calling and deleting lists
    std::set<unsigned int> enabled;
    std::vector<std::set<unsigned int>> enabledStack; // as each glPushAttrib found it
    unsigned int nextTexture = 1;
    unsigned int bound = 0;
    bool detectableAutoRepeat = true;
    bool focusOnGame = true;
    int elapsedMs = 0; // GLUT's clock
    fakegl::Callbacks callbacks;
    unsigned int pendingError = 0;  // what glGetError answers next; GL_NO_ERROR
    unsigned int nextListError = 0; // what the next glEndList raises
};

// Display lists are objects of the GL context, not of one test's log: a Display
// keeps the names it compiled across fakegl::reset, so they outlive it.
struct Lists {
    std::map<unsigned int, std::vector<fakegl::Call>> contents;
    unsigned int next = 1;
    unsigned int compiling = 0; // the list between glNewList and glEndList
};

State& state() {
    static State s;
    return s;
}
Lists& lists() {
    static Lists l;
    return l;
}

// What OpenGL does at once even between glNewList and glEndList: client state
// (the array pointers and switches), pixel storage, object names and finishing.
bool executesWhileCompiling(const std::string& name) {
    static const std::set<std::string> immediate = {"glVertexPointer",     "glColorPointer",
                                                    "glNormalPointer",     "glTexCoordPointer",
                                                    "glEnableClientState", "glDisableClientState",
                                                    "glPixelStorei",       "glGenTextures",
                                                    "glDeleteTextures",    "glFinish"};
    return immediate.count(name) != 0 || name.rfind("glut", 0) == 0 || name.rfind("glX", 0) == 0 ||
           name.rfind("X", 0) == 0;
}

void setEnabled(GLenum cap, bool on) {
    if (on)
        state().enabled.insert(cap);
    else
        state().enabled.erase(cap);
}

// The state a call changes, applied when it is executed (at once, or when a list
// holding it is called), never while it is only compiled.
void execute(const fakegl::Call& c) {
    State& s = state();
    if (c.name == "glEnable" || c.name == "glDisable") {
        setEnabled(static_cast<GLenum>(c.args[0]), c.name == "glEnable");
    } else if (c.name == "glBindTexture") {
        s.bound = static_cast<unsigned int>(c.args[1]);
    } else if (c.name == "glPushAttrib") {
        // The whole set of enabled capabilities is kept, which covers every group
        // the game pushes.
        s.enabledStack.push_back(s.enabled);
    } else if (c.name == "glPopAttrib" && !s.enabledStack.empty()) {
        s.enabled = s.enabledStack.back();
        s.enabledStack.pop_back();
    }
}

// Every stub records itself under its own name (__func__), so no name can be
// mistyped: into the list being compiled, or into the log and executed.
template <typename... Numbers> fakegl::Call& record(const char* name, Numbers... args) {
    fakegl::Call call{name, {double(args)...}, {}, nullptr};
    if (lists().compiling != 0 && !executesWhileCompiling(call.name)) {
        std::vector<fakegl::Call>& list = lists().contents[lists().compiling];
        list.push_back(std::move(call));
        return list.back();
    }
    state().log.push_back(std::move(call));
    execute(state().log.back());
    return state().log.back();
}

fakegl::Call& recordList(const char* name, std::vector<double> args) {
    state().listLog.push_back({name, std::move(args), {}, nullptr});
    return state().listLog.back();
}

// A called list's calls join the log as if made there, each marked with the list.
void replay(unsigned int name, int depth = 0) {
    const auto found = lists().contents.find(name);
    if (found == lists().contents.end() || depth > 64)
        return;
    for (const fakegl::Call& c : found->second) {
        if (c.name == "glCallList") {
            replay(static_cast<unsigned int>(c.args[0]), depth + 1);
            continue;
        }
        state().log.push_back(c);
        state().log.back().list = name;
        execute(state().log.back());
    }
}

fakegl::Callbacks& callbacks() {
    return state().callbacks;
}

// A callback GLUT is given, kept for the test to call.
template <typename Function> void keep(Function& slot, Function f, const char* name) {
    slot = f;
    record(name);
}

} // namespace

namespace fakegl {

void reset() {
    state() = State();
}
const std::vector<Call>& calls() {
    return state().log;
}
const std::vector<Call>& listCalls() {
    return state().listLog;
}
const std::vector<Call>* listContents(unsigned int name) {
    const auto found = lists().contents.find(name);
    return found == lists().contents.end() ? nullptr : &found->second;
}
std::size_t listCount() {
    return lists().contents.size();
}
void failNextList(unsigned int code) {
    state().nextListError = code;
}
std::vector<std::string> names() {
    std::vector<std::string> all;
    for (const Call& c : state().log)
        all.push_back(c.name);
    return all;
}
std::size_t count(const std::string& name) {
    const std::vector<Call>& log = state().log;
    return std::count_if(log.begin(), log.end(), [&](const Call& c) { return c.name == name; });
}
std::vector<double> args(const std::string& name) {
    std::vector<double> all;
    for (const Call& c : state().log)
        if (name.empty() || c.name == name)
            all.insert(all.end(), c.args.begin(), c.args.end());
    return all;
}
std::size_t find(const std::string& name, std::size_t from) {
    const std::vector<Call>& log = state().log;
    while (from < log.size() && log[from].name != name)
        ++from;
    return std::min(from, log.size());
}
void setDetectableAutoRepeat(bool supported) {
    state().detectableAutoRepeat = supported;
}
void setInputFocus(bool onGameWindow) {
    state().focusOnGame = onGameWindow;
}
void advanceClock(int milliseconds) {
    state().elapsedMs += milliseconds;
}
bool isEnabled(unsigned int capability) {
    return state().enabled.count(capability) != 0;
}
unsigned int boundTexture() {
    return state().bound;
}
const Callbacks& glut() {
    return state().callbacks;
}

} // namespace fakegl

// The stubs, one a line: a table is easier to check against the game's calls than
// sixty three-line functions.
// clang-format off

// ---- OpenGL: state ----
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record(__func__, r, g, b, a); }
void glClearDepth(GLclampd depth) { record(__func__, depth); }
void glClear(GLbitfield mask) { record(__func__, mask); }
void glEnable(GLenum cap) { record(__func__, cap); }
void glDisable(GLenum cap) { record(__func__, cap); }
void glShadeModel(GLenum mode) { record(__func__, mode); }
void glHint(GLenum target, GLenum mode) { record(__func__, target, mode); }
void glBlendFunc(GLenum s, GLenum d) { record(__func__, s, d); }
void glPolygonMode(GLenum face, GLenum mode) { record(__func__, face, mode); }
void glPixelStorei(GLenum pname, GLint param) { record(__func__, pname, param); }
void glFinish() { record(__func__); }
void glPushAttrib(GLbitfield mask) { record(__func__, mask); }
void glPopAttrib() { record(__func__); }
// One error at a time, as a test has a list raise it; read once.
GLenum glGetError() {
    const GLenum code = state().pendingError;
    state().pendingError = GL_NO_ERROR;
    return code;
}
void glDepthMask(GLboolean flag) { record(__func__, flag); }
void glLineWidth(GLfloat width) { record(__func__, width); }
void glPointSize(GLfloat size) { record(__func__, size); }

// ---- OpenGL: matrices ----
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) { record(__func__, x, y, w, h); }
void glMatrixMode(GLenum mode) { record(__func__, mode); }
void glLoadIdentity() { record(__func__); }
void glMultMatrixf(const GLfloat* m) { record(__func__).matrix.assign(m, m + 16); }
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record(__func__, l, r, b, t, n, f);
}
void glPushMatrix() { record(__func__); }
void glPopMatrix() { record(__func__); }
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { record(__func__, a, x, y, z); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { record(__func__, x, y, z); }
void glScalef(GLfloat x, GLfloat y, GLfloat z) { record(__func__, x, y, z); }

// ---- OpenGL: light, material and fog (light and fog values are not recorded) ----
void glLightfv(GLenum light, GLenum pname, const GLfloat*) { record(__func__, light, pname); }
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* v) {
    record(__func__, face, pname, v[0], v[1], v[2], v[3]);
}
void glFogi(GLenum pname, GLint v) { record(__func__, pname, v); }
void glFogf(GLenum pname, GLfloat v) { record(__func__, pname, v); }
void glFogfv(GLenum pname, const GLfloat*) { record(__func__, pname); }

// ---- OpenGL: textures ----
void glGenTextures(GLsizei n, GLuint* names) {
    record(__func__, n);
    std::generate(names, names + n, [] { return state().nextTexture++; });
}
void glBindTexture(GLenum target, GLuint name) { record(__func__, target, name); }
void glDeleteTextures(GLsizei n, const GLuint* names) {
    std::vector<double>& args = record(__func__, n).args;
    args.insert(args.end(), names, names + n);
}
void glTexParameteri(GLenum target, GLenum pname, GLint v) { record(__func__, target, pname, v); }
void glTexEnvi(GLenum target, GLenum pname, GLint v) { record(__func__, target, pname, v); }
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    record(__func__, target, level, internalFormat, w, h, border, format, type).pointer =
        pixels;
}

// ---- OpenGL: vertex arrays ----
void glVertexPointer(GLint n, GLenum type, GLsizei stride, const GLvoid* p) {
    record(__func__, n, type, stride).pointer = p;
}
void glColorPointer(GLint n, GLenum type, GLsizei stride, const GLvoid* p) {
    record(__func__, n, type, stride).pointer = p;
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    record(__func__, type, stride).pointer = p;
}
void glTexCoordPointer(GLint n, GLenum type, GLsizei stride, const GLvoid* p) {
    record(__func__, n, type, stride).pointer = p;
}
void glEnableClientState(GLenum cap) { record(__func__, cap); }
void glDisableClientState(GLenum cap) { record(__func__, cap); }
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    record(__func__, mode, count, type).pointer = indices;
}
void glDrawArrays(GLenum mode, GLint first, GLsizei count) { record(__func__, mode, first, count); }

// ---- OpenGL: immediate mode ----
void glBegin(GLenum mode) { record(__func__, mode); }
void glEnd() { record(__func__); }
void glVertex2f(GLfloat x, GLfloat y) { record(__func__, x, y); }
void glVertex2i(GLint x, GLint y) { record(__func__, x, y); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record(__func__, x, y, z); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record(__func__, x, y, z); }
void glTexCoord2f(GLfloat s, GLfloat t) { record(__func__, s, t); }
void glTexCoord2fv(const GLfloat* v) { record(__func__, v[0], v[1]); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { record(__func__, r, g, b); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record(__func__, r, g, b, a); }

// ---- OpenGL: display lists (kept apart in listCalls; a called list's calls join the log) ----
GLuint glGenLists(GLsizei range) {
    recordList(__func__, {double(range)});
    const GLuint first = lists().next;
    for (GLsizei n = 0; n < range; ++n)
        lists().contents[lists().next++];
    return first;
}
void glNewList(GLuint name, GLenum mode) {
    recordList(__func__, {double(name), double(mode)});
    lists().contents[name].clear();
    lists().compiling = name;
}
void glEndList() {
    recordList(__func__, {});
    lists().compiling = 0;
    if (state().nextListError != GL_NO_ERROR)
        state().pendingError = std::exchange(state().nextListError, GL_NO_ERROR);
}
void glCallList(GLuint name) {
    if (lists().compiling != 0) { // a list calling another
        record(__func__, name);
        return;
    }
    recordList(__func__, {double(name)});
    replay(name);
}
void glDeleteLists(GLuint first, GLsizei range) {
    recordList(__func__, {double(first), double(range)});
    for (GLsizei n = 0; n < range; ++n)
        lists().contents.erase(first + static_cast<GLuint>(n));
}

// ---- freeglut ----
void glutInit(int* argc, char**) { record(__func__, argc ? *argc : 0); }
void glutInitDisplayMode(unsigned int mode) { record(__func__, mode); }
void glutInitWindowSize(int w, int h) { record(__func__, w, h); }
int glutCreateWindow(const char*) { record(__func__); return 1; } // the title: see nosound.sh
void glutDisplayFunc(void (*)()) { record(__func__); }
void glutIdleFunc(void (*)()) { record(__func__); }
void glutReshapeFunc(void (*f)(int, int)) { keep(callbacks().reshape, f, __func__); }
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
    keep(callbacks().keyboard, f, __func__);
}
void glutKeyboardUpFunc(void (*f)(unsigned char, int, int)) {
    keep(callbacks().keyboardUp, f, __func__);
}
void glutSpecialFunc(void (*f)(int, int, int)) { keep(callbacks().special, f, __func__); }
void glutSpecialUpFunc(void (*f)(int, int, int)) { keep(callbacks().specialUp, f, __func__); }
void glutMouseFunc(void (*f)(int, int, int, int)) { keep(callbacks().mouse, f, __func__); }
void glutMotionFunc(void (*f)(int, int)) { keep(callbacks().motion, f, __func__); }
void glutIgnoreKeyRepeat(int ignore) { record(__func__, ignore); }
void glutMainLoop() { record(__func__); } // returns at once, so a test can go on
void glutSwapBuffers() { record(__func__); }
void glutPostRedisplay() { record(__func__); }
int glutGetModifiers() { record(__func__); return 0; }
int glutGet(GLenum query) { record(__func__, query); return query == GLUT_ELAPSED_TIME ? state().elapsedMs : 0; }

// ---- X: the window's request for repeats as presses alone ----
Display* glXGetCurrentDisplay() {
    static char connection; // stands for freeglut's connection; never read
    record(__func__);
    return reinterpret_cast<Display*>(&connection);
}
// The game's window, and the root window that has the focus when the game has not.
GLXDrawable glXGetCurrentDrawable() {
    record(__func__);
    return 0x400001;
}
int XGetInputFocus(Display*, Window* focus, int* revertTo) {
    record(__func__);
    *focus = state().focusOnGame ? 0x400001 : 0x1e3;
    *revertTo = RevertToParent;
    return 1;
}
Bool XkbSetDetectableAutoRepeat(Display*, Bool detectable, Bool* supported) {
    record(__func__, detectable);
    *supported = state().detectableAutoRepeat ? True : False;
    return detectable && state().detectableAutoRepeat ? True : False;
}
// A few keys of a US keyboard, at X's usual key codes: Esc, '1'/'!', '3'/'#',
// Backspace, Tab, '['/'{', Return, 'a'/'A', backquote, space, and the keypad's 1.
namespace {
const std::map<int, std::vector<KeySym>> keyboardLayout = {
    {9, {XK_Escape}},     {10, {XK_1, XK_exclam}},    {12, {XK_3, XK_numbersign}},
    {22, {XK_BackSpace}}, {23, {XK_Tab}},            {34, {XK_bracketleft, XK_braceleft}},
    {36, {XK_Return}},    {38, {XK_a, XK_A}},        {49, {XK_grave, XK_asciitilde}},
    {65, {XK_space}},     {87, {XK_KP_End, XK_KP_1}}};
} // namespace
int XDisplayKeycodes(Display*, int* first, int* last) {
    *first = 8;
    *last = 255;
    return 1;
}
KeySym* XGetKeyboardMapping(Display*, KeyCode first, int count, int* perKey) {
    record(__func__);
    *perKey = 2;
    auto* table = new KeySym[static_cast<std::size_t>(count) * 2]();
    for (const auto& [code, symbols] : keyboardLayout)
        for (std::size_t level = 0; level < symbols.size(); ++level)
            if (code >= first && code < first + count)
                table[(code - first) * 2 + static_cast<int>(level)] = symbols[level];
    return table;
}
int XFree(void* data) {
    delete[] static_cast<KeySym*>(data);
    return 1;
}

// clang-format on
