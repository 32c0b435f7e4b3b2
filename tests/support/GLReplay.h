#pragma once
#include "render/Display.h"
#include "support/FakeGL.h"
#include "support/TraceCapture.h"
#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

// Replays the recorded calls the way OpenGL defines them, so a test can ask where
// a point ends up or which rectangles were drawn instead of comparing calls one by one.
namespace glreplay {

struct Point {
    double x, y, z;
};

inline double distance(const Point& a, const Point& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Where p ends up under the modelview matrix that the calls before log position
// `last` build from identity. Each call multiplies on the right, so the last one
// acts on the point first; a turn is Rodrigues' formula about the unit axis k.
inline Point transform(Point p, std::size_t last = SIZE_MAX) {
    std::vector<std::vector<const fakegl::Call*>> stack(1); // the transforms in force
    bool modelview = true;
    const std::vector<fakegl::Call>& log = fakegl::calls();
    for (std::size_t n = 0; n < std::min(last, log.size()); ++n) {
        const fakegl::Call& c = log[n];
        if (c.name == "glMatrixMode")
            modelview = c.args[0] == GL_MODELVIEW;
        else if (!modelview)
            continue;
        else if (c.name == "glLoadIdentity")
            stack.back().clear();
        else if (c.name == "glPushMatrix")
            stack.push_back(stack.back());
        else if (c.name == "glPopMatrix" && stack.size() > 1)
            stack.pop_back();
        else if (c.name == "glRotatef" || c.name == "glTranslatef" || c.name == "glScalef")
            stack.back().push_back(&c);
    }
    for (auto t = stack.back().rbegin(); t != stack.back().rend(); ++t) {
        const std::vector<double>& a = (*t)->args;
        if ((*t)->name == "glTranslatef") {
            p = {p.x + a[0], p.y + a[1], p.z + a[2]};
        } else if ((*t)->name == "glScalef") {
            p = {p.x * a[0], p.y * a[1], p.z * a[2]};
        } else {
            const double l = std::hypot(a[1], a[2], a[3]), r = a[0] * M_PI / 180.0;
            const Point k{a[1] / l, a[2] / l, a[3] / l};
            const double c = std::cos(r), s = std::sin(r);
            const double d = (k.x * p.x + k.y * p.y + k.z * p.z) * (1 - c);
            p = {p.x * c + (k.y * p.z - k.z * p.y) * s + k.x * d,
                 p.y * c + (k.z * p.x - k.x * p.z) * s + k.y * d,
                 p.z * c + (k.x * p.y - k.y * p.x) * s + k.z * d};
        }
    }
    return p;
}

// One quad of the overlay as drawn: its pixel and texture rectangles, and the
// colour and texture current then. Several quads may share one begin.
struct Quad {
    double x0, x1, y0, y1, s0, s1, t0, t1;
    std::vector<double> colour;
    unsigned int texture;
    std::vector<double> rect() const { return {x0, x1, y0, y1}; }
};

// The quads completed at or after log position `first`.
inline std::vector<Quad> quads(std::size_t first = 0) {
    std::vector<Quad> found;
    std::vector<std::array<double, 4>> corners; // x, y, s, t
    std::vector<double> texCoord{0, 0}, colour;
    unsigned int bound = 0;
    bool inQuads = false;
    const std::vector<fakegl::Call>& log = fakegl::calls();
    for (std::size_t n = 0; n < log.size(); ++n) {
        const fakegl::Call& c = log[n];
        if (c.name == "glBegin" || c.name == "glEnd")
            inQuads = c.name == "glBegin" && c.args[0] == GL_QUADS;
        else if (c.name == "glBindTexture")
            bound = static_cast<unsigned int>(c.args[1]);
        else if (c.name == "glTexCoord2f")
            texCoord = c.args;
        else if (c.name == "glColor3f" || c.name == "glColor4f")
            colour = c.args;
        else if (inQuads && (c.name == "glVertex2f" || c.name == "glVertex2i")) {
            corners.push_back({c.args[0], c.args[1], texCoord[0], texCoord[1]});
            if (corners.size() < 4)
                continue;
            // A rectangle's first and third corners are opposite each other.
            const auto lo = [&](int k) { return std::min(corners[0][k], corners[2][k]); };
            const auto hi = [&](int k) { return std::max(corners[0][k], corners[2][k]); };
            if (n >= first)
                found.push_back(
                    {lo(0), hi(0), lo(1), hi(1), lo(2), hi(2), lo(3), hi(3), colour, bound});
            corners.clear();
        }
    }
    return found;
}

// A display in a 640 x 480 window as the game opens it; the log starts after that.
class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override {
        display->resize(640, 480);
        fakegl::reset();
    }
    TraceCapture streams; // keeps the trace lines out of the test output
    std::unique_ptr<Display> display = std::make_unique<Display>();
};

} // namespace glreplay
