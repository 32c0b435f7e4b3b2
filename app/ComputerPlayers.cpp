// A computer's turn, in phases: it thinks (a short pause, and until the tanks
// have landed and its own last shot has come down), plans (target, aim, weapon),
// turns the turret and moves the barrel together, then sets the launch velocity,
// steps to its weapon, and fires. Each phase moves no faster than a person's keys.
#include "app/ComputerPlayers.h"
#include "app/PlayerView.h"
#include "app/TankControls.h"
#include "world/Explosion.h"
#include "world/PhysicsSettings.h"
#include "world/TankObject.h"
#include "world/Terrain.h"
#include "world/Weapon.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

constexpr float doneDegrees = 1e-3f; // an aim this close is reached

struct LevelName {
    ComputerLevel level;
    const char* name;
    AimError error;
};
constexpr LevelName levels[] = {
    {ComputerLevel::easy, "easy", {0.4f, 0.85f}},
    {ComputerLevel::normal, "normal", {0.15f, 0.7f}},
    {ComputerLevel::hard, "hard", {0.02f, 0.6f}},
};

const LevelName& levelEntry(ComputerLevel level) {
    for (const LevelName& entry : levels)
        if (entry.level == level)
            return entry;
    return levels[1];
}

// The dice start from the ground the game is played on, so the same terrain gives
// the same game, and no two terrains the same errors.
std::uint32_t terrainSeed(const Terrain& terrain) {
    std::uint32_t hash = 2166136261u;
    for (std::uint32_t j = 0; j < terrain.height(); ++j) {
        for (std::uint32_t i = 0; i < terrain.width(); ++i) {
            std::uint32_t bits = 0;
            const float height = terrain.cells().at(i, j).height;
            std::memcpy(&bits, &height, sizeof bits);
            hash = (hash ^ bits) * 16777619u;
        }
    }
    return hash;
}

const TankObject* findTank(const PlayerView& game, std::uint32_t id) {
    for (const TankObject* tank : game.tanks())
        if (tank->id == id)
            return tank;
    return nullptr;
}

// The nearest a shell may come down to its own tank and still leave one weapon
// that does not hurt it.
float keepOut(const std::vector<const Weapon*>& weapons, float bodyRadius) {
    float nearest = std::numeric_limits<float>::infinity();
    for (const Weapon* weapon : weapons)
        nearest = std::min(nearest, ShotSolver::reach(*weapon, Flight{}, bodyRadius));
    return std::isfinite(nearest) ? nearest + ShotSolver::safetyMargin : 0.0f;
}

// The shorter way round from one turret angle to another, in degrees.
float turnBetween(float from, float to) {
    float d = std::fmod(to - from, 360.0f);
    if (d > 180.0f)
        d -= 360.0f;
    if (d <= -180.0f)
        d += 360.0f;
    return d;
}

} // namespace

AimError ComputerPlayers::aimError(ComputerLevel level) {
    return levelEntry(level).error;
}

std::string ComputerPlayers::assign(const PlayerView& game, int count,
                                    const std::string& levelWord) {
    const std::vector<const TankObject*> tanks = game.tanks();
    const int tankCount = static_cast<int>(tanks.size());
    if (count < 0 || count > tankCount)
        return "computers: the count must be from 0 to " + std::to_string(tankCount);
    const LevelName* entry = &levelEntry(ComputerLevel::normal);
    if (!levelWord.empty()) {
        const auto named = std::find_if(std::begin(levels), std::end(levels),
                                        [&](const LevelName& e) { return levelWord == e.name; });
        if (named == std::end(levels))
            return "computers: the level must be easy, normal or hard";
        entry = named;
    }

    clear();
    currentLevel = entry->level;
    dice.seed(terrainSeed(game.terrain()));
    std::string names;
    for (auto it = std::prev(tanks.end(), count); it != tanks.end(); ++it) {
        tankIds.push_back((*it)->id);
        names += (names.empty() ? "" : ", ") + (*it)->name();
    }
    if (count == 0)
        return "Computers: none";
    return "Computers (" + std::string(entry->name) + "): " + names;
}

void ComputerPlayers::take(const PlayerView& game, std::uint32_t tankId) {
    if (plays(tankId))
        return;
    if (tankIds.empty()) {
        currentLevel = ComputerLevel::normal;
        dice.seed(terrainSeed(game.terrain()));
    }
    tankIds.push_back(tankId);
}

