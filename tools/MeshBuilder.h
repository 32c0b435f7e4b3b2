#pragma once
#include <string>
#include <vector>

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(float s, Vec3 v) {
    return {s * v.x, s * v.y, s * v.z};
}
float dot(Vec3 a, Vec3 b);
Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 v);

// Collects triangles with a normal and a texture coordinate per vertex and
// writes them in the game's text mesh format. Hard edges get their own
// vertices so that flat faces light flat.
class MeshBuilder {
public:
    int addVertex(Vec3 position, Vec3 normal, float u, float v);
    void addTriangle(int a, int b, int c);

    // A flat convex polygon. Its normal is turned to face away from `inside`,
    // a point within the solid it bounds; texture coordinates are the polygon's
    // own plane coordinates divided by `metresPerRepeat`.
    void addFace(const std::vector<Vec3>& corners, Vec3 inside, float metresPerRepeat);
    // A convex profile in the (z, y) plane swept along x from x0 to x1: sides
    // and both end caps, flat shaded.
    void addPrismAlongX(const std::vector<Vec3>& profile, float x0, float x1,
                        float metresPerRepeat);
    // A closed cylinder along +z, smooth round its side.
    void addCylinderAlongZ(float x, float y, float z0, float z1, float radius, int segments,
                           float metresPerRepeat);
    // A frustum of a regular prism standing on y0 (flat facets), closed on top.
    void addFrustumAlongY(float y0, float y1, float bottomRadius, float topRadius, float depthScale,
                          int sides, float metresPerRepeat);
    // A sphere round the origin with smooth normals; u runs round `uRepeats` times.
    void addSphere(float radius, int slices, int stacks, float uRepeats);

    const std::vector<Vec3>& vertexPositions() const { return positions; }
    const std::vector<Vec3>& vertexNormals() const { return normals; }
    const std::vector<float>& vertexTexCoords() const { return texCoords; } // u, v pairs
    const std::vector<int>& triangleIndices() const { return indices; }
    std::size_t vertexCount() const { return positions.size(); }
    std::size_t triangleCount() const { return indices.size() / 3; }
    // Writes the mesh; false, with a line on standard error, when it cannot.
    bool write(const std::string& path) const;

private:
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<float> texCoords; // u, v pairs
    std::vector<int> indices;
};
