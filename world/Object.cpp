#include "world/Object.h"
#include <iostream>

namespace {
// Ids are never reused, so an explosive can find its explosion by id even after
// other objects came and went.
std::uint32_t lastId = 0;
} // namespace

Object::Object() : id(++lastId) {}

void Object::contactEvent(World) {
    std::cout << "Object::contactEvent" << std::endl;
}

void Object::update(World, float seconds) {
    age += seconds;
}

void Object::damageEvent(World, float) {
    std::cout << "Object[" << id << "]::damageEvent" << std::endl;
}
