#include "render/ScreenProjection.h"
#include "support/GLReplay.h"

// Known places on a 640 x 480 window: straight ahead is the centre, 45 degrees
// up is the top edge (a 90 degree view), behind the camera or past the far plane
// nothing is visible.
TEST(ScreenProjection, KnownPointsOfThe90DegreeView) {
    struct Case {
        Vector3 position, rotation, point;
        float x, y, depth;
        bool visible;
    };
    const Case cases[] = {
        {{50, 25, 100}, {0, 0, 0}, {50, 25, 99}, 320, 240, 1, true},
        {{50, 25, 100}, {0, 0, 0}, {50, 35, 90}, 320, 480, 10, true},
        {{50, 25, 100}, {0, 0, 0}, {60, 25, 90}, 560, 240, 10, true},  // f / aspect = 0.75
        {{50, 25, 100}, {0, 0, 0}, {50, 36, 90}, 320, 504, 10, false}, // above the window
        {{50, 25, 100}, {0, 0, 0}, {50, 25, 101}, 0, 0, -1, false},    // behind
        {{50, 25, 100}, {0, 0, 0}, {50, 25, -201}, 320, 240, 301, false},
        {{0, 0, 0}, {0, 90, 0}, {1, 0, 0}, 320, 240, 1, true}, // turned to look along +x
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.point.x) + ", " + std::to_string(c.point.z));
        const ScreenPoint p = ScreenProjection(c.position, c.rotation, 640, 480).project(c.point);
        EXPECT_NEAR(p.depth, c.depth, 1e-4);
        EXPECT_EQ(p.visible, c.visible);
        if (c.depth > 0) {
            EXPECT_NEAR(p.x, c.x, 1e-3);
            EXPECT_NEAR(p.y, c.y, 1e-3);
        }
    }
}

// For a camera turned about all three axes, the eye-space point that the
// display's own camera calls make agrees with the projection's depth and picture
// position; the camera's axes are unit vectors at right angles.
TEST(ScreenProjection, AgreesWithTheDisplaysCamera) {
    TraceCapture quiet;
    Display display;
    const Vector3 position(80, 60, 150), rotation(25, -40, 10);
    int inFront = 0;
    for (const Vector3& point :
         {Vector3(70, 40, 120), Vector3(20, 30, 90), Vector3(100, 80, 140)}) {
        fakegl::reset();
        display.setCamera(position, rotation);
        const glreplay::Point eye = glreplay::transform({point.x, point.y, point.z});
        const ScreenProjection view(position, rotation, 800, 600);
        const ScreenPoint p = view.project(point);
        EXPECT_NEAR(p.depth, -eye.z, 1e-3);
        if (p.depth > 0) {
            EXPECT_NEAR(p.x, (0.75 * eye.x / -eye.z + 1) * 400, 1e-2);
            EXPECT_NEAR(p.y, (eye.y / -eye.z + 1) * 300, 1e-2);
            ++inFront;
        }
        EXPECT_NEAR(dot(view.rightAxis(), view.upAxis()), 0, 1e-6);
        EXPECT_NEAR(dot(view.rightAxis(), view.rightAxis()), 1, 1e-6);
    }
    EXPECT_EQ(inFront, 2);
}
