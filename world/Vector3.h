#pragma once
#include <cmath>

// Three single-precision floats. Positions, velocities, normals, scales and
// rotations (degrees) all use it. No operation guards against division by zero.
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3() = default;
    Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    Vector3& operator+=(const Vector3& b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& b) {
        x -= b.x;
        y -= b.y;
        z -= b.z;
        return *this;
    }
    Vector3& operator/=(float s) {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator*(float s, const Vector3& v) {
    return {s * v.x, s * v.y, s * v.z};
}
inline Vector3 operator*(const Vector3& v, float s) {
    return {v.x * s, v.y * s, v.z * s};
}
inline Vector3 operator/(const Vector3& v, float s) {
    return {v.x / s, v.y / s, v.z / s};
}
inline bool operator==(const Vector3& a, const Vector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
inline bool operator!=(const Vector3& a, const Vector3& b) {
    return !(a == b);
}

inline float dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The sum is rounded to float before its square root is taken in double.
inline float length(const Vector3& v) {
    const float sum = v.x * v.x + v.y * v.y + v.z * v.z;
    return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}

// A zero vector gives non-finite components; callers that can meet one check first.
inline Vector3 normalized(const Vector3& v) {
    const float l = length(v);
    return {v.x / l, v.y / l, v.z / l};
}

inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Projection of a on a direction b whose length is s.
inline float projected(const Vector3& a, const Vector3& b, float s) {
    return dot(a, b) / s;
}
