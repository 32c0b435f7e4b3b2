#pragma once
#include "world/Vector3.h"
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TexCoord {
    float u = 0.0f;
    float v = 0.0f;
};

// Triangle geometry of one skeleton node, handed to GL vertex arrays as it is:
// every array is packed (stride 0). A per-vertex array is either empty (absent)
// or as long as the vertex count of the file's head.
struct Mesh {
    std::vector<Vector3> vertices;
    std::vector<Vector3> colors;
    std::vector<Vector3> normals;
    std::vector<TexCoord> texCoords;
    std::vector<std::uint32_t> indices; // three per triangle
};

// Fills `mesh` from a text mesh file; progress on standard output, errors on
// standard error. Returns true when the end of the file was reached cleanly.
// A section whose count is larger than the bytes left in the file is refused.
bool loadMesh(const char* fileName, Mesh& mesh);

// The game's mesh table, keyed by the mesh names that skeleton nodes give.
// Drawing may add empty entries for names that were never loaded.
using MeshLibrary = std::map<std::string, Mesh>;
