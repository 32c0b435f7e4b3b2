#include "world/ClusterWeapon.h"
#include "world/CarrierObject.h"
#include "world/TextureMaker.h"
#include <utility>

ClusterWeapon::ClusterWeapon(ExplosiveKind submunitionKind, const char* iconFile,
                             std::string weaponName, float fanSpeed)
    : submunition(submunitionKind), iconPath(iconFile), displayName(std::move(weaponName)),
      sideSpeed(fanSpeed) {}

bool ClusterWeapon::load(MeshLibrary& meshes, TextureMaker& textures) {
    // Each load is called before the result is combined so that a failure never
    // skips the files after it.
    const MadeTexture carrier = textures.makeTexture("data/giraffe.png");
    carrierTexture = carrier.name;
    const MadeTexture picture = textures.makeTexture(iconPath);
    iconTexture = picture.name;
    bool loaded = carrier.fileRead && picture.fileRead;
    loaded = submunition.load(meshes, textures) && loaded;
    loaded = loadSkeleton("data/sphere.skel", carrierSkeleton) && loaded;
    return loaded;
}

void ClusterWeapon::fire(ObjectList& objects, const Vector3& position, const Vector3& velocity) {
    std::unique_ptr<CarrierObject> carrier = makeCarrier();
    carrier->skeleton = carrierSkeleton;
    carrier->texture = carrierTexture;
    carrier->position = position;
    carrier->velocity = velocity;
    carrier->submunition = submunition;
    objects.push_back(std::move(carrier));
}
