#include "world/Explosive.h"
#include <iostream>

Explosive::Explosive() {
    std::cout << "Explosive()" << std::endl;
}

Explosive::~Explosive() {
    std::cout << "~Explosive()" << std::endl;
}

// The explosion is looked up by id on purpose: if it is gone, the shell just
// vanishes. Marking dead (not erasing) keeps the list intact during the step.
void Explosive::contactEvent(World world) {
    std::cout << "Explosive::contactEvent" << std::endl;
    dead = true;
    if (explosionId == 0 || world.objects == nullptr)
        return;
    for (const std::unique_ptr<Object>& object : *world.objects) {
        if (object->id != explosionId)
            continue;
        std::cout << "Activating explosion " << object->id << std::endl;
        object->position = position;
        object->active = true;
        object->resting = true;
    }
}
