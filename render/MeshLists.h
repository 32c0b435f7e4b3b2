#pragma once
#include "assets/Mesh.h"
#include "assets/MeshShape.h"
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// The display lists the meshes were compiled into, found by the mesh they draw.
// A list holds the mesh's arrays as they were at its compilation, so each entry
// remembers where those arrays lay and how long they were: a mesh whose arrays
// have been replaced since is not the mesh its list draws, and is drawn call by
// call. A sphere may have coarser lists beside its own, for when it is small on
// screen. Owns the lists and deletes them when destroyed (with the GL context alive).
class MeshLists {
public:
    MeshLists() = default;
    ~MeshLists();
    MeshLists(const MeshLists&) = delete;
    MeshLists& operator=(const MeshLists&) = delete;

    // The list (a name from glGenLists) now draws the mesh as it is; the mesh's
    // shape is measured with it.
    void add(const Mesh& mesh, std::uint32_t list);
    // A coarser list for a mesh added with `add`, `segments` round its equator;
    // added from fine to coarse.
    void addLevel(const Mesh& mesh, int segments, std::uint32_t list);
    // Deletes every list.
    void clear();

    // The list that draws the mesh as it is now; 0 if there is none. That is the
    // coarsest list whose outline falls inside the mesh's circle by at most
    // `tolerance` pixels when a unit of the mesh is `pixelsPerUnit` long on
    // screen; the mesh's own list when it has none coarser or that length is 0.
    std::uint32_t find(const Mesh& mesh, float pixelsPerUnit = 0.0f, float tolerance = 0.0f) const;
    // The shape of the mesh its list draws; null where find gives 0.
    const MeshShape* shape(const Mesh& mesh) const;
    std::size_t size() const { return entries.size(); }

private:
    struct Arrays {
        const void* data[5];
        std::size_t sizes[5];
        bool operator==(const Arrays& other) const;
    };
    struct Level {
        int segments;
        std::uint32_t list;
    };
    struct Entry {
        std::uint32_t list;
        Arrays arrays;
        MeshShape shape;
        std::vector<Level> levels; // fine to coarse
    };
    const Entry* current(const Mesh& mesh) const;
    static void deleteLists(const Entry& entry);
    static Arrays arraysOf(const Mesh& mesh);

    std::unordered_map<const Mesh*, Entry> entries;
};
