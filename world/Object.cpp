#include "world/Object.h"
#include "assets/TraceSink.h"

namespace {
// Ids are never reused, so an explosive can find its explosion by id even after
// other objects came and went.
std::uint32_t lastId = 0;
} // namespace

Object::Object() : id(++lastId) {}

void Object::restartIds() {
    lastId = 0;
}

void Object::contactEvent(World) {
    TraceLine() << "Object::contactEvent";
}

void Object::update(World, float seconds) {
    age += seconds;
}

void Object::damageEvent(World, float) {
    TraceLine() << "Object[" << id << "]::damageEvent";
}
