#pragma once
#include "world/Vector3.h"

// 4x4 float matrix, row-major (row r, column c at 4r + c), points as column
// vectors with the translation in column 3. Starts as the identity.
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator()(int row, int column) { return m[4 * row + column]; }
    float operator()(int row, int column) const { return m[4 * row + column]; }
};

Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// Rows 0 to 2 applied to (p, 1); no perspective division.
Vector3 transformPoint(const Matrix4& m, const Vector3& p);
void translate(Matrix4& m, const Vector3& v);     // m = m * T
void rotate(Matrix4& m, const Vector3& degrees);  // m = m * Rx * Ry * Rz, zero angles skipped
void scale(Matrix4& m, const Vector3& v);         // m = m * S