void ComputerPlayers::clear() {
    tankIds.clear();
    brackets.clear();
    watched.clear();
    turn = Turn();
}

bool ComputerPlayers::plays(std::uint32_t tankId) const {
    return std::find(tankIds.begin(), tankIds.end(), tankId) != tankIds.end();
}

bool ComputerPlayers::playsTurn(const PlayerView& game) const {
    const TankObject* const current = game.currentTank();
    return current != nullptr && plays(current->id);
}

// The people's settings are taken before its first move and put back as soon as
// its last turn has passed, so a person's turn never sees the computer's.
std::string ComputerPlayers::update(const PlayerView& game, TankControls& controls, float dtSeconds,
                                    bool held) {
    watchShots(game);
    if (playsTurn(game) && !peoples)
        peoples = controls.settings();
    const std::string said = play(game, controls, dtSeconds, held);
    if (!playsTurn(game) && peoples) {
        controls.restore(*peoples);
        peoples.reset();
    }
    return said;
}

std::string ComputerPlayers::play(const PlayerView& game, TankControls& controls, float dtSeconds,
                                  bool held) {
    if (!playsTurn(game)) {
        turn = Turn();
        return {};
    }
    if (held)
        return {};

    const std::uint32_t tankId = game.currentTank()->id;
    if (turn.tankId != tankId) {
        turn = Turn();
        turn.tankId = tankId;
    }
    turn.clock += dtSeconds;
    // A target that died meanwhile is replaced at once.
    if (turn.phase != Phase::thinking && turn.phase != Phase::idle && turn.targetId != 0 &&
        findTank(game, turn.targetId) == nullptr) {
        turn.phase = Phase::thinking;
        turn.clock = thinkSeconds;
    }

    switch (turn.phase) {
    case Phase::thinking:
        if (turn.clock >= thinkSeconds && (settled(game) || turn.clock >= maxWaitSeconds))
            plan(game);
        break;
    case Phase::aiming:
        if (aimStep(game, controls, dtSeconds)) {
            turn.phase = Phase::choosing;
            turn.clock = 0.0f;
        }
        break;
    case Phase::choosing:
        if (turn.weapon < 0 || turn.weapon == game.selectedWeapon()) {
            turn.phase = Phase::firing;
            turn.clock = 0.0f;
        } else if (turn.clock >= tabSeconds) {
            controls.nextWeapon();
            turn.clock = 0.0f;
        }
        break;
    case Phase::firing:
        if (turn.clock >= settleSeconds)
            return fire(game, controls);
        break;
    case Phase::idle:
        break;
    }
    return {};
}

void ComputerPlayers::watchShots(const PlayerView& game) {
    if (watched.empty())
        return;
    const std::vector<const Object*> objects = game.objects();
    for (auto shot = watched.begin(); shot != watched.end();) {
        bool inWorld = false;
        for (const Object* object : objects) {
            if (object->shotId != shot->shotId)
                continue;
            inWorld = true;
            const auto* explosion = dynamic_cast<const Explosion*>(object);
            if (explosion == nullptr || !explosion->active ||
                std::find(shot->seen.begin(), shot->seen.end(), explosion->id) != shot->seen.end())
                continue;
            shot->seen.push_back(explosion->id);
            shot->landingSum += explosion->position;
            ++shot->landings;
        }
        if (inWorld) {
            ++shot;
            continue;
        }
        const auto bracket = brackets.find(shot->shooterId);
        if (bracket != brackets.end() && shot->landings > 0)
            bracket->second.observe(shot->targetId, shot->predicted,
                                    shot->landingSum / static_cast<float>(shot->landings));
        shot = watched.erase(shot);
    }
}

// A person waits for the tanks to land and watches where the last shot goes.
bool ComputerPlayers::settled(const PlayerView& game) const {
    for (const TankObject* tank : game.tanks())
        if (!tank->resting)
            return false;
    for (const WatchedShot& shot : watched)
        if (shot.shooterId == turn.tankId)
            return false;
    return true;
}

