#include "world/Explosive.h"
#include "assets/TraceSink.h"
#include "world/ObjectIndex.h"

namespace {

void activate(Object& explosion, const Vector3& where) {
    TraceLine() << "Activating explosion " << explosion.id;
    explosion.position = where;
    explosion.active = true;
    explosion.resting = true;
}

} // namespace

Explosive::Explosive() {
    TraceLine() << "Explosive()";
}

Explosive::~Explosive() {
    TraceLine() << "~Explosive()";
}

// The explosion is looked up by id on purpose: if it is gone, the shell just
// vanishes. Marking dead (not erasing) keeps the list intact during the step.
void Explosive::contactEvent(World world) {
    TraceLine() << "Explosive::contactEvent";
    dead = true;
    if (explosionId == 0 || world.objects == nullptr)
        return;
    // Within a step the physics' index finds it at once. Only an id it does not
    // hold (an explosion already gone, or one that joined during this step) and
    // a call outside a step take the walk.
    if (world.index != nullptr) {
        if (Object* explosion = world.index->find(explosionId)) {
            activate(*explosion, position);
            return;
        }
    }
    for (const std::unique_ptr<Object>& object : *world.objects)
        if (object->id == explosionId)
            activate(*object, position);
}
