#include "app/PlayerView.h"
#include "app/GameCore.h"
#include "world/TankObject.h"
#include <iterator>

std::vector<const TankObject*> PlayerView::tanks() const {
    return {core.tanks.begin(), core.tanks.end()};
}

const TankObject* PlayerView::currentTank() const {
    return core.currentTank == core.tanks.end() ? nullptr : *core.currentTank;
}

const Skeleton* PlayerView::node(const char* id) const {
    const auto found = core.tankNodes.find(id);
    return found == core.tankNodes.end() ? nullptr : found->second;
}

float PlayerView::launchVelocity() const {
    return core.launchVelocity;
}

std::vector<const Weapon*> PlayerView::weapons() const {
    std::vector<const Weapon*> table;
    for (const std::unique_ptr<Weapon>& weapon : core.weapons)
        table.push_back(weapon.get());
    return table;
}

int PlayerView::selectedWeapon() const {
    const WeaponList::const_iterator selected = core.currentWeapon;
    if (selected == core.weapons.end())
        return -1;
    return static_cast<int>(std::distance(core.weapons.begin(), selected));
}

const Terrain& PlayerView::terrain() const {
    return core.terrain;
}

const PhysicsSettings& PlayerView::physics() const {
    return core.physics;
}

std::vector<const Object*> PlayerView::objects() const {
    std::vector<const Object*> all;
    all.reserve(core.objects.size());
    for (const std::unique_ptr<Object>& object : core.objects)
        all.push_back(object.get());
    return all;
}