// The weakest enemy, then the one it shot at last, then the nearest.
std::uint32_t ComputerPlayers::chooseTarget(const PlayerView& game) const {
    const TankObject& self = *game.currentTank();
    const auto bracket = brackets.find(self.id);
    const std::uint32_t last = bracket == brackets.end() ? 0 : bracket->second.target();
    const TankObject* best = nullptr;
    for (const TankObject* tank : game.tanks()) {
        if (tank == &self)
            continue;
        if (best == nullptr || tank->health < best->health) {
            best = tank;
            continue;
        }
        if (tank->health > best->health || best->id == last)
            continue;
        if (tank->id == last ||
            length(tank->position - self.position) < length(best->position - self.position))
            best = tank;
    }
    return best == nullptr ? 0 : best->id;
}

void ComputerPlayers::plan(const PlayerView& game) {
    const TankObject& self = *game.currentTank();
    const std::vector<const Weapon*> weapons = game.weapons();
    turn.clock = 0.0f;
    turn.targetId = chooseTarget(game);
    const TankObject* const target = findTank(game, turn.targetId);
    if (target == nullptr) {
        turn.phase = Phase::idle; // nobody left to fight
        return;
    }
    if (game.turret() == nullptr || game.barrel() == nullptr) {
        // It cannot aim, so it passes the turn as a person would, with Space.
        turn.weapon = -1;
        turn.phase = Phase::firing;
        return;
    }

    const PhysicsSettings& physics = game.physics();
    const ShotSolver solver(game.terrain(), physics.gravity, physics.timeStep, self.skeleton,
                            self.position, self.radius);
    const Vector3 point = brackets[self.id].aimPoint(target->id, target->position, self.position,
                                                     aimError(currentLevel), dice);
    turn.shot = solver.solve(point, keepOut(weapons, self.radius));
    turn.weapon = solver.strongestSafeWeapon(weapons, turn.shot.flight);
    if (turn.weapon < 0) {
        // Hemmed in: the weapon that reaches least.
        float least = std::numeric_limits<float>::infinity();
        for (std::size_t i = 0; i < weapons.size(); ++i) {
            const float reach = ShotSolver::reach(*weapons[i], turn.shot.flight, self.radius);
            if (reach < least) {
                least = reach;
                turn.weapon = static_cast<int>(i);
            }
        }
    }
    turn.phase = Phase::aiming;
}

// One update's worth of aiming; true once the aim is reached.
bool ComputerPlayers::aimStep(const PlayerView& game, TankControls& controls,
                              float dtSeconds) const {
    const float rate = TankControls::degreesPerSecond * dtSeconds;
    const Aim& aim = turn.shot.aim;
    bool moving = false;
    if (const Skeleton* const turret = game.turret()) {
        const float d = turnBetween(turret->rotate.y, aim.turretDegrees);
        if (std::fabs(d) > doneDegrees) {
            controls.turnTurret(std::copysign(std::min(rate, std::fabs(d)), d));
            moving = true;
        }
    }
    if (const Skeleton* const barrel = game.barrel()) {
        const float d = aim.barrelDegrees - barrel->rotate.x;
        if (std::fabs(d) > doneDegrees) {
            // Raising turns the barrel towards negative angles.
            controls.raiseBarrel(std::copysign(std::min(rate, std::fabs(d)), -d));
            moving = true;
        }
    }
    if (moving)
        return false;
    const float d = aim.speed - game.launchVelocity();
    if (std::fabs(d) > doneDegrees) {
        controls.changeVelocity(d > 0.0f, d < 0.0f, std::min(rate, std::fabs(d)));
        return false;
    }
    return true;
}

std::string ComputerPlayers::fire(const PlayerView& game, TankControls& controls) {
    const TankObject& self = *game.currentTank();
    const TankObject* const target = findTank(game, turn.targetId);
    std::string line = self.name() + " (computer, " + levelEntry(currentLevel).name + ") fires";
    const std::vector<const Weapon*> weapons = game.weapons();
    const int selected = game.selectedWeapon();
    if (selected >= 0)
        line += " a " + weapons[static_cast<std::size_t>(selected)]->name();
    if (target != nullptr)
        line += " at " + target->name();

    WatchedShot shot;
    shot.shotId = ++lastShotId;
    shot.shooterId = self.id;
    shot.targetId = turn.targetId;
    shot.predicted = turn.shot.flight.landing;
    turn = Turn();
    if (!controls.fire(shot.shotId))
        return {}; // nothing to fire with: the turn passed all the same
    watched.push_back(shot);
    return line;
}
