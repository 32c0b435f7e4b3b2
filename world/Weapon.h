#pragma once
#include "assets/Mesh.h"
#include "world/Vector3.h"
#include "world/World.h"
#include <cstdint>
#include <string>

class TextureMaker;

// A factory of projectiles; there is no ammunition.
class Weapon {
public:
    virtual ~Weapon() = default;

    // Appends this weapon's projectiles to the list.
    virtual void fire(ObjectList& objects, const Vector3& position, const Vector3& velocity) = 0;
    // Loads skeletons and textures; true when every file loaded.
    virtual bool load(MeshLibrary& meshes, TextureMaker& textures) = 0;
    virtual std::uint32_t icon() const = 0;
    virtual std::string name() const = 0;
};
