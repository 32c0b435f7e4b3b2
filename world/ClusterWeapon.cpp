#include "world/ClusterWeapon.h"
#include "assets/Image.h"
#include "render/Display.h"
#include "world/CarrierObject.h"
#include <utility>

ClusterWeapon::ClusterWeapon(int submunitionKind, const char* iconPath, std::string displayName)
    : submunition(submunitionKind), iconPath(iconPath), displayName(std::move(displayName)) {}

bool ClusterWeapon::load(MeshLibrary& meshes, Display& display) {
    // Each load is called before the result is combined so that a failure never
    // skips the files after it.
    Image image;
    bool loaded = loadImage("data/giraffe.png", image);
    carrierTexture = display.createTexture(image);
    loaded = loadImage(iconPath, image) && loaded;
    iconTexture = display.createTexture(image);
    loaded = submunition.load(meshes, display) && loaded;
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
