#include "assets/Matrix4.h"

#include <cmath>

namespace {

// Degrees to radians with this float constant (not pi / 180 in double), so a
// muzzle position is the same number on every build.
constexpr float radiansPerDegree = 0.01745328f;

struct SineCosine {
    float s;
    float c;
};

SineCosine sineCosine(float degrees) {
    const float radians = degrees * radiansPerDegree;
    return {static_cast<float>(std::sin(static_cast<double>(radians))),
            static_cast<float>(std::cos(static_cast<double>(radians)))};
}

Matrix4 fromRows(const float (&values)[16]) {
    Matrix4 result;
    for (int i = 0; i < 16; ++i) {
        result.m[i] = values[i];
    }
    return result;
}

} // namespace

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a(r, k) * b(k, c);
            }
            product(r, c) = sum;
        }
    }
    return product;
}

Vector3 transformPoint(const Matrix4& m, const Vector3& p) {
    Vector3 result;
    float* out[3] = {&result.x, &result.y, &result.z};
    for (int r = 0; r < 3; ++r) {
        *out[r] = m(r, 0) * p.x + m(r, 1) * p.y + m(r, 2) * p.z + m(r, 3);
    }
    return result;
}

void translate(Matrix4& m, const Vector3& v) {
    Matrix4 t;
    t(0, 3) = v.x;
    t(1, 3) = v.y;
    t(2, 3) = v.z;
    m = multiply(m, t);
}

void rotate(Matrix4& m, const Vector3& degrees) {
    if (degrees.x != 0.0f) {
        const SineCosine a = sineCosine(degrees.x);
        m = multiply(m, fromRows({1, 0, 0, 0, 0, a.c, -a.s, 0, 0, a.s, a.c, 0, 0, 0, 0, 1}));
    }
    if (degrees.y != 0.0f) {
        const SineCosine a = sineCosine(degrees.y);
        m = multiply(m, fromRows({a.c, 0, a.s, 0, 0, 1, 0, 0, -a.s, 0, a.c, 0, 0, 0, 0, 1}));
    }
    if (degrees.z != 0.0f) {
        const SineCosine a = sineCosine(degrees.z);
        m = multiply(m, fromRows({a.c, -a.s, 0, 0, a.s, a.c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
    }
}

void scale(Matrix4& m, const Vector3& v) {
    Matrix4 d;
    d(0, 0) = v.x;
    d(1, 1) = v.y;
    d(2, 2) = v.z;
    m = multiply(m, d);
}
