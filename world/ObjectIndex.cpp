#include "world/ObjectIndex.h"
#include "world/Object.h"
#include <algorithm>

void ObjectIndex::clear() {
    ids.clear();
    objects.clear();
    sorted = true;
}

void ObjectIndex::add(Object& object) {
    if (!ids.empty() && !(ids.back() < object.id))
        sorted = false;
    ids.push_back(object.id);
    objects.push_back(&object);
}

Object* ObjectIndex::find(std::uint32_t id) const {
    if (sorted) {
        const auto found = std::lower_bound(ids.begin(), ids.end(), id);
        if (found == ids.end() || *found != id)
            return nullptr;
        return objects[static_cast<std::size_t>(found - ids.begin())];
    }
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found == ids.end() ? nullptr : objects[static_cast<std::size_t>(found - ids.begin())];
}
