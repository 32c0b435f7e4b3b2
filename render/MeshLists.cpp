#include "render/MeshLists.h"
#include <GL/gl.h>
#include <algorithm>

MeshLists::~MeshLists() {
    clear();
}

void MeshLists::add(const Mesh& mesh, std::uint32_t list) {
    const auto found = entries.find(&mesh);
    if (found != entries.end() && found->second.list != list)
        glDeleteLists(found->second.list, 1);
    entries[&mesh] = Entry{list, arraysOf(mesh), MeshShape::measure(mesh)};
}

void MeshLists::clear() {
    for (const auto& entry : entries)
        glDeleteLists(entry.second.list, 1);
    entries.clear();
}

std::uint32_t MeshLists::find(const Mesh& mesh) const {
    const auto found = entries.find(&mesh);
    if (found == entries.end() || !(found->second.arrays == arraysOf(mesh)))
        return 0;
    return found->second.list;
}

const MeshShape* MeshLists::shape(const Mesh& mesh) const {
    const auto found = entries.find(&mesh);
    if (found == entries.end() || !(found->second.arrays == arraysOf(mesh)))
        return nullptr;
    return &found->second.shape;
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
