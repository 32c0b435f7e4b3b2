// Marks drawn over the plain scene so a player can tell the tanks apart and
// follow the shots. Each operation saves the state it touches and gives it back,
// so whatever the frame draws afterwards sees the state it always did.
#include "render/Display.h"
#include "world/Object.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Label sizes in pixels: small fixed glyphs read the same at any distance.
constexpr int glyph = 10;
constexpr int barWidth = 40;
constexpr int barHeight = 4;
constexpr int gap = 2;
constexpr int arrowHeight = 8;

constexpr float shellDotPixels = 4.0f;
constexpr float trailLineWidth = 2.0f;
constexpr int flashSegments = 16;

// Lit surfaces take their colour from the material (colour material is off): a
// tinted tank reflects its player's colour, a little of it in the shade too.
void setMaterial(const Vector3& diffuse, float ambientShare) {
    const GLfloat ambient[] = {diffuse.x * ambientShare, diffuse.y * ambientShare,
                               diffuse.z * ambientShare, 1.0f};
    const GLfloat direct[] = {diffuse.x, diffuse.y, diffuse.z, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, direct);
}

void rectangle(float x0, float x1, float y0, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

} // namespace

// The lighting group holds the material and the current colour group the colour,
// which tints the tank when lighting is off.
void Display::drawTintedObject(const Object& object, MeshLibrary& meshes, const Vector3& colour) {
    glPushAttrib(GL_LIGHTING_BIT | GL_CURRENT_BIT);
    setMaterial(colour, 0.35f);
    glColor3f(colour.x, colour.y, colour.z);
    drawObject(object, meshes);
    glPopAttrib();
}

void Display::beginMarks() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE); // see-through marks must not hide one another
    glLineWidth(trailLineWidth);
    glPointSize(shellDotPixels);
}

void Display::endMarks() {
    glPopAttrib();
}

void Display::drawShellTrails(const std::vector<const std::vector<Vector3>*>& paths,
                              const Vector3& colour) {
    std::vector<GLfloat> lines, shades, heads;
    for (const std::vector<Vector3>* path : paths) {
        const std::vector<Vector3>& points = *path;
        if (points.empty())
            continue;
        const std::size_t count = points.size();
        for (std::size_t i = 0; i + 1 < count; ++i) {
            for (const std::size_t end : {i, i + 1}) {
                const float alpha = 0.9f * static_cast<float>(end) / static_cast<float>(count - 1);
                lines.insert(lines.end(), {points[end].x, points[end].y, points[end].z});
                shades.insert(shades.end(), {colour.x, colour.y, colour.z, alpha});
            }
        }
        heads.insert(heads.end(), {points.back().x, points.back().y, points.back().z});
    }
    if (heads.empty())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    if (!lines.empty()) {
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, lines.data());
        glColorPointer(4, GL_FLOAT, 0, shades.data());
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(lines.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glVertexPointer(3, GL_FLOAT, 0, heads.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(heads.size() / 3));
    glDisableClientState(GL_VERTEX_ARRAY);
}

void Display::drawFlash(const Vector3& centre, const Vector3& right, const Vector3& up,
                        float strength) {
    const float alpha = std::clamp(strength, 0.0f, 1.0f);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1.0f, 1.0f, 0.85f, alpha);
    glVertex3f(centre.x, centre.y, centre.z);
    glColor4f(1.0f, 0.6f, 0.2f, 0.0f);
    for (int k = 0; k <= flashSegments; ++k) {
        const float a = 6.2831853f * static_cast<float>(k) / flashSegments;
        const Vector3 rim = centre + std::cos(a) * right + std::sin(a) * up;
        glVertex3f(rim.x, rim.y, rim.z);
    }
    glEnd();
}

int Display::labelWidth(std::size_t nameLength) {
    return std::max(static_cast<int>(nameLength) * glyph, barWidth);
}

int Display::labelHeight(bool current) {
    return barHeight + gap + glyph + (current ? gap + arrowHeight : 0);
}

void Display::drawLabel(const std::string& name, float left, float bottom, const Vector3& colour,
                        float health, bool current) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    const float middle = left + labelWidth(name.size()) / 2.0f;
    const float nameBottom = bottom + barHeight + gap;
    glColor3f(colour.x, colour.y, colour.z);
    drawText(name.c_str(), middle - name.size() * glyph / 2.0f, nameBottom, glyph, glyph);

    glDisable(GL_TEXTURE_2D);
    const float barLeft = middle - barWidth / 2.0f;
    const float share = std::clamp(health / 100.0f, 0.0f, 1.0f);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    rectangle(barLeft, barLeft + barWidth, bottom, bottom + barHeight);
    glColor3f(1.0f - share, share, 0.1f); // green when whole, red near the end
    rectangle(barLeft, barLeft + barWidth * share, bottom, bottom + barHeight);
    if (current) {
        // Points down at the tank from above its name.
        const float tip = nameBottom + glyph + gap;
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        glVertex2f(middle - arrowHeight / 2.0f - 2.0f, tip + arrowHeight);
        glVertex2f(middle, tip);
        glVertex2f(middle + arrowHeight / 2.0f + 2.0f, tip + arrowHeight);
        glEnd();
    }
    glPopAttrib();
}
