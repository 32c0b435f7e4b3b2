#include "app/TankControls.h"
#include "app/GameCore.h"
#include "world/Launch.h"
#include "world/TankObject.h"
#include <cmath>
#include <iterator>
#include <vector>

// Values beyond the range of long long only come from absurd frame times; they
// are cut to the limit instead of overflowing the conversion.
std::string TankControls::wholeNumberText(float value) {
    if (std::isnan(value))
        return "0";
    constexpr float limit = 9.0e18f;
    const float bounded = value > limit ? limit : value < -limit ? -limit : value;
    return std::to_string(static_cast<long long>(bounded));
}

Skeleton* TankControls::node(const char* id) const {
    const auto found = core.tankNodes.find(id);
    return found == core.tankNodes.end() ? nullptr : found->second;
}

void TankControls::turnTurret(float degrees) {
    Skeleton* const turret = node("turret");
    if (!turret)
        return;
    turret->rotate.y += degrees;
    if (std::signbit(degrees)) {
        if (turret->rotate.y < 0.0f)
            turret->rotate.y += 360.0f;
    } else if (turret->rotate.y > 360.0f) {
        turret->rotate.y -= 360.0f;
    }
    core.turretAngle = turret->rotate.y;
    core.angleText = wholeNumberText(turret->rotate.y);
}

// Raised by a negative x rotation; the text shows it as a positive elevation.
void TankControls::raiseBarrel(float degrees) {
    Skeleton* const barrel = node("barrel");
    if (!barrel)
        return;
    barrel->rotate.x -= degrees;
    if (std::signbit(degrees)) {
        if (barrel->rotate.x > 0.0f)
            barrel->rotate.x = 0.0f;
    } else if (barrel->rotate.x < -90.0f) {
        barrel->rotate.x = -90.0f;
    }
    core.elevation = barrel->rotate.x;
    core.elevationText = wholeNumberText(-std::trunc(barrel->rotate.x));
}

void TankControls::changeVelocity(bool faster, bool slower, float amount) {
    float& velocity = core.launchVelocity;
    if (faster)
        velocity += amount;
    if (slower)
        velocity -= amount;
    if (velocity > 100.0f)
        velocity = 100.0f;
    if (velocity < 0.0f)
        velocity = 0.0f;
    if (faster || slower)
        core.velocityText = wholeNumberText(velocity);
}

void TankControls::nextWeapon() {
    if (core.weapons.empty())
        return;
    ++core.currentWeapon;
    if (core.currentWeapon == core.weapons.end())
        core.currentWeapon = core.weapons.begin();
}

TankControls::Settings TankControls::settings() const {
    return {core.launchVelocity, core.velocityText,
            static_cast<int>(std::distance(core.weapons.begin(), core.currentWeapon))};
}

void TankControls::restore(const Settings& saved) {
    core.launchVelocity = saved.launchVelocity;
    core.velocityText = saved.velocityText;
    if (saved.weapon >= 0 && saved.weapon < static_cast<int>(core.weapons.size()))
        core.currentWeapon = std::next(core.weapons.begin(), saved.weapon);
}

bool TankControls::fire(std::uint32_t shotId) {
    if (core.currentTank == core.tanks.end())
        return false;
    const TankObject& tank = **core.currentTank;

    // Without a turret or barrel the tank cannot aim, so it does not fire; its
    // player still gives up the turn.
    const Skeleton* const turret = node("turret");
    const Skeleton* const barrel = node("barrel");
    bool fired = false;
    if (turret && barrel && core.currentWeapon != core.weapons.end()) {
        const Vector3 muzzle = muzzlePosition(tank.skeleton, tank.position);
        const Vector3 velocity =
            muzzleVelocity(turret->rotate.y, barrel->rotate.x, core.launchVelocity);
        const std::size_t before = core.objects.size();
        (*core.currentWeapon)->fire(core.objects, muzzle, velocity);
        core.sound.launch(muzzle);
        fired = core.objects.size() != before;
        for (auto it = std::next(core.objects.begin(), static_cast<long>(before));
             it != core.objects.end(); ++it)
            (*it)->shotId = shotId;
    }

    ++core.currentTank;
    if (core.currentTank == core.tanks.end())
        core.currentTank = core.tanks.begin();
    selectTankNodes();
    return fired;
}

// Depth first with an explicit stack, so a deep skeleton cannot exhaust the call
// stack; a node visited later replaces an earlier one of the same id. The aim
// texts otherwise change only while a key is held: without this the next player
// would see the last one's numbers over a turret that points elsewhere. The
// launch velocity is one value for everybody and keeps its text.
void TankControls::selectTankNodes() {
    core.tankNodes.clear();
    if (core.currentTank == core.tanks.end())
        return;
    std::vector<Skeleton*> pending{&(*core.currentTank)->skeleton};
    while (!pending.empty()) {
        Skeleton* const visited = pending.back();
        pending.pop_back();
        for (Skeleton& child : visited->children)
            pending.push_back(&child);
        core.tankNodes[visited->id] = visited;
    }

    const Skeleton* const turret = node("turret");
    const Skeleton* const barrel = node("barrel");
    core.turretAngle = turret ? turret->rotate.y : 0.0f;
    core.elevation = barrel ? barrel->rotate.x : 0.0f;
    core.angleText = wholeNumberText(core.turretAngle);
    core.elevationText = wholeNumberText(-std::trunc(core.elevation));
    core.healthText = wholeNumberText((*core.currentTank)->health);
}
