// The marks over the plain frame, shown while the variable "marks" is on: each
// tank in its player's colour with a label over it, and the shells' trails and
// the bursts' flashes. Without them the frame is exactly the plain one.
#include "app/GameCore.h"
#include "render/ScreenProjection.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>

namespace {

// What a label must keep clear of, in pixels: the heads-up block in the bottom
// left corner (five lines of up to sixteen 16-pixel glyphs) and the weapon bar
// along the top edge.
constexpr int hudRight = 16 * 16;
constexpr int hudTop = 5 * 16;
constexpr int weaponBarHeight = 32;
constexpr float labelLift = 4.0f;      // pixels between the top of a tank and its label
constexpr float maxFlashRadius = 5.0f; // world units

// Where a label of w x h pixels goes over an anchor point: centred above it,
// kept inside the window, moved over the heads-up block or under the weapon bar
// when it would cover them; false when no such place is left.
bool placeLabel(float anchorX, float anchorY, int w, int h, int width, int height, int& left,
                int& bottom) {
    if (w > width)
        return false;
    left = std::clamp(static_cast<int>(std::floor(anchorX - w / 2.0f)), 0, width - w);
    bottom = static_cast<int>(std::floor(anchorY + labelLift));
    const auto overHud = [&] { return left < hudRight && bottom < hudTop; };
    if (overHud())
        bottom = hudTop;
    bottom = std::max(bottom, 0);
    if (bottom + h > height - weaponBarHeight)
        bottom = height - weaponBarHeight - h;
    return bottom >= 0 && !overHud();
}

} // namespace

bool GameCore::marksShown() const {
    return variable("marks") != 0;
}

void GameCore::drawMarkedObject(const Object& object) {
    if (dynamic_cast<const TankObject*>(&object) != nullptr)
        screen.drawTintedObject(object, meshes, marks.colourOf(object));
    else
        screen.drawObject(object, meshes);
}

// After the scene's objects, so the trails are hidden by what stands in front.
void GameCore::drawShotMarks() {
    if (marks.trails().empty() && marks.flashes().empty())
        return;
    const ScreenProjection view(cameraPosition, cameraRotation, screen.getWidth(),
                                screen.getHeight());
    const Vector3 trailColour(1.0f, 0.85f, 0.45f);
    screen.beginMarks();
    std::vector<const std::vector<Vector3>*> paths;
    paths.reserve(marks.trails().size());
    for (const BattleMarks::Trail& trail : marks.trails())
        paths.push_back(&trail.points);
    screen.drawShellTrails(paths, trailColour);
    for (const BattleMarks::Flash& flash : marks.flashes()) {
        const float share = flash.age / BattleMarks::flashSeconds;
        // A bright spot, not a second explosion: a nuke's would cover the picture,
        // and a software renderer pays for every blended pixel of it.
        const float size = std::clamp(flash.radius, 1.0f, maxFlashRadius) * (0.8f + 0.5f * share);
        screen.drawFlash(flash.centre, view.rightAxis() * size, view.upAxis() * size, 1.0f - share);
    }
    screen.endMarks();
}

// In the overlay, before the weapon bar and the heads-up texts, which thus stay
// on top; the labels avoid them anyway.
void GameCore::drawTankLabels() {
    const int width = screen.getWidth();
    const int height = screen.getHeight();
    const ScreenProjection view(cameraPosition, cameraRotation, width, height);
    screen.bindTexture(fontTexture);
    for (TankList::iterator it = tanks.begin(); it != tanks.end(); ++it) {
        const TankObject& tank = **it;
        if (!tank.active || tank.health <= 0.0f)
            continue;
        const ScreenPoint top = view.project(tank.position + Vector3(0.0f, tank.radius, 0.0f));
        if (!top.visible)
            continue;
        const bool current = it == currentTank;
        int left = 0, bottom = 0;
        if (placeLabel(top.x, top.y, Display::labelWidth(tank.name().size()),
                       Display::labelHeight(current), width, height, left, bottom))
            screen.drawLabel(tank.name(), static_cast<float>(left), static_cast<float>(bottom),
                             marks.colourOf(tank), tank.health, current);
    }
}
