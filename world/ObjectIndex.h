#pragma once
#include <cstdint>
#include <vector>

class Object;

// The world's objects by id, as the physics found the list at the start of a
// step, so that an event finds an object without walking the whole list. The
// physics fills it in the walk it makes anyway; it stays valid for the rest of
// that step because nothing leaves the list during a step.
class ObjectIndex {
public:
    void clear();
    // Objects are added in list order.
    void add(Object& object);
    // The object with this id among those indexed, or nullptr: then it is either
    // gone or joined the list during this step, and only a walk can tell.
    Object* find(std::uint32_t id) const;
    // Everything indexed, in list order.
    const std::vector<Object*>& listed() const { return objects; }

private:
    std::vector<std::uint32_t> ids; // list order
    std::vector<Object*> objects;   // the same order
    // Ids grow with creation and objects join at the back, so in the game the
    // list is sorted by id and a binary search finds one; anything else is
    // searched in order.
    bool sorted = true;
};
