#include "world/ExplosiveWeapon.h"
#include "world/TextureMaker.h"
#include "world/Explosion.h"
#include "world/Explosive.h"
#include <cassert>
#include <memory>

namespace {
struct Kind {
    const char* name;
    const char* iconPath;
    float blastRadius;
    float damage;
};

// In the order of ExplosiveKind.
constexpr Kind kinds[explosiveKindCount] = {
    {"Baby Missile", "data/weapons/babymissile.png", 4.0f, 50.0f},
    {"Missile", "data/weapons/missile.png", 8.0f, 75.0f},
    {"Baby Nuke", "data/weapons/babynuke.png", 16.0f, 100.0f},
    {"Nuke", "data/weapons/nuke.png", 32.0f, 125.0f},
};
} // namespace

ExplosiveWeapon::ExplosiveWeapon(ExplosiveKind kind) {
    const int index = static_cast<int>(kind);
    assert(index >= 0 && index < explosiveKindCount && "no such explosive weapon");
    if (index < 0 || index >= explosiveKindCount)
        return;
    const Kind& k = kinds[index];
    displayName = k.name;
    iconPath = k.iconPath;
    blastRadius = k.blastRadius;
    damage = k.damage;
}

bool ExplosiveWeapon::load(MeshLibrary&, TextureMaker& textures) {
    // Each load is called before the result is combined so that a failure never
    // skips the files after it.
    bool loaded = loadSkeleton("data/sphere.skel", projectileSkeleton);
    loaded = loadSkeleton("data/explosion.skel", explosionSkeleton) && loaded;

    const MadeTexture projectile = textures.makeTexture("data/giraffe.png");
    projectileTexture = projectile.name;
    const MadeTexture explosion = textures.makeTexture("data/fire.png");
    explosionTexture = explosion.name;
    const MadeTexture picture = textures.makeTexture(iconPath.c_str());
    iconTexture = picture.name;
    return loaded && projectile.fileRead && explosion.fileRead && picture.fileRead;
}

void ExplosiveWeapon::fire(ObjectList& objects, const Vector3& position, const Vector3& velocity) {
    auto shell = std::make_unique<Explosive>();
    auto explosion = std::make_unique<Explosion>(blastRadius, damage);

    shell->skeleton = projectileSkeleton;
    shell->texture = projectileTexture;
    shell->position = position;
    shell->velocity = velocity;

    // Hidden and still until the shell's contact moves it into place and wakes it.
    explosion->skeleton = explosionSkeleton;
    explosion->texture = explosionTexture;
    explosion->active = false;
    explosion->resting = true;
    explosion->velocity = Vector3(0.0f, 0.0f, 0.0f);

    shell->explosionId = explosion->id;
    objects.push_back(std::move(shell));
    objects.push_back(std::move(explosion));
}
