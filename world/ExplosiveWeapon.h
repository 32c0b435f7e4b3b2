#pragma once
#include "assets/Skeleton.h"
#include "world/Weapon.h"
#include <cstdint>
#include <string>

// The four plain shells, in the order of the weapon table.
enum class ExplosiveKind { babyMissile, missile, babyNuke, nuke };
constexpr int explosiveKindCount = 4;

// A plain shell: every shot is an Explosive that flies and its Explosion, which
// waits hidden in the list until the shell touches something. A value type: the
// cluster weapons and their carriers hold copies of one, skeletons and all.
class ExplosiveWeapon : public Weapon {
public:
    explicit ExplosiveWeapon(ExplosiveKind kind);

    // Appends the Explosive, then its Explosion, both owned by the list from then on.
    void fire(ObjectList& objects, const Vector3& position, const Vector3& velocity) override;
    // Skeletons from data/sphere.skel and data/explosion.skel, textures from
    // data/giraffe.png, data/fire.png and the icon file. Every file is tried even
    // after a failure; a texture is made from whatever each attempt left.
    bool load(MeshLibrary& meshes, TextureMaker& textures) override;
    std::uint32_t icon() const override { return iconTexture; }
    std::string name() const override { return displayName; }

    float blastRadius = 0.0f; // world units at which the explosion goes off
    float damage = 0.0f;      // full damage, scaled down with distance
    std::string displayName;
    std::string iconPath;
    Skeleton projectileSkeleton;
    Skeleton explosionSkeleton;
    std::uint32_t projectileTexture = 0; // 0 until loaded
    std::uint32_t explosionTexture = 0;
    std::uint32_t iconTexture = 0;
};
