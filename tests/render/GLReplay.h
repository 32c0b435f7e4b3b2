#pragma once
#include "support/FakeGL.h"
#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// Replays the recorded matrix calls the way OpenGL defines them, so a test can
// ask where a point ends up instead of comparing the calls one by one.
namespace glreplay {

using Matrix = std::array<double, 16>; // column-major, as OpenGL keeps it
struct Point {
    double x, y, z;
};

inline Matrix identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

inline Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                m[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return m;
}

// glRotate's matrix for an angle in degrees about the unit axis (x, y, z).
inline Matrix rotation(double degrees, double x, double y, double z) {
    const double l = std::sqrt(x * x + y * y + z * z);
    x /= l;
    y /= l;
    z /= l;
    const double r = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(r), s = std::sin(r), t = 1.0 - c;
    return {x * x * t + c,
            y * x * t + z * s,
            x * z * t - y * s,
            0,
            x * y * t - z * s,
            y * y * t + c,
            y * z * t + x * s,
            0,
            x * z * t + y * s,
            y * z * t - x * s,
            z * z * t + c,
            0,
            0,
            0,
            0,
            1};
}

// The modelview matrix after the recorded calls from `first` up to (not
// including) `last`, starting from identity; the projection calls are skipped.
inline Matrix modelview(std::size_t first = 0, std::size_t last = SIZE_MAX) {
    std::vector<Matrix> stack{identity()};
    bool modelviewSelected = true;
    const std::vector<fakegl::Call>& log = fakegl::calls();
    for (std::size_t n = first; n < log.size() && n < last; ++n) {
        const fakegl::Call& c = log[n];
        if (c.name == "glMatrixMode") {
            modelviewSelected = c.args[0] == GL_MODELVIEW;
            continue;
        }
        if (!modelviewSelected)
            continue;
        Matrix& top = stack.back();
        if (c.name == "glLoadIdentity") {
            top = identity();
        } else if (c.name == "glTranslatef") {
            Matrix t = identity();
            t[12] = c.args[0];
            t[13] = c.args[1];
            t[14] = c.args[2];
            top = multiply(top, t);
        } else if (c.name == "glScalef") {
            Matrix s = identity();
            s[0] = c.args[0];
            s[5] = c.args[1];
            s[10] = c.args[2];
            top = multiply(top, s);
        } else if (c.name == "glRotatef") {
            top = multiply(top, rotation(c.args[0], c.args[1], c.args[2], c.args[3]));
        } else if (c.name == "glMultMatrixf") {
            top = multiply(top,
                           Matrix{c.data[0], c.data[1], c.data[2], c.data[3], c.data[4], c.data[5],
                                  c.data[6], c.data[7], c.data[8], c.data[9], c.data[10],
                                  c.data[11], c.data[12], c.data[13], c.data[14], c.data[15]});
        } else if (c.name == "glPushMatrix") {
            stack.push_back(top);
        } else if (c.name == "glPopMatrix") {
            if (stack.size() > 1)
                stack.pop_back();
        }
    }
    return stack.back();
}

inline Point apply(const Matrix& m, const Point& p) {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

// Index of the first call named `name` at or after `from`; the log's size if none.
inline std::size_t find(const std::string& name, std::size_t from = 0) {
    const std::vector<fakegl::Call>& log = fakegl::calls();
    for (std::size_t n = from; n < log.size(); ++n)
        if (log[n].name == name)
            return n;
    return log.size();
}

// One quad of the overlay as drawn: its pixel rectangle, its texture rectangle,
// the colour current at its first vertex, the texture bound then, and the log
// position of its first vertex. Several quads may share one begin.
struct Quad {
    double x0, x1, y0, y1;
    double s0, s1, t0, t1;
    std::vector<double> colour;
    unsigned int texture;
    std::size_t at;
};

inline std::vector<Quad> quads(std::size_t first = 0) {
    std::vector<Quad> found;
    std::vector<std::vector<double>> positions, texCoords;
    std::vector<double> texCoord, colour;
    Quad next{};
    unsigned int bound = 0;
    bool inQuads = false;
    const std::vector<fakegl::Call>& log = fakegl::calls();
    for (std::size_t n = 0; n < log.size(); ++n) {
        const fakegl::Call& c = log[n];
        if (c.name == "glBegin") {
            inQuads = c.args[0] == GL_QUADS;
        } else if (c.name == "glEnd") {
            inQuads = false;
        } else if (c.name == "glBindTexture") {
            bound = static_cast<unsigned int>(c.args[1]);
        } else if (c.name == "glTexCoord2f") {
            texCoord = c.args;
        } else if (c.name == "glColor3f" || c.name == "glColor4f") {
            colour = c.args;
        } else if (inQuads && (c.name == "glVertex2f" || c.name == "glVertex2i")) {
            if (positions.empty()) {
                next = Quad{1e9, -1e9, 1e9, -1e9, 1e9, -1e9, 1e9, -1e9, colour, bound, n};
            }
            positions.push_back(c.args);
            texCoords.push_back(texCoord);
            if (positions.size() < 4)
                continue;
            for (std::size_t k = 0; k < 4; ++k) {
                next.x0 = std::min(next.x0, positions[k][0]);
                next.x1 = std::max(next.x1, positions[k][0]);
                next.y0 = std::min(next.y0, positions[k][1]);
                next.y1 = std::max(next.y1, positions[k][1]);
                if (!texCoords[k].empty()) {
                    next.s0 = std::min(next.s0, texCoords[k][0]);
                    next.s1 = std::max(next.s1, texCoords[k][0]);
                    next.t0 = std::min(next.t0, texCoords[k][1]);
                    next.t1 = std::max(next.t1, texCoords[k][1]);
                }
            }
            if (n >= first)
                found.push_back(next);
            positions.clear();
            texCoords.clear();
        }
    }
    return found;
}

} // namespace glreplay
