// The weapon bar: six 32 x 32 icons and the highlight laid over the selected
// one. Each weapon has its own backdrop colour and shape, and the small and
// large versions of a weapon differ in size, so they tell apart at a glance.
#include "PackPictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int iconSize = 32;
constexpr float pi = 3.14159265f;

Point rotated(Point p, Point centre, float degrees) {
    const float a = degrees * pi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    const float dx = p.x - centre.x, dy = p.y - centre.y;
    return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

std::vector<Point> rotated(std::vector<Point> points, Point centre, float degrees) {
    for (Point& p : points) {
        p = rotated(p, centre, degrees);
    }
    return points;
}

// Dark tile with a lit top edge and a shaded bottom edge, like a key cap.
Canvas backdrop(const Color& tint) {
    Canvas icon(iconSize, iconSize, Color{0, 0, 0, 1});
    const Color top = mix(tint, Color{1, 1, 1, 1}, 0.08f);
    const Color bottom = mix(tint, Color{0, 0, 0, 1}, 0.45f);
    icon.fillRegion(
        1, 1, 31, 31, [](float x, float y) { return x > 1 && x < 31 && y > 1 && y < 31; },
        [&](float, float y) { return mix(top, bottom, y / iconSize); });
    const Color bevel = mix(tint, Color{1, 1, 1, 1}, 0.35f);
    icon.fillPolygon({{1, 1}, {31, 1}, {31, 2}, {1, 2}}, bevel);
    icon.fillPolygon({{1, 1}, {2, 1}, {2, 31}, {1, 31}}, bevel);
    return icon;
}

// A rocket drawn pointing right, `length` long, centred on `centre`, then
// turned by `degrees` (clockwise on screen, since y grows downward).
void rocket(Canvas& icon, Point centre, float length, float degrees, bool flame) {
    const float half = length / 2;
    const float r = length * 0.13f;
    const float cx = centre.x, cy = centre.y;
    const auto place = [&](std::vector<Point> shape, const Color& color) {
        icon.fillPolygon(rotated(std::move(shape), centre, degrees), color);
    };
    if (flame) {
        place({{cx - half + 1, cy - r * 0.8f},
               {cx - half - length * 0.35f, cy},
               {cx - half + 1, cy + r * 0.8f}},
              rgb(255, 150, 30));
        place({{cx - half + 1, cy - r * 0.45f},
               {cx - half - length * 0.2f, cy},
               {cx - half + 1, cy + r * 0.45f}},
              rgb(255, 236, 140));
    }
    // Fins, body, nose cone.
    place({{cx - half, cy - r},
           {cx - half - r * 0.6f, cy - r * 2.3f},
           {cx - half + length * 0.28f, cy - r}},
          rgb(200, 40, 40));
    place({{cx - half, cy + r},
           {cx - half - r * 0.6f, cy + r * 2.3f},
           {cx - half + length * 0.28f, cy + r}},
          rgb(200, 40, 40));
    place({{cx - half, cy - r},
           {cx + half - length * 0.25f, cy - r},
           {cx + half - length * 0.25f, cy + r},
           {cx - half, cy + r}},
          rgb(226, 230, 236));
    place({{cx - half, cy + r * 0.2f},
           {cx + half - length * 0.25f, cy + r * 0.2f},
           {cx + half - length * 0.25f, cy + r},
           {cx - half, cy + r}},
          rgb(160, 166, 178));
    place({{cx + half - length * 0.25f, cy - r},
           {cx + half, cy},
           {cx + half - length * 0.25f, cy + r}},
          rgb(220, 50, 40));
}

// The radiation sign: three blades and a hub on a yellow disc.
void trefoil(Canvas& icon, Point centre, float radius) {
    icon.fillCircle(centre, radius + 0.8f, rgb(20, 20, 16));
    icon.fillCircle(centre, radius, rgb(255, 214, 0));
    const float inner = radius * 0.28f;
    const float outer = radius * 0.86f;
    icon.fillRegion(
        centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius,
        [&](float x, float y) {
            const float dx = x - centre.x, dy = y - centre.y;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d < inner * 0.62f) {
                return true; // hub
            }
            if (d < inner || d > outer) {
                return false;
            }
            // Blades 60 degrees wide, one pointing straight up.
            float a = std::atan2(dy, dx) * 180.0f / pi + 90.0f;
            a = std::fmod(a + 720.0f + 30.0f, 120.0f);
            return a < 60.0f;
        },
        rgb(20, 20, 16));
}

