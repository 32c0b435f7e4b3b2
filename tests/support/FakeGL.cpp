// The recording fake of OpenGL 1.1 and freeglut used by the unit tests. It is
// compiled against the real headers, so a call with a wrong signature fails to
// build here just as it would against the real libraries. It defines only what
// the game calls: a new call in the game fails to link until it is added here.
#include "support/FakeGL.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <algorithm>
#include <set>

namespace {

struct State {
    std::vector<fakegl::Call> log;
    std::set<unsigned int> enabled;
    std::vector<bool> lightingStack; // GL_LIGHTING as each glPushAttrib found it
    unsigned int nextTexture = 1;
    unsigned int bound = 0;
    std::string title;
    fakegl::Callbacks callbacks;
};

State& state() {
    static State s;
    return s;
}

template <typename... Numbers> fakegl::Call& record(const char* name, Numbers... args) {
    state().log.push_back({name, {double(args)...}, {}, nullptr});
    return state().log.back();
}

void setEnabled(GLenum cap, bool on) {
    if (on)
        state().enabled.insert(cap);
    else
        state().enabled.erase(cap);
}

} // namespace

namespace fakegl {

void reset() {
    state() = State();
}
const std::vector<Call>& calls() {
    return state().log;
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
bool isEnabled(unsigned int capability) {
    return state().enabled.count(capability) != 0;
}
unsigned int boundTexture() {
    return state().bound;
}
std::string windowTitle() {
    return state().title;
}
const Callbacks& glut() {
    return state().callbacks;
}

} // namespace fakegl

// ---- OpenGL: state ----
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    record("glClearColor", r, g, b, a);
}
void glClearDepth(GLclampd depth) {
    record("glClearDepth", depth);
}
void glClear(GLbitfield mask) {
    record("glClear", mask);
}
void glEnable(GLenum cap) {
    setEnabled(cap, true);
    record("glEnable", cap);
}
void glDisable(GLenum cap) {
    setEnabled(cap, false);
    record("glDisable", cap);
}
void glShadeModel(GLenum mode) {
    record("glShadeModel", mode);
}
void glHint(GLenum target, GLenum mode) {
    record("glHint", target, mode);
}
void glBlendFunc(GLenum s, GLenum d) {
    record("glBlendFunc", s, d);
}
void glPolygonMode(GLenum face, GLenum mode) {
    record("glPolygonMode", face, mode);
}
void glPixelStorei(GLenum pname, GLint param) {
    record("glPixelStorei", pname, param);
}
// The game pushes only the lighting bit, to get its lighting back afterwards.
void glPushAttrib(GLbitfield mask) {
    state().lightingStack.push_back(fakegl::isEnabled(GL_LIGHTING));
    record("glPushAttrib", mask);
}
void glPopAttrib() {
    if (!state().lightingStack.empty()) {
        setEnabled(GL_LIGHTING, state().lightingStack.back());
        state().lightingStack.pop_back();
    }
    record("glPopAttrib");
}
void glFinish() {
    record("glFinish");
}

// ---- OpenGL: matrices ----
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", x, y, w, h);
}
void glMatrixMode(GLenum mode) {
    record("glMatrixMode", mode);
}
void glLoadIdentity() {
    record("glLoadIdentity");
}
void glMultMatrixf(const GLfloat* m) {
    record("glMultMatrixf").matrix.assign(m, m + 16);
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glOrtho", l, r, b, t, n, f);
}
void glPushMatrix() {
    record("glPushMatrix");
}
void glPopMatrix() {
    record("glPopMatrix");
}
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) {
    record("glRotatef", a, x, y, z);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    record("glTranslatef", x, y, z);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", x, y, z);
}

// ---- OpenGL: light and fog (the values themselves are not recorded) ----
void glLightfv(GLenum light, GLenum pname, const GLfloat*) {
    record("glLightfv", light, pname);
}
void glFogi(GLenum pname, GLint v) {
    record("glFogi", pname, v);
}
void glFogf(GLenum pname, GLfloat v) {
    record("glFogf", pname, v);
}
void glFogfv(GLenum pname, const GLfloat*) {
    record("glFogfv", pname);
}

