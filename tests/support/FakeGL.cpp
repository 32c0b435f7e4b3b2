// The recording fake of OpenGL 1.1 and freeglut used by the unit tests. It is
// compiled against the real headers, so a call with a wrong signature fails to
// build here just as it would against the real libraries.
#include "support/FakeGL.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <algorithm>
#include <map>
#include <set>

namespace {

struct State {
    std::vector<fakegl::Call> log;
    std::set<unsigned int> enabled;
    std::vector<bool> lightingStack; // glPushAttrib(GL_LIGHTING_BIT) saves GL_LIGHTING
    std::vector<unsigned int> attribMasks;
    unsigned int nextTexture = 1;
    unsigned int bound = 0;
    int modifiers = 0;
    std::string title;
    void (*display)() = nullptr;
    void (*idle)() = nullptr;
    void (*reshape)(int, int) = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    void (*keyboardUp)(unsigned char, int, int) = nullptr;
    void (*special)(int, int, int) = nullptr;
    void (*specialUp)(int, int, int) = nullptr;
    void (*mouse)(int, int, int, int) = nullptr;
    void (*motion)(int, int) = nullptr;
};

State& state() {
    static State s;
    return s;
}

void record(const char* name, std::vector<double> args = {}, std::vector<float> data = {},
            const void* pointer = nullptr) {
    state().log.push_back({name, std::move(args), std::move(data), pointer});
}

} // namespace

namespace fakegl {

void reset() {
    state() = State();
}
const std::vector<Call>& calls() {
    return state().log;
}

std::vector<Call> callsNamed(const std::string& name) {
    std::vector<Call> found;
    for (const Call& c : state().log)
        if (c.name == name)
            found.push_back(c);
    return found;
}

std::vector<std::string> names() {
    std::vector<std::string> all;
    for (const Call& c : state().log)
        all.push_back(c.name);
    return all;
}

std::size_t count(const std::string& name) {
    return std::count_if(state().log.begin(), state().log.end(),
                         [&](const Call& c) { return c.name == name; });
}

void setModifiers(int modifiers) {
    state().modifiers = modifiers;
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

bool deliverDisplay() {
    return state().display ? (state().display(), true) : false;
}
bool deliverIdle() {
    return state().idle ? (state().idle(), true) : false;
}
bool deliverReshape(int w, int h) {
    return state().reshape ? (state().reshape(w, h), true) : false;
}
bool deliverKeyboard(unsigned char k, int x, int y) {
    return state().keyboard ? (state().keyboard(k, x, y), true) : false;
}
bool deliverKeyboardUp(unsigned char k, int x, int y) {
    return state().keyboardUp ? (state().keyboardUp(k, x, y), true) : false;
}
bool deliverSpecial(int k, int x, int y) {
    return state().special ? (state().special(k, x, y), true) : false;
}
bool deliverSpecialUp(int k, int x, int y) {
    return state().specialUp ? (state().specialUp(k, x, y), true) : false;
}
bool deliverMouse(int b, int s, int x, int y) {
    return state().mouse ? (state().mouse(b, s, x, y), true) : false;
}
bool deliverMotion(int x, int y) {
    return state().motion ? (state().motion(x, y), true) : false;
}

} // namespace fakegl

// ---- OpenGL: state ----
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    record("glClearColor", {r, g, b, a});
}
void glClearDepth(GLclampd depth) {
    record("glClearDepth", {depth});
}
void glClear(GLbitfield mask) {
    record("glClear", {double(mask)});
}
void glEnable(GLenum cap) {
    state().enabled.insert(cap);
    record("glEnable", {double(cap)});
}
void glDisable(GLenum cap) {
    state().enabled.erase(cap);
    record("glDisable", {double(cap)});
}
GLboolean glIsEnabled(GLenum cap) {
    record("glIsEnabled", {double(cap)});
    return state().enabled.count(cap) ? GL_TRUE : GL_FALSE;
}
void glShadeModel(GLenum mode) {
    record("glShadeModel", {double(mode)});
}
void glHint(GLenum target, GLenum mode) {
    record("glHint", {double(target), double(mode)});
}
void glBlendFunc(GLenum s, GLenum d) {
    record("glBlendFunc", {double(s), double(d)});
}
void glDepthFunc(GLenum f) {
    record("glDepthFunc", {double(f)});
}
void glDepthMask(GLboolean flag) {
    record("glDepthMask", {double(flag)});
}
void glCullFace(GLenum mode) {
    record("glCullFace", {double(mode)});
}
void glFrontFace(GLenum mode) {
    record("glFrontFace", {double(mode)});
}
void glLineWidth(GLfloat w) {
    record("glLineWidth", {w});
}
void glPolygonMode(GLenum face, GLenum mode) {
    record("glPolygonMode", {double(face), double(mode)});
}
void glPixelStorei(GLenum pname, GLint param) {
    record("glPixelStorei", {double(pname), double(param)});
}
void glPushAttrib(GLbitfield mask) {
    state().attribMasks.push_back(mask);
    state().lightingStack.push_back(state().enabled.count(GL_LIGHTING) != 0);
    record("glPushAttrib", {double(mask)});
}
void glPopAttrib() {
    if (!state().attribMasks.empty()) {
        const unsigned int mask = state().attribMasks.back();
        const bool lighting = state().lightingStack.back();
        state().attribMasks.pop_back();
        state().lightingStack.pop_back();
        if (mask & (GL_LIGHTING_BIT | GL_ENABLE_BIT)) {
            if (lighting)
                state().enabled.insert(GL_LIGHTING);
            else
                state().enabled.erase(GL_LIGHTING);
        }
    }
    record("glPopAttrib");
}
GLenum glGetError() {
    return GL_NO_ERROR;
}
void glGetIntegerv(GLenum pname, GLint* params) {
    record("glGetIntegerv", {double(pname)});
    if (params)
        *params = 0;
}
void glGetFloatv(GLenum pname, GLfloat* params) {
    record("glGetFloatv", {double(pname)});
    if (params)
        *params = 0.0f;
}
void glFlush() {
    record("glFlush");
}
void glFinish() {
    record("glFinish");
}
void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid*) {
    record("glReadPixels",
           {double(x), double(y), double(w), double(h), double(format), double(type)});
}

