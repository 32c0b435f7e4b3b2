#include "app/CameraDirector.h"
#include "app/PlayerView.h"
#include "assets/Skeleton.h"
#include "world/FlyingShell.h"
#include "world/Launch.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include "world/World.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr double degrees = 180.0 / 3.14159265358979323846;

// Behind and above a tank, looking over it at the ground ahead: the tank sits in
// the lower half of the picture and the field it aims at fills the rest.
constexpr float tankBack = 18.0f, tankUp = 9.0f, tankAhead = 22.0f;
// Behind a shell's flight and above it, so the arc and the ground it falls to
// show together.
constexpr float shellBack = 24.0f, shellUp = 10.0f;
// The look swings faster than the camera travels, and never lags more than this
// many degrees behind what it follows: inside the 45 degrees of half the view.
constexpr float lookSeconds = 0.12f;
constexpr float mostLagDegrees = 30.0f;
constexpr float aboveGround = 2.0f;

// Unlike normalized, leaves a zero vector zero.
Vector3 unit(const Vector3& v) {
    return length(v) > 0.0f ? normalized(v) : v;
}

// The free camera's view direction for a pitch (x, looking down when positive)
// and a yaw (y): yaw 0 looks along -z, yaw 90 along +x.
Vector3 viewDirection(const Vector3& rotation) {
    const double pitch = rotation.x / degrees, yaw = rotation.y / degrees;
    return Vector3(static_cast<float>(std::sin(yaw) * std::cos(pitch)),
                   static_cast<float>(-std::sin(pitch)),
                   static_cast<float>(-std::cos(yaw) * std::cos(pitch)));
}

// The highest of the grid points round a place, so a camera kept above it clears
// the slope between them too.
float groundUnder(const Terrain& terrain, float x, float z) {
    const double columns = terrain.width(), rows = terrain.height();
    if (columns < 1.0 || rows < 1.0)
        return 0.0f;
    const auto index = [](double at, double count) {
        return static_cast<std::uint32_t>(std::clamp(at, 0.0, count - 1.0));
    };
    const double column = static_cast<double>(x) / terrain.size().x * columns;
    const double row = static_cast<double>(z) / terrain.size().z * rows;
    float highest = 0.0f;
    for (const double i : {std::floor(column), std::floor(column) + 1.0})
        for (const double j : {std::floor(row), std::floor(row) + 1.0})
            highest = std::max(highest, terrain.heightAt(index(i, columns), index(j, rows)));
    return highest;
}

// Inside the world and clear of the ground.
Vector3 placeable(const Terrain& terrain, Vector3 eye) {
    eye.x = std::clamp(eye.x, 0.0f, worldSize);
    eye.z = std::clamp(eye.z, 0.0f, worldSize);
    eye.y = std::clamp(eye.y, groundUnder(terrain, eye.x, eye.z) + aboveGround, worldSize);
    return eye;
}

// Raised until the line to what it watches clears the ground on the way, up to
// the last few units: a subject in a hollow is seen from above anyway.
Vector3 overTheHills(const Terrain& terrain, Vector3 eye, const Vector3& subject) {
    constexpr int samples = 12;
    for (int k = 1; k < samples; ++k) {
        const float f = 0.9f * static_cast<float>(k) / samples;
        const Vector3 p = eye + (subject - eye) * f;
        // The line's height there is eye.y + (subject.y - eye.y) f.
        const float clear = groundUnder(terrain, p.x, p.z) + aboveGround;
        eye.y = std::max(eye.y, (clear - subject.y * f) / (1.0f - f));
    }
    eye.y = std::min(eye.y, worldSize);
    return eye;
}

} // namespace