// ---- OpenGL: textures ----
void glGenTextures(GLsizei n, GLuint* textures) {
    record("glGenTextures", n);
    std::generate(textures, textures + n, [] { return state().nextTexture++; });
}
void glBindTexture(GLenum target, GLuint texture) {
    state().bound = texture;
    record("glBindTexture", target, texture);
}
void glDeleteTextures(GLsizei n, const GLuint* textures) {
    fakegl::Call& call = record("glDeleteTextures", n);
    call.args.insert(call.args.end(), textures, textures + n);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    record("glTexParameteri", target, pname, param);
}
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    record("glTexImage2D", target, level, internalFormat, w, h, border, format, type).pointer =
        pixels;
}

// ---- OpenGL: vertex arrays ----
void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glVertexPointer", size, type, stride).pointer = p;
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glColorPointer", size, type, stride).pointer = p;
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    record("glNormalPointer", type, stride).pointer = p;
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glTexCoordPointer", size, type, stride).pointer = p;
}
void glEnableClientState(GLenum cap) {
    record("glEnableClientState", cap);
}
void glDisableClientState(GLenum cap) {
    record("glDisableClientState", cap);
}
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    record("glDrawElements", mode, count, type).pointer = indices;
}

// ---- OpenGL: immediate mode ----
void glBegin(GLenum mode) {
    record("glBegin", mode);
}
void glEnd() {
    record("glEnd");
}
void glVertex2f(GLfloat x, GLfloat y) {
    record("glVertex2f", x, y);
}
void glVertex2i(GLint x, GLint y) {
    record("glVertex2i", x, y);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glVertex3f", x, y, z);
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glNormal3f", x, y, z);
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    record("glTexCoord2f", s, t);
}
void glTexCoord2fv(const GLfloat* v) {
    record("glTexCoord2fv", v[0], v[1]);
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", r, g, b);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record("glColor4f", r, g, b, a);
}

// ---- freeglut ----
void glutInit(int* argc, char**) {
    record("glutInit", argc ? *argc : 0);
}
void glutInitDisplayMode(unsigned int mode) {
    record("glutInitDisplayMode", mode);
}
void glutInitWindowSize(int w, int h) {
    record("glutInitWindowSize", w, h);
}
int glutCreateWindow(const char* title) {
    state().title = title ? title : "";
    record("glutCreateWindow");
    return 1;
}
void glutDisplayFunc(void (*)()) {
    record("glutDisplayFunc");
}
void glutIdleFunc(void (*)()) {
    record("glutIdleFunc");
}
void glutReshapeFunc(void (*f)(int, int)) {
    state().callbacks.reshape = f;
    record("glutReshapeFunc");
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
    state().callbacks.keyboard = f;
    record("glutKeyboardFunc");
}
void glutKeyboardUpFunc(void (*f)(unsigned char, int, int)) {
    state().callbacks.keyboardUp = f;
    record("glutKeyboardUpFunc");
}
void glutSpecialFunc(void (*f)(int, int, int)) {
    state().callbacks.special = f;
    record("glutSpecialFunc");
}
void glutSpecialUpFunc(void (*f)(int, int, int)) {
    state().callbacks.specialUp = f;
    record("glutSpecialUpFunc");
}
void glutMouseFunc(void (*f)(int, int, int, int)) {
    state().callbacks.mouse = f;
    record("glutMouseFunc");
}
void glutMotionFunc(void (*f)(int, int)) {
    state().callbacks.motion = f;
    record("glutMotionFunc");
}
void glutIgnoreKeyRepeat(int ignore) {
    record("glutIgnoreKeyRepeat", ignore);
}
// The real loop never returns; the fake returns at once so a test can go on.
void glutMainLoop() {
    record("glutMainLoop");
}
void glutSwapBuffers() {
    record("glutSwapBuffers");
}
void glutPostRedisplay() {
    record("glutPostRedisplay");
}
int glutGetModifiers() {
    record("glutGetModifiers");
    return 0;
}
