#include "render/MeshLists.h"
#include "assets/SphereLevels.h"
#include <GL/gl.h>
#include <algorithm>

MeshLists::~MeshLists() {
    clear();
}

void MeshLists::add(const Mesh& mesh, std::uint32_t list) {
    const auto found = entries.find(&mesh);
    if (found != entries.end()) {
        if (found->second.list == list)
            found->second.list = 0; // still in use: kept
        deleteLists(found->second);
    }
    entries[&mesh] = Entry{list, arraysOf(mesh), MeshShape::measure(mesh), {}};
}

void MeshLists::addLevel(const Mesh& mesh, int segments, std::uint32_t list) {
    const auto found = entries.find(&mesh);
    if (found == entries.end()) {
        glDeleteLists(list, 1);
        return;
    }
    found->second.levels.push_back(Level{segments, list});
}

void MeshLists::clear() {
    for (const auto& entry : entries)
        deleteLists(entry.second);
    entries.clear();
}

void MeshLists::deleteLists(const Entry& entry) {
    if (entry.list != 0)
        glDeleteLists(entry.list, 1);
    for (const Level& level : entry.levels)
        glDeleteLists(level.list, 1);
}

const MeshLists::Entry* MeshLists::current(const Mesh& mesh) const {
    const auto found = entries.find(&mesh);
    if (found == entries.end() || !(found->second.arrays == arraysOf(mesh)))
        return nullptr;
    return &found->second;
}

std::uint32_t MeshLists::find(const Mesh& mesh, float pixelsPerUnit, float tolerance) const {
    const Entry* entry = current(mesh);
    if (entry == nullptr)
        return 0;
    const float pixels = pixelsPerUnit * entry->shape.radius();
    if (pixels > 0.0f)
        for (auto level = entry->levels.rbegin(); level != entry->levels.rend(); ++level)
            if (SphereLevels::outlineError(pixels, level->segments) <= tolerance)
                return level->list;
    return entry->list;
}

const MeshShape* MeshLists::shape(const Mesh& mesh) const {
    const Entry* entry = current(mesh);
    return entry == nullptr ? nullptr : &entry->shape;
}

bool MeshLists::Arrays::operator==(const Arrays& other) const {
    return std::equal(data, data + 5, other.data) && std::equal(sizes, sizes + 5, other.sizes);
}

MeshLists::Arrays MeshLists::arraysOf(const Mesh& mesh) {
    return Arrays{{mesh.vertices.data(), mesh.colors.data(), mesh.normals.data(),
                   mesh.texCoords.data(), mesh.indices.data()},
                  {mesh.vertices.size(), mesh.colors.size(), mesh.normals.size(),
                   mesh.texCoords.size(), mesh.indices.size()}};
}