bool CameraDirector::update(const PlayerView& view, Vector3& position, Vector3& rotation,
                            float dtSeconds, bool personSteers) {
    const TankObject* const tank = view.currentTank();
    if (tank == nullptr)
        return false;
    if (tank->id != turnTankId) {
        // A new turn: the camera is the director's again.
        turnTankId = tank->id;
        handedOver = false;
    }
    // The shots are followed in the person's hands too, so the director takes
    // up the one in the air when it gets the camera back.
    const bool following = followShot(view, dtSeconds);
    handedOver = handedOver || personSteers;
    if (handedOver)
        return false;
    // A shell going straight up or down is watched from the side.
    const Framing framing =
        following ? behind(view.terrain(), lastShellCentre, lastShellHeading, shellBack, shellUp, 0.0f)
                  : behindTank(view);

    // Glide toward the framing: a fixed share of the way per second, so the
    // camera arrives in about a second whatever the frame rate.
    const Terrain& terrain = view.terrain();
    const float travel = 1.0f - std::exp(-dtSeconds / glideSeconds);
    position = placeable(terrain, position + (framing.eye - position) * travel);

    const Vector3 wanted = unit(framing.target - position);
    if (length(wanted) == 0.0f)
        return true;
    const float swing = 1.0f - std::exp(-dtSeconds / lookSeconds);
    const Vector3 looking = viewDirection(rotation);
    Vector3 look = unit(looking + (wanted - looking) * swing);
    // Halving the angle to what is followed until it is within reach keeps a fast
    // shell in the picture while the look catches up.
    const float leastCos = static_cast<float>(std::cos(mostLagDegrees / degrees));
    for (int i = 0; i < 8 && !(dot(look, wanted) >= leastCos); ++i)
        look = unit(look + wanted);

    const float across = std::sqrt(look.x * look.x + look.z * look.z);
    rotation.x = static_cast<float>(std::atan2(-look.y, across) * degrees);
    // Straight up or down the yaw means nothing: keep the one there is.
    if (across > 1e-4f)
        rotation.y = static_cast<float>(std::atan2(look.x, -look.z) * degrees);
    return true;
}

bool CameraDirector::followShot(const PlayerView& view, float dtSeconds) {
    std::vector<const Object*> shells;
    for (const Object* object : view.objects()) {
        // Only a marked shot can be followed to its end.
        if (!isFlyingShell(*object) || object->shotId == 0)
            continue;
        shells.push_back(object);
        if (std::find(shots.begin(), shots.end(), object->shotId) == shots.end())
            shots.push_back(object->shotId);
    }
    while (!shots.empty()) {
        Vector3 centre, heading;
        int count = 0;
        for (const Object* shell : shells) {
            if (shell->shotId != shots.front())
                continue;
            centre += shell->position;
            heading += Vector3(shell->velocity.x, 0.0f, shell->velocity.z);
            ++count;
        }
        if (count > 0) {
            lastShellCentre = centre * (1.0f / static_cast<float>(count));
            if (length(heading) > 0.0f)
                lastShellHeading = normalized(heading);
            lingerLeft = lingerSeconds;
            return true;
        }
        // Every shell of the followed shot has gone off: a moment on the burst,
        // then the next shot.
        if (lingerLeft > 0.0f) {
            lingerLeft -= dtSeconds;
            return true;
        }
        shots.erase(shots.begin());
    }
    return false;
}

CameraDirector::Framing CameraDirector::behindTank(const PlayerView& view) {
    const TankObject& tank = *view.currentTank();
    // The way the gun points over the ground; a tank that cannot aim looks
    // toward the middle of the field.
    Vector3 ahead;
    if (const Skeleton* turret = view.turret())
        ahead = muzzleVelocity(turret->rotate.y, 0.0f, 1.0f);
    else
        ahead = Vector3(worldSize / 2, tank.position.y, worldSize / 2) - tank.position;
    return behind(view.terrain(), tank.position, ahead, tankBack, tankUp, tankAhead);
}

// Behind the subject along `ahead` (flattened), looking `lookAhead` past it. Where
// a hill would hide it from there the camera goes round it: the first of a few
// turns about the subject from which a small rise clears the view, else the one
// needing the least.
CameraDirector::Framing CameraDirector::behind(const Terrain& terrain, const Vector3& subject,
                                               Vector3 ahead, float back, float up,
                                               float lookAhead) {
    ahead.y = 0.0f;
    ahead = length(ahead) > 0.0f ? normalized(ahead) : Vector3(0.0f, 0.0f, -1.0f);
    constexpr float turns[] = {0.0f, 45.0f, -45.0f, 90.0f, -90.0f, 135.0f, -135.0f, 180.0f};
    constexpr float smallRise = 3.0f;
    Framing best;
    float bestRise = 0.0f;
    for (const float turn : turns) {
        const double a = turn / degrees;
        const Vector3 way(static_cast<float>(ahead.x * std::cos(a) - ahead.z * std::sin(a)), 0.0f,
                          static_cast<float>(ahead.x * std::sin(a) + ahead.z * std::cos(a)));
        const Vector3 eye = placeable(terrain, subject - way * back + Vector3(0.0f, up, 0.0f));
        const Vector3 clear = overTheHills(terrain, eye, subject);
        const float rise = clear.y - eye.y;
        if (turn == turns[0] || rise < bestRise) {
            best = Framing{clear, subject + way * lookAhead};
            bestRise = rise;
        }
        if (rise < smallRise)
            break;
    }
    return best;
}
