// The application icon for desktop menus: a tank on a hill at dusk, its barrel
// raised toward a shell bursting in the sky, on a tile with rounded corners. It is
// painted at 512 x 512 and shrunk, so every size shows the same picture.
// Menus show icons as small as 48 pixels, so the shapes are few and bold and
// the tank's outline is lit against the sky.
#include "Noise.h"
#include "PackPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int paintSize = 512;
// The tile leaves a margin, as the icon themes' own icons do, so it does not
// look bigger than its neighbours in a menu.
constexpr float tileInset = 24.0f;
constexpr float cornerRadius = 88.0f;
constexpr float pi = 3.14159265f;

bool insideTile(float x, float y) {
    const float lo = tileInset + cornerRadius;
    const float hi = paintSize - tileInset - cornerRadius;
    const float dx = std::max({lo - x, 0.0f, x - hi});
    const float dy = std::max({lo - y, 0.0f, y - hi});
    return dx * dx + dy * dy <= cornerRadius * cornerRadius;
}

float groundLine(float x) {
    return 372.0f - 46.0f * fractalNoise(x / paintSize, 0.5f, 2, 3, 211u) +
           0.08f * (x - paintSize / 2.0f);
}

void paintSky(Canvas& canvas) {
    const Color top = rgb(22, 26, 64);
    const Color middle = rgb(74, 48, 104);
    const Color horizon = rgb(236, 138, 80);
    for (int y = 0; y < paintSize; ++y) {
        const float t = y / static_cast<float>(paintSize);
        const Color c = t < 0.5f ? mix(top, middle, t / 0.5f)
                                 : mix(middle, horizon, std::min(1.0f, (t - 0.5f) / 0.25f));
        for (int x = 0; x < paintSize; ++x) {
            canvas.at(x, y) = c;
        }
    }
}

// An eight-pointed star of fire with a white-hot core and a glow around it.
void paintBurst(Canvas& canvas, Point centre) {
    canvas.fillCircle(centre, 120, Color{1.0f, 0.62f, 0.25f, 0.18f});
    canvas.fillCircle(centre, 84, Color{1.0f, 0.7f, 0.3f, 0.3f});
    const auto star = [&](float outer, float inner, float turnDegrees, const Color& color) {
        std::vector<Point> points;
        for (int i = 0; i < 16; ++i) {
            const float r = i % 2 == 0 ? outer : inner;
            const float a = (i * 22.5f + turnDegrees) * pi / 180.0f;
            points.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
        }
        canvas.fillPolygon(points, color);
    };
    star(86, 38, 0, rgb(255, 132, 36));
    star(58, 28, 11.25f, rgb(255, 204, 64));
    canvas.fillCircle(centre, 22, rgb(255, 248, 220));
}

void paintGround(Canvas& canvas) {
    canvas.fillRegion(
        0, 300, paintSize, paintSize, [](float x, float y) { return y >= groundLine(x); },
        [](float, float y) { return mix(rgb(70, 40, 72), rgb(30, 18, 36), (y - 320) / 190); });
}

// The tank facing right, its barrel raised toward the burst; the rim light
// is the same shape drawn a little up and to the right underneath.
void paintTank(Canvas& canvas, float x, float baseline) {
    const float barrelDegrees = 38.0f;
    const float a = barrelDegrees * pi / 180.0f;
    const Point pivot{x + 16, baseline - 92};
    const Point muzzle{pivot.x + 120.0f * std::cos(a), pivot.y - 120.0f * std::sin(a)};
    const auto body = [&](float dx, float dy, const Color& color) {
        const auto at = [&](float px, float py) { return Point{x + px + dx, baseline + py + dy}; };
        canvas.fillPolygon({at(-104, 0), at(104, 0), at(120, -22), at(102, -46), at(-102, -46),
                            at(-120, -22)},
                           color);
        canvas.fillPolygon({at(-84, -46), at(84, -46), at(72, -70), at(-80, -70)}, color);
        canvas.fillPolygon({at(-52, -70), at(44, -70), at(28, -110), at(-40, -110)}, color);
        canvas.strokeLine({pivot.x + dx, pivot.y + dy}, {muzzle.x + dx, muzzle.y + dy}, 17.0f,
                          color);
    };
    body(4, -4, rgb(255, 196, 120));
    body(0, 0, rgb(26, 16, 30));
    // Road wheels, so it reads as a tank and not a house.
    for (int i = 0; i < 5; ++i) {
        canvas.fillRing({x - 76 + i * 38.0f, baseline - 20}, 9, 13, rgb(96, 70, 92));
    }
}

} // namespace

Canvas makeAppIcon() {
    Canvas scene(paintSize, paintSize);
    paintSky(scene);
    paintBurst(scene, {380, 118});
    paintGround(scene);
    const float tankX = 176;
    paintTank(scene, tankX, groundLine(tankX) + 14);

    // Cut the scene to the rounded tile, with smooth edges, over transparency.
    Canvas tile(paintSize, paintSize, Color{0, 0, 0, 0});
    tile.fillRegion(0, 0, paintSize, paintSize, insideTile, [&scene](float x, float y) {
        return scene.at(static_cast<int>(x), static_cast<int>(y));
    });
    return tile;
}
