// The solver flies whole shells rather than solving the ballistic equation: the
// game's shells take Euler steps and touch the ground at grid points, which no
// closed form follows to the unit, and hills in the way are just ground to it.
// For each elevation the launch speed is bisected on where the shell comes down
// along the line of fire; a steeper arc going up is always above a lower one at
// every distance, so on any ground that place only moves away as the speed grows.
#include "world/ShotSolver.h"
#include "world/ClusterWeapon.h"
#include "world/ExplosiveWeapon.h"
#include "world/GroundContact.h"
#include "world/Launch.h"
#include "world/Terrain.h"
#include "world/WallContact.h"
#include <cmath>
#include <limits>

namespace {

constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float degreesPerRadian = 180.0f / 3.14159f; // the inverse of the firing rule's
constexpr float preferredElevation = 40.0f;
constexpr float elevationStep = 2.5f;
constexpr int speedHalvings = 24;

// The node the game would turn for `id`: found as the game finds the current
// tank's nodes, depth first, a later node of the same id winning.
Skeleton* namedNode(Skeleton& root, const std::string& id) {
    Skeleton* found = nullptr;
    std::vector<Skeleton*> pending{&root};
    while (!pending.empty()) {
        Skeleton* const node = pending.back();
        pending.pop_back();
        for (Skeleton& child : node->children)
            pending.push_back(&child);
        if (node->id == id)
            found = node;
    }
    return found;
}

float acrossGround(const Vector3& a, const Vector3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

// What a weapon sets off where its shell lands: the shell, and for a cluster the
// sideways speed of its fastest shot relative to the carrier.
struct Blast {
    const ExplosiveWeapon* shell = nullptr;
    float fanSpeed = 0.0f;
};

Blast blastOf(const Weapon& weapon) {
    if (const auto* cluster = dynamic_cast<const ClusterWeapon*>(&weapon))
        return Blast{&cluster->submunition, cluster->fanSpeed()};
    return Blast{dynamic_cast<const ExplosiveWeapon*>(&weapon), 0.0f};
}

} // namespace

ShotSolver::ShotSolver(const Terrain& ground, const Vector3& gravityValue, float timeStepSeconds,
                       const Skeleton& tankSkeleton, const Vector3& tankPosition, float tankRadius)
    : terrain(ground), gravity(gravityValue), dt(timeStepSeconds), model(tankSkeleton),
      position(tankPosition), radius(tankRadius) {
    turret = namedNode(model, "turret");
    barrel = namedNode(model, "barrel");
}

Vector3 ShotSolver::muzzle(const Aim& aim) const {
    if (turret)
        turret->rotate.y = aim.turretDegrees;
    if (barrel)
        barrel->rotate.x = aim.barrelDegrees;
    return muzzlePosition(model, position);
}

Flight ShotSolver::fly(const Aim& aim) const {
    Flight flight;
    Vector3 p = muzzle(aim);
    Vector3 v = muzzleVelocity(aim.turretDegrees, aim.barrelDegrees, aim.speed);
    const BoxWalls walls(gameBox);
    const GroundGrid grid(terrain);
    float apexSeconds = -1.0f;
    // A step of the physics with this shell alone in the world: the earliest of
    // wall and ground within the step, a tie going to the wall.
    for (int n = 0; n < maxSteps; ++n) {
        float tW = dt;
        int axis = 0;
        const bool wall = meetsWallSooner(walls, p, v, tW, axis);
        if (tW < 0.0f)
            tW = 0.0f;
        float tT = dt;
        GroundPoint ground;
        const bool touches =
            !grid.empty() && meetsGroundSooner(grid, p, v, shellRadius, dt, tT, ground);
        if (wall && tW <= tT)
            return flight; // it bounces, and a bounce is no aim
        const float step = touches ? tT : dt;
        p += step * v;
        v += step * gravity;
        flight.seconds += step;
        if (touches) {
            flight.landing = p;
            flight.landed = true;
            flight.fallSeconds = apexSeconds < 0.0f ? 0.0f : flight.seconds - apexSeconds;
            return flight;
        }
        if (apexSeconds < 0.0f && v.y < 0.0f)
            apexSeconds = flight.seconds;
    }
    return flight;
}

float ShotSolver::turretTowards(const Vector3& target, float barrelDegrees) const {
    // The muzzle moves as the turret turns; the line of fire starts there.
    float degrees = std::atan2(target.x - position.x, target.z - position.z) * degreesPerRadian;
    for (int pass = 0; pass < 2; ++pass) {
        const Vector3 from = muzzle(Aim{degrees, barrelDegrees, 0.0f});
        degrees = std::atan2(target.x - from.x, target.z - from.z) * degreesPerRadian;
    }
    return degrees < 0.0f ? degrees + 360.0f : degrees;
}

Shot ShotSolver::solveAtElevation(const Vector3& target, float barrelDegrees) const {
    Aim aim{turretTowards(target, barrelDegrees), barrelDegrees, 0.0f};
    const Vector3 from = muzzle(aim);
    const float yaw = aim.turretDegrees / degreesPerRadian;
    const float lineX = std::sin(yaw);
    const float lineZ = std::cos(yaw);
    const auto along = [&](const Flight& flight) {
        if (!flight.landed)
            return infinity; // into a wall: too far
        return (flight.landing.x - from.x) * lineX + (flight.landing.z - from.z) * lineZ;
    };
    const float goal = (target.x - from.x) * lineX + (target.z - from.z) * lineZ;

    float low = 0.0f;
    float high = maxSpeed;
    Flight lowFlight = fly(Aim{aim.turretDegrees, barrelDegrees, low});
    Flight highFlight = fly(Aim{aim.turretDegrees, barrelDegrees, high});
    if (along(highFlight) >= goal && along(lowFlight) < goal) {
        for (int n = 0; n < speedHalvings; ++n) {
            const float middle = 0.5f * (low + high);
            const Flight flight = fly(Aim{aim.turretDegrees, barrelDegrees, middle});
            if (along(flight) < goal) {
                low = middle;
                lowFlight = flight;
            } else {
                high = middle;
                highFlight = flight;
            }
        }
    }
    const float lowMiss = lowFlight.landed ? acrossGround(lowFlight.landing, target) : infinity;
    const float highMiss = highFlight.landed ? acrossGround(highFlight.landing, target) : infinity;
    if (highMiss < lowMiss)
        return Shot{Aim{aim.turretDegrees, barrelDegrees, high}, highFlight, highMiss};
    return Shot{Aim{aim.turretDegrees, barrelDegrees, low}, lowFlight, lowMiss};
}

Shot ShotSolver::solve(const Vector3& target, float keepOut) const {
    Shot best;
    best.miss = infinity;
    Shot farthest; // the fallback when everything lands too near
    float farthestDistance = -1.0f;
    const auto better = [](const Shot& a, const Shot& b) {
        if (a.miss <= hitTolerance && b.miss <= hitTolerance)
            return std::fabs(-a.aim.barrelDegrees - preferredElevation) <
                   std::fabs(-b.aim.barrelDegrees - preferredElevation);
        return a.miss < b.miss;
    };
    for (float elevation = elevationStep; elevation < 90.0f; elevation += elevationStep) {
        const Shot shot = solveAtElevation(target, -elevation);
        if (!shot.flight.landed)
            continue;
        const float distance = length(shot.flight.landing - position);
        if (distance > farthestDistance) {
            farthestDistance = distance;
            farthest = shot;
        }
        if (distance >= keepOut && better(shot, best))
            best = shot;
    }
    if (best.miss == infinity && farthestDistance >= 0.0f)
        return farthest;
    return best;
}

float ShotSolver::reach(const Weapon& weapon, const Flight& flight, float bodyRadius) {
    const Blast blast = blastOf(weapon);
    if (blast.shell == nullptr)
        return infinity;
    // An explosion of radius r hurts a body of radius b whose centre lies d away
    // while d * d - b - r < r * r.
    const float r = blast.shell->blastRadius;
    const float hurts = std::sqrt(r * r + r + bodyRadius);
    // A fan's shots drift apart from the top of the arc on; they fall to uneven
    // ground for longer or shorter than the centre shot, hence half as much again.
    return hurts + 1.5f * blast.fanSpeed * flight.fallSeconds;
}

int ShotSolver::strongestSafeWeapon(const std::vector<const Weapon*>& weapons,
                                    const Flight& flight) const {
    int chosen = -1;
    float chosenBlast = -1.0f;
    bool chosenCluster = false;
    const float distance = length(flight.landing - position);
    for (std::size_t i = 0; i < weapons.size(); ++i) {
        const Blast blast = blastOf(*weapons[i]);
        if (blast.shell == nullptr || distance <= reach(*weapons[i], flight, radius) + safetyMargin)
            continue;
        const float r = blast.shell->blastRadius;
        const bool cluster = blast.fanSpeed > 0.0f;
        if (r > chosenBlast || (r == chosenBlast && cluster && !chosenCluster)) {
            chosen = static_cast<int>(i);
            chosenBlast = r;
            chosenCluster = cluster;
        }
    }
    return chosen;
}
