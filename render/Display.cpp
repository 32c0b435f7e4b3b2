#include "render/Display.h"
#include "assets/TraceSink.h"
#include <GL/gl.h>
#include <cmath>
#include <limits>

Display::Display() {
    TraceLine() << "Display::Display()";
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    // Scaled models (the growing explosion) would otherwise light wrongly.
    glEnable(GL_NORMALIZE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glClearDepth(1.0);
    TraceLine() << "end Display::Display()";
}

Display::~Display() {
    for (const std::uint32_t name : textures) {
        const GLuint glName = name;
        glDeleteTextures(1, &glName);
    }
}

void Display::resize(int newWidth, int newHeight) {
    TraceLine() << "Display::resize(" << newWidth << ", " << newHeight << ")";
    width = newWidth;
    height = newHeight;
    const int h = newHeight == 0 ? 1 : newHeight;
    glViewport(0, 0, newWidth, h);
    perspective(90.0f, static_cast<float>(newWidth) / static_cast<float>(h), 0.1f, 300.0f);
}

// Built by hand: the game uses no GLU.
void Display::perspective(float fovY, float aspect, float zNear, float zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double t = std::tan((fovY / 2.0) * 3.1415926535 / 180.0);
    const float f = static_cast<float>(1.0 / t);
    const float d = zNear - zFar;
    GLfloat m[16] = {};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / d;
    m[11] = -1.0f;
    m[14] = static_cast<float>(zFar * 2.0 * zNear / d);
    nearReach = static_cast<float>(zNear * std::sqrt(1.0 + t * t + t * t * aspect * aspect));
    lensPixels = static_cast<float>((height == 0 ? 1 : height) / (2.0 * t));
    glMultMatrixf(m);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Display::orthographic(float left, float right, float bottom, float top, float zNear,
                           float zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
    nearReach = std::numeric_limits<float>::infinity();
    lensPixels = 0.0f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Display::clear() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Display::finish() {
    glFinish();
}

// A world point p is seen at Rx * Ry * Rz * (p - position).
void Display::setCamera(const Vector3& position, const Vector3& rotation) {
    glLoadIdentity();
    glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
    glTranslatef(-position.x, -position.y, -position.z);
    eye = position;
    view = ScreenProjection(position, rotation, width, height);
}

static void setCapability(GLenum capability, bool on) {
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

void Display::setDepthTest(bool on) {
    setCapability(GL_DEPTH_TEST, on);
}
void Display::setBlending(bool on) {
    setCapability(GL_BLEND, on);
}
void Display::setWireframe(bool on) {
    wireframe = on;
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}
void Display::setColor(float r, float g, float b) {
    glColor3f(r, g, b);
}
void Display::setLighting(bool on) {
    setCapability(GL_LIGHTING, on);
}
void Display::setLight(int index, bool on) {
    setCapability(GL_LIGHT0 + index, on);
}

// Positional (w = 1) and transformed by the modelview matrix of the moment, so the
// frame sets it right after the camera to keep the light fixed in the world.
void Display::setLightPosition(int index, const Vector3& position) {
    const GLfloat v[4] = {position.x, position.y, position.z, 1.0f};
    glLightfv(GL_LIGHT0 + index, GL_POSITION, v);
}

void Display::setLightDiffuse(int index, const Vector3& colour) {
    const GLfloat v[4] = {colour.x, colour.y, colour.z, 1.0f};
    glLightfv(GL_LIGHT0 + index, GL_DIFFUSE, v);
}

void Display::setFog(bool on) {
    if (on) {
        glEnable(GL_FOG);
        glHint(GL_FOG_HINT, GL_DONT_CARE);
        glFogi(GL_FOG_MODE, GL_EXP2);
    } else {
        glDisable(GL_FOG);
    }
}

void Display::setFogColor(float r, float g, float b, float density) {
    const GLfloat colour[4] = {r, g, b, 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_DENSITY, density);
}

void Display::setFogRange(float start, float end) {
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
}