void skull(Canvas& icon) {
    const Color bone = rgb(236, 230, 210);
    const Color shade = rgb(40, 10, 30);
    // Crossed bones behind the jaw, the mark of a death's head.
    icon.strokeLine({4, 29}, {28, 22}, 2.2f, bone);
    icon.strokeLine({4, 22}, {28, 29}, 2.2f, bone);
    icon.fillCircle({16, 13.5f}, 10.5f, bone);
    icon.fillPolygon({{9, 17}, {23, 17}, {21.5f, 26}, {10.5f, 26}}, bone);
    icon.fillCircle({11.8f, 14}, 3.3f, shade);
    icon.fillCircle({20.2f, 14}, 3.3f, shade);
    icon.fillPolygon({{16, 17.5f}, {17.8f, 21}, {14.2f, 21}}, shade);
    for (int i = 0; i < 4; ++i) {
        const float x = 12.2f + i * 2.6f;
        icon.fillPolygon({{x, 23}, {x + 0.9f, 23}, {x + 0.9f, 26.5f}, {x, 26.5f}}, shade);
    }
}

void fan(Canvas& icon) {
    const Point origin{6, 27};
    const Color trail = rgb(180, 230, 220);
    for (int i = 0; i < 5; ++i) {
        const float a = (-80.0f + i * 17.5f) * pi / 180.0f;
        const Point tip{origin.x + 22.0f * std::cos(a) + 2.0f, origin.y + 22.0f * std::sin(a)};
        icon.strokeLine({origin.x + 5 * std::cos(a), origin.y + 5 * std::sin(a)}, tip, 1.3f, trail);
        const float deg = a * 180.0f / pi;
        icon.fillPolygon(rotated(std::vector<Point>{{tip.x + 3.2f, tip.y},
                                                    {tip.x - 1.8f, tip.y - 2.4f},
                                                    {tip.x - 1.8f, tip.y + 2.4f}},
                                 tip, deg),
                         rgb(255, 90, 60));
    }
    icon.fillCircle(origin, 3.2f, rgb(240, 240, 240));
}

} // namespace

Canvas makeWeaponIcon(WeaponIcon which) {
    switch (which) {
    case WeaponIcon::BabyMissile: {
        Canvas icon = backdrop(rgb(40, 70, 130));
        rocket(icon, {17, 16}, 15, -45, false);
        return icon;
    }
    case WeaponIcon::Missile: {
        Canvas icon = backdrop(rgb(40, 70, 130));
        rocket(icon, {18.5f, 13.5f}, 24, -45, true);
        return icon;
    }
    case WeaponIcon::BabyNuke: {
        Canvas icon = backdrop(rgb(110, 90, 20));
        trefoil(icon, {16, 16}, 7.5f);
        return icon;
    }
    case WeaponIcon::Nuke: {
        Canvas icon = backdrop(rgb(110, 90, 20));
        trefoil(icon, {16, 16}, 13.5f);
        return icon;
    }
    case WeaponIcon::Mirv: {
        Canvas icon = backdrop(rgb(20, 100, 96));
        fan(icon);
        return icon;
    }
    case WeaponIcon::DeathsHead:
    default: {
        Canvas icon = backdrop(rgb(90, 20, 60));
        skull(icon);
        return icon;
    }
    }
}

Canvas makeSelectionFrame() {
    // A bright rim with a soft glow inward; the middle stays fully clear.
    Canvas frame(iconSize, iconSize, Color{0, 0, 0, 0});
    const Color gold = rgb(255, 214, 64);
    const auto ringBetween = [](float inset0, float inset1) {
        return [inset0, inset1](float x, float y) {
            const float edge = std::min(std::min(x, iconSize - x), std::min(y, iconSize - y));
            return edge >= inset0 && edge < inset1;
        };
    };
    frame.fillRegion(0, 0, iconSize, iconSize, ringBetween(3.0f, 5.0f),
                     Color{gold.r, gold.g, gold.b, 0.25f});
    frame.fillRegion(0, 0, iconSize, iconSize, ringBetween(0.0f, 2.5f), gold);
    frame.fillRegion(0, 0, iconSize, iconSize, ringBetween(2.5f, 3.0f),
                     Color{1.0f, 1.0f, 0.85f, 0.9f});
    return frame;
}
