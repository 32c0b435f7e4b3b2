#pragma once
#include "assets/Mesh.h"
#include <cmath>

// Meshes the model tests share.

// A unit cube around the origin, each face counter-clockwise seen from outside.
inline Mesh cube() {
    Mesh mesh;
    for (int k = 0; k < 8; ++k)
        mesh.vertices.push_back({k & 1 ? 1.0f : -1.0f, k & 2 ? 1.0f : -1.0f, k & 4 ? 1.0f : -1.0f});
    mesh.indices = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                    2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    return mesh;
}

// Laid out as a generator lays a textured unit sphere: a seam column and pole
// rows repeating positions, off by the rounding of sin and cos; normals along
// the radius, the texture twice round.
inline Mesh sphere(int slices, int stacks) {
    Mesh mesh;
    for (int j = 0; j <= stacks; ++j)
        for (int i = 0; i <= slices; ++i) {
            const float lat = -1.5707964f + 3.1415927f * j / stacks;
            const float lon = 6.2831855f * i / slices;
            const Vector3 v(std::cos(lat) * std::cos(lon), std::sin(lat),
                            std::cos(lat) * std::sin(lon));
            mesh.vertices.push_back(v);
            mesh.normals.push_back(v);
            mesh.texCoords.push_back({2.0f * i / slices, static_cast<float>(j) / stacks});
        }
    const std::uint32_t row = slices + 1;
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const std::uint32_t a = j * row + i;
            if (j > 0)
                mesh.indices.insert(mesh.indices.end(), {a, a + row + 1, a + 1});
            if (j + 1 < stacks)
                mesh.indices.insert(mesh.indices.end(), {a, a + row, a + row + 1});
        }
    return mesh;
}
