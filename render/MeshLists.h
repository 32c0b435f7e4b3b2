#pragma once
#include "assets/Mesh.h"
#include "assets/MeshShape.h"
#include <cstddef>
#include <cstdint>
#include <unordered_map>

// The display lists the meshes were compiled into, found by the mesh they draw.
// A list holds the mesh's arrays as they were at its compilation, so each entry
// remembers where those arrays lay and how long they were: a mesh whose arrays
// have been replaced since is not the mesh its list draws, and is drawn call by
// call. Owns the lists and deletes them when destroyed (with the GL context alive).
class MeshLists {
public:
    MeshLists() = default;
    ~MeshLists();
    MeshLists(const MeshLists&) = delete;
    MeshLists& operator=(const MeshLists&) = delete;

    // The list (a name from glGenLists) now draws the mesh as it is; the mesh's
    // shape is measured with it.
    void add(const Mesh& mesh, std::uint32_t list);
    // Deletes every list.
    void clear();

    // The list that draws the mesh as it is now; 0 if there is none.
    std::uint32_t find(const Mesh& mesh) const;
    // The shape of the mesh its list draws; null where find gives 0.
    const MeshShape* shape(const Mesh& mesh) const;
    std::size_t size() const { return entries.size(); }

private:
    struct Arrays {
        const void* data[5];
        std::size_t sizes[5];
        bool operator==(const Arrays& other) const;
    };
    struct Entry {
        std::uint32_t list;
        Arrays arrays;
        MeshShape shape;
    };
    static Arrays arraysOf(const Mesh& mesh);

    std::unordered_map<const Mesh*, Entry> entries;
};
