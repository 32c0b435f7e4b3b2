#pragma once
#include "assets/Mesh.h"

// What a mesh's triangles enclose, measured once from the mesh itself. A closed
// mesh wound outwards (every edge shared by exactly two triangles that run it in
// opposite directions, counter-clockwise seen from outside) hides its own back
// faces from any eye outside it, so those need not be drawn at all.
class MeshShape {
public:
    // Vertices closer than `weldDistance` (in mesh units, times the mesh's radius)
    // count as one: a generated sphere repeats its seam and poles with rounding.
    static MeshShape measure(const Mesh& mesh, float weldDistance = 1e-5f);

    bool closedOutward() const { return closed; }
    // Farthest vertex from the mesh's origin; 0 for an empty mesh.
    float radius() const { return reach; }

private:
    bool closed = false;
    float reach = 0.0f;
};
