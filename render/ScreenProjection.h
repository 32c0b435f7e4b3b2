#pragma once
#include "world/Vector3.h"

// Where a world point shows in the window, worked out on the processor with the
// same camera and lens the frame gives OpenGL: a 90 degree vertical field of view,
// near plane 0.1, far plane 300, aspect width / height; the camera turned about x,
// then y, then z, after moving the world by -position. Pixels count from the
// bottom left corner, as in the overlay. Issues no OpenGL call.
struct ScreenPoint {
    float x = 0.0f;     // pixels from the left edge
    float y = 0.0f;     // pixels from the bottom edge
    float depth = 0.0f; // world units in front of the camera (negative behind it)
    // Between the near and far planes and inside the window (edges included).
    bool visible = false;
};

class ScreenProjection {
public:
    // Angles in degrees, as the game keeps its camera. A height of 0 is taken as 1,
    // as the display's resize does.
    ScreenProjection(const Vector3& cameraPosition, const Vector3& cameraRotation, int width,
                     int height);

    ScreenPoint project(const Vector3& world) const;
    // The camera's own axes in world space (unit length): to the right of the
    // picture and up it. A flat sprite spanned by them faces the camera.
    Vector3 rightAxis() const { return rows[0]; }
    Vector3 upAxis() const { return rows[1]; }

    static constexpr float nearPlane = 0.1f;
    static constexpr float farPlane = 300.0f;

private:
    Vector3 position;
    Vector3 rows[3]; // world to eye: eye = rows * (world - position)
    float width;
    float height;
    float xScale; // the lens: f / aspect
    float yScale; // f
};
