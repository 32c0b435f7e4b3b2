// A trail keeps a point every sampleSeconds: its newest point follows the shell
// until it is that old, then stays behind and a new one starts. A trail thus
// holds at most trailSeconds / sampleSeconds + 2 points whatever the frame rate.
#include "app/BattleMarks.h"
#include "world/FlyingShell.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cmath>

namespace {

// Hue in turns (0 to 1), saturation and value 0 to 1.
Vector3 fromHsv(float hue, float saturation, float value) {
    const float h = (hue - std::floor(hue)) * 6.0f;
    const int sector = static_cast<int>(h) % 6;
    const float f = h - std::floor(h);
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - saturation * f);
    const float t = value * (1.0f - saturation * (1.0f - f));
    switch (sector) {
    case 0:
        return Vector3(value, t, p);
    case 1:
        return Vector3(q, value, p);
    case 2:
        return Vector3(p, value, t);
    case 3:
        return Vector3(p, q, value);
    case 4:
        return Vector3(t, p, value);
    default:
        return Vector3(value, p, q);
    }
}

} // namespace

BattleMarks::BattleMarks(WorldEvents& nextListener) : next(nextListener) {}

void BattleMarks::exploded(const Vector3& centre, float radius) {
    bursts.push_back(Flash{centre, radius});
    next.exploded(centre, radius);
}

void BattleMarks::split(const Vector3& centre) {
    next.split(centre);
}

void BattleMarks::startGame(const std::list<TankObject*>& tanks) {
    places.clear();
    shellTrails.clear();
    bursts.clear();
    int place = 0;
    for (const TankObject* tank : tanks)
        places[tank->id] = place++;
}

void BattleMarks::update(const ObjectList& objects, float dtSeconds) {
    for (Flash& flash : bursts) {
        if (!flash.newThisUpdate)
            flash.age += dtSeconds;
        flash.newThisUpdate = false;
    }
    bursts.erase(std::remove_if(bursts.begin(), bursts.end(),
                                [](const Flash& f) { return f.age >= flashSeconds; }),
                 bursts.end());

    // Both the list and the old trails run in creation order, so one pass over
    // each pairs every shell with its trail; a shell gone takes its trail along.
    std::vector<Trail> followed;
    std::vector<Trail>::iterator old = shellTrails.begin();
    for (const std::unique_ptr<Object>& object : objects) {
        if (!isFlyingShell(*object))
            continue;
        while (old != shellTrails.end() && old->shellId < object->id)
            ++old;
        Trail trail;
        if (old != shellTrails.end() && old->shellId == object->id)
            trail = std::move(*old++);
        else
            trail.shellId = object->id;
        for (float& age : trail.ages)
            age += dtSeconds;
        if (trail.points.empty() || trail.ages.back() >= sampleSeconds) {
            trail.points.push_back(object->position);
            trail.ages.push_back(0.0f);
        } else {
            trail.points.back() = object->position;
        }
        std::size_t stale = 0;
        while (stale + 1 < trail.ages.size() && trail.ages[stale] > trailSeconds)
            ++stale;
        trail.points.erase(trail.points.begin(), trail.points.begin() + stale);
        trail.ages.erase(trail.ages.begin(), trail.ages.begin() + stale);
        followed.push_back(std::move(trail));
    }
    shellTrails = std::move(followed);
}

Vector3 BattleMarks::colourOf(const Object& tank) const {
    const auto found = places.find(tank.id);
    return found == places.end() ? Vector3(1.0f, 1.0f, 1.0f) : playerColour(found->second);
}

// Eight hues that nobody mixes up, then the golden angle round the colour wheel
// in three rings of brightness, which keeps 64 players apart.
Vector3 BattleMarks::playerColour(int place) {
    static const Vector3 firstColours[] = {
        Vector3(0.95f, 0.25f, 0.2f), Vector3(0.25f, 0.5f, 1.0f),  Vector3(0.3f, 0.9f, 0.3f),
        Vector3(1.0f, 0.9f, 0.2f),   Vector3(0.9f, 0.35f, 0.95f), Vector3(0.25f, 0.95f, 0.95f),
        Vector3(1.0f, 0.6f, 0.15f),  Vector3(0.6f, 0.4f, 1.0f)};
    constexpr int firstCount = sizeof firstColours / sizeof firstColours[0];
    if (place >= 0 && place < firstCount)
        return firstColours[place];
    const int k = std::max(place, 0) - firstCount;
    const float hue = 0.07f + 0.381966f * static_cast<float>(k);
    const float saturation = k % 2 == 0 ? 0.75f : 0.5f;
    const float value = 1.0f - 0.15f * static_cast<float>(k % 3);
    return fromHsv(hue, saturation, value);
}
