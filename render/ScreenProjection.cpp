#include "render/ScreenProjection.h"
#include <cmath>

namespace {

constexpr double degreesToRadians = 3.1415926535 / 180.0; // as the display's lens

// The 3 x 3 product a * b, each matrix as three rows.
void multiply(const Vector3 (&a)[3], const Vector3 (&b)[3], Vector3 (&out)[3]) {
    const Vector3 columns[3] = {Vector3(b[0].x, b[1].x, b[2].x), Vector3(b[0].y, b[1].y, b[2].y),
                                Vector3(b[0].z, b[1].z, b[2].z)};
    for (int r = 0; r < 3; ++r)
        out[r] = Vector3(dot(a[r], columns[0]), dot(a[r], columns[1]), dot(a[r], columns[2]));
}

} // namespace

ScreenProjection::ScreenProjection(const Vector3& cameraPosition, const Vector3& cameraRotation,
                                   int windowWidth, int windowHeight)
    : position(cameraPosition), width(static_cast<float>(windowWidth)),
      height(static_cast<float>(windowHeight)) {
    // OpenGL's turns about the three axes; the camera applies x first, so the
    // world sees Rx * Ry * Rz.
    const float ax = static_cast<float>(cameraRotation.x * degreesToRadians);
    const float ay = static_cast<float>(cameraRotation.y * degreesToRadians);
    const float az = static_cast<float>(cameraRotation.z * degreesToRadians);
    const float cx = std::cos(ax), sx = std::sin(ax);
    const float cy = std::cos(ay), sy = std::sin(ay);
    const float cz = std::cos(az), sz = std::sin(az);
    const Vector3 rx[3] = {Vector3(1, 0, 0), Vector3(0, cx, -sx), Vector3(0, sx, cx)};
    const Vector3 ry[3] = {Vector3(cy, 0, sy), Vector3(0, 1, 0), Vector3(-sy, 0, cy)};
    const Vector3 rz[3] = {Vector3(cz, -sz, 0), Vector3(sz, cz, 0), Vector3(0, 0, 1)};
    Vector3 rxy[3];
    multiply(rx, ry, rxy);
    multiply(rxy, rz, rows);

    const float viewHeight = windowHeight == 0 ? 1.0f : height;
    const float f = static_cast<float>(1.0 / std::tan(45.0 * degreesToRadians));
    yScale = f;
    xScale = f / (width / viewHeight);
    height = viewHeight;
}

ScreenPoint ScreenProjection::project(const Vector3& world) const {
    const Vector3 d = world - position;
    const Vector3 eye(dot(rows[0], d), dot(rows[1], d), dot(rows[2], d));
    ScreenPoint p;
    p.depth = -eye.z; // the camera looks along its -z
    if (p.depth <= 0.0f)
        return p; // behind the camera: no picture position means anything
    p.x = (xScale * eye.x / p.depth + 1.0f) * 0.5f * width;
    p.y = (yScale * eye.y / p.depth + 1.0f) * 0.5f * height;
    p.visible = p.depth >= nearPlane && p.depth <= farPlane && p.x >= 0.0f && p.x <= width &&
                p.y >= 0.0f && p.y <= height;
    return p;
}
