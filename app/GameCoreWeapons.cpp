#include "app/GameCore.h"
#include "world/DeathsHead.h"
#include "world/ExplosiveWeapon.h"
#include "world/MIRV.h"
#include <memory>
#include <utility>

// The table's order is the order Tab cycles through. A weapon whose files are
// missing still goes in: it fires the same, only drawn with what did load.
void GameCore::buildWeapons() {
    const auto add = [this](std::unique_ptr<Weapon> weapon) {
        weapon->load(meshes, screen);
        weapons.push_back(std::move(weapon));
    };
    for (ExplosiveKind kind : {ExplosiveKind::babyMissile, ExplosiveKind::missile,
                               ExplosiveKind::babyNuke, ExplosiveKind::nuke})
        add(std::make_unique<ExplosiveWeapon>(kind));
    add(std::make_unique<MIRV>());
    add(std::make_unique<DeathsHead>());
    currentWeapon = weapons.begin();
}
