#pragma once
#include "assets/Skeleton.h"
#include "world/ExplosiveWeapon.h"
#include "world/Weapon.h"
#include <cstdint>
#include <memory>
#include <string>

class CarrierObject;

// A weapon that fires one carrier, which later splits into explosive shots of
// its submunition kind. The kinds differ in that kind, their icon and the
// carrier they make.
class ClusterWeapon : public Weapon {
public:
    // `iconPath` must have static storage; `fanSpeed` is the carrier's fastest
    // sideways speed of a shot relative to itself, in units a second.
    ClusterWeapon(ExplosiveKind submunitionKind, const char* iconPath, std::string displayName,
                  float fanSpeed);

    // Appends one carrier, owned by the list from then on.
    void fire(ObjectList& objects, const Vector3& position, const Vector3& velocity) override;
    // The carrier's texture and the icon, then the submunition's own files, then
    // the carrier's skeleton; every file is tried even after a failure.
    bool load(MeshLibrary& meshes, TextureMaker& textures) override;
    std::uint32_t icon() const override { return iconTexture; }
    std::string name() const override { return displayName; }
    // How fast the shots of a split drift apart from the centre one.
    float fanSpeed() const { return sideSpeed; }

    std::uint32_t iconTexture = 0; // 0 until loaded
    ExplosiveWeapon submunition;   // copied into every carrier
    Skeleton carrierSkeleton;
    std::uint32_t carrierTexture = 0;

protected:
    virtual std::unique_ptr<CarrierObject> makeCarrier() const = 0;

private:
    const char* iconPath;
    std::string displayName;
    float sideSpeed;
};