// ---- OpenGL: matrices ----
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
}
void glMatrixMode(GLenum mode) {
    record("glMatrixMode", {double(mode)});
}
void glLoadIdentity() {
    record("glLoadIdentity");
}
void glMultMatrixf(const GLfloat* m) {
    record("glMultMatrixf", {}, std::vector<float>(m, m + 16));
}
void glLoadMatrixf(const GLfloat* m) {
    record("glLoadMatrixf", {}, std::vector<float>(m, m + 16));
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glOrtho", {l, r, b, t, n, f});
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glFrustum", {l, r, b, t, n, f});
}
void glPushMatrix() {
    record("glPushMatrix");
}
void glPopMatrix() {
    record("glPopMatrix");
}
void glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) {
    record("glRotatef", {a, x, y, z});
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    record("glTranslatef", {x, y, z});
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", {x, y, z});
}

// ---- OpenGL: lights, fog, material ----
void glLightfv(GLenum light, GLenum pname, const GLfloat* p) {
    const std::size_t n = (pname == GL_SPOT_DIRECTION) ? 3
                          : (pname == GL_POSITION || pname == GL_DIFFUSE || pname == GL_AMBIENT ||
                             pname == GL_SPECULAR)
                              ? 4
                              : 1;
    record("glLightfv", {double(light), double(pname)}, std::vector<float>(p, p + n));
}
void glLightf(GLenum light, GLenum pname, GLfloat v) {
    record("glLightf", {double(light), double(pname), v});
}
void glLightModelfv(GLenum pname, const GLfloat* p) {
    record("glLightModelfv", {double(pname)}, std::vector<float>(p, p + 4));
}
void glLightModeli(GLenum pname, GLint v) {
    record("glLightModeli", {double(pname), double(v)});
}
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* p) {
    const std::size_t n = (pname == GL_SHININESS) ? 1 : 4;
    record("glMaterialfv", {double(face), double(pname)}, std::vector<float>(p, p + n));
}
void glFogi(GLenum pname, GLint v) {
    record("glFogi", {double(pname), double(v)});
}
void glFogf(GLenum pname, GLfloat v) {
    record("glFogf", {double(pname), v});
}
void glFogfv(GLenum pname, const GLfloat* p) {
    const std::size_t n = (pname == GL_FOG_COLOR) ? 4 : 1;
    record("glFogfv", {double(pname)}, std::vector<float>(p, p + n));
}

// ---- OpenGL: textures ----
void glGenTextures(GLsizei n, GLuint* textures) {
    record("glGenTextures", {double(n)});
    for (GLsizei i = 0; i < n; ++i)
        textures[i] = state().nextTexture++;
}
void glBindTexture(GLenum target, GLuint texture) {
    state().bound = texture;
    record("glBindTexture", {double(target), double(texture)});
}
void glDeleteTextures(GLsizei n, const GLuint* textures) {
    std::vector<double> args{double(n)};
    for (GLsizei i = 0; i < n; ++i)
        args.push_back(textures[i]);
    record("glDeleteTextures", args);
}
void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    record("glTexParameteri", {double(target), double(pname), double(param)});
}
void glTexEnvi(GLenum target, GLenum pname, GLint param) {
    record("glTexEnvi", {double(target), double(pname), double(param)});
}
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    record("glTexImage2D",
           {double(target), double(level), double(internalFormat), double(w), double(h),
            double(border), double(format), double(type)},
           {}, pixels);
}

// ---- OpenGL: vertex arrays ----
void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glVertexPointer", {double(size), double(type), double(stride)}, {}, p);
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glColorPointer", {double(size), double(type), double(stride)}, {}, p);
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    record("glNormalPointer", {double(type), double(stride)}, {}, p);
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    record("glTexCoordPointer", {double(size), double(type), double(stride)}, {}, p);
}
void glEnableClientState(GLenum cap) {
    record("glEnableClientState", {double(cap)});
}
void glDisableClientState(GLenum cap) {
    record("glDisableClientState", {double(cap)});
}
void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    record("glDrawElements", {double(mode), double(count), double(type)}, {}, indices);
}
void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    record("glDrawArrays", {double(mode), double(first), double(count)});
}

// ---- OpenGL: immediate mode ----
void glBegin(GLenum mode) {
    record("glBegin", {double(mode)});
}
void glEnd() {
    record("glEnd");
}
void glVertex2f(GLfloat x, GLfloat y) {
    record("glVertex2f", {x, y});
}
void glVertex2i(GLint x, GLint y) {
    record("glVertex2i", {double(x), double(y)});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glVertex3f", {x, y, z});
}
void glVertex3fv(const GLfloat* v) {
    record("glVertex3fv", {v[0], v[1], v[2]});
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    record("glNormal3f", {x, y, z});
}
void glNormal3fv(const GLfloat* v) {
    record("glNormal3fv", {v[0], v[1], v[2]});
}
void glTexCoord2f(GLfloat s, GLfloat t) {
    record("glTexCoord2f", {s, t});
}
void glTexCoord2fv(const GLfloat* v) {
    record("glTexCoord2fv", {v[0], v[1]});
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    record("glColor3f", {r, g, b});
}
void glColor3fv(const GLfloat* v) {
    record("glColor3fv", {v[0], v[1], v[2]});
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    record("glColor4f", {r, g, b, a});
}

// ---- freeglut ----
void glutInit(int* argc, char** argv) {
    (void)argv;
    record("glutInit", {double(argc ? *argc : 0)});
}
void glutInitDisplayMode(unsigned int mode) {
    record("glutInitDisplayMode", {double(mode)});
}
void glutInitWindowSize(int w, int h) {
    record("glutInitWindowSize", {double(w), double(h)});
}
void glutInitWindowPosition(int x, int y) {
    record("glutInitWindowPosition", {double(x), double(y)});
}
int glutCreateWindow(const char* title) {
    state().title = title ? title : "";
    record("glutCreateWindow");
    return 1;
}
void glutDestroyWindow(int id) {
    record("glutDestroyWindow", {double(id)});
}
void glutDisplayFunc(void (*f)()) {
    state().display = f;
    record("glutDisplayFunc");
}
void glutIdleFunc(void (*f)()) {
    state().idle = f;
    record("glutIdleFunc");
}
void glutReshapeFunc(void (*f)(int, int)) {
    state().reshape = f;
    record("glutReshapeFunc");
}
void glutKeyboardFunc(void (*f)(unsigned char, int, int)) {
    state().keyboard = f;
    record("glutKeyboardFunc");
}
void glutKeyboardUpFunc(void (*f)(unsigned char, int, int)) {
    state().keyboardUp = f;
    record("glutKeyboardUpFunc");
}
void glutSpecialFunc(void (*f)(int, int, int)) {
    state().special = f;
    record("glutSpecialFunc");
}
void glutSpecialUpFunc(void (*f)(int, int, int)) {
    state().specialUp = f;
    record("glutSpecialUpFunc");
}
void glutMouseFunc(void (*f)(int, int, int, int)) {
    state().mouse = f;
    record("glutMouseFunc");
}
void glutMotionFunc(void (*f)(int, int)) {
    state().motion = f;
    record("glutMotionFunc");
}
void glutPassiveMotionFunc(void (*)(int, int)) {
    record("glutPassiveMotionFunc");
}
// The real loop never returns; the fake returns at once so a test can go on.
void glutMainLoop() {
    record("glutMainLoop");
}
void glutLeaveMainLoop() {
    record("glutLeaveMainLoop");
}
void glutSwapBuffers() {
    record("glutSwapBuffers");
}
void glutPostRedisplay() {
    record("glutPostRedisplay");
}
int glutGetModifiers() {
    record("glutGetModifiers");
    return state().modifiers;
}
int glutGet(GLenum what) {
    record("glutGet", {double(what)});
    return 0;
}
void glutSetOption(GLenum what, int value) {
    record("glutSetOption", {double(what), double(value)});
}
void glutIgnoreKeyRepeat(int ignore) {
    record("glutIgnoreKeyRepeat", {double(ignore)});
}
