#include "MeshBuilder.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <locale>
#include <sstream>

namespace {

constexpr float pi = 3.14159265f;

// Five decimals are finer than any detail of the models; -0 is written as 0.
void writeNumber(std::ostream& out, float v) {
    const float rounded = std::round(v * 100000.0f) / 100000.0f;
    out << (rounded == 0.0f ? 0.0f : rounded);
}

void writeTriple(std::ostream& out, float x, float y, float z) {
    writeNumber(out, x);
    out << ' ';
    writeNumber(out, y);
    out << ' ';
    writeNumber(out, z);
    out << '\n';
}

} // namespace

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalized(Vec3 v) {
    const float length = std::sqrt(dot(v, v));
    return length > 0.0f ? (1.0f / length) * v : v;
}

int MeshBuilder::addVertex(Vec3 position, Vec3 normal, float u, float v) {
    positions.push_back(position);
    normals.push_back(normal);
    texCoords.push_back(u);
    texCoords.push_back(v);
    return static_cast<int>(positions.size()) - 1;
}

void MeshBuilder::addTriangle(int a, int b, int c) {
    indices.push_back(a);
    indices.push_back(b);
    indices.push_back(c);
}

void MeshBuilder::addFace(const std::vector<Vec3>& corners, Vec3 inside, float metresPerRepeat) {
    if (corners.size() < 3) {
        return;
    }
    Vec3 centre{};
    for (const Vec3& c : corners) {
        centre = centre + (1.0f / corners.size()) * c;
    }
    Vec3 normal = normalized(cross(corners[1] - corners[0], corners[2] - corners[0]));
    if (dot(normal, centre - inside) < 0.0f) {
        normal = -1.0f * normal;
    }
    // Plane axes for the texture: the first edge's direction and its perpendicular.
    const Vec3 axisU = normalized(corners[1] - corners[0]);
    const Vec3 axisV = cross(normal, axisU);
    const int first = static_cast<int>(positions.size());
    for (const Vec3& c : corners) {
        addVertex(c, normal, dot(c, axisU) / metresPerRepeat, dot(c, axisV) / metresPerRepeat);
    }
    for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
        addTriangle(first, first + static_cast<int>(i), first + static_cast<int>(i) + 1);
    }
}

void MeshBuilder::addPrismAlongX(const std::vector<Vec3>& profile, float x0, float x1,
                                 float metresPerRepeat) {
    Vec3 inside{(x0 + x1) / 2, 0.0f, 0.0f};
    for (const Vec3& p : profile) {
        inside.y += p.y / profile.size();
        inside.z += p.z / profile.size();
    }
    std::vector<Vec3> left, right;
    for (const Vec3& p : profile) {
        left.push_back({x0, p.y, p.z});
        right.push_back({x1, p.y, p.z});
    }
    addFace(left, inside, metresPerRepeat);
    addFace(right, inside, metresPerRepeat);
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const std::size_t j = (i + 1) % profile.size();
        addFace({left[i], left[j], right[j], right[i]}, inside, metresPerRepeat);
    }
}

void MeshBuilder::addCylinderAlongZ(float x, float y, float z0, float z1, float radius,
                                    int segments, float metresPerRepeat) {
    const int first = static_cast<int>(positions.size());
    for (int i = 0; i <= segments; ++i) {
        const float a = 2.0f * pi * i / segments;
        const Vec3 n{std::cos(a), std::sin(a), 0.0f};
        const float u = (2.0f * pi * radius * i / segments) / metresPerRepeat;
        addVertex({x + radius * n.x, y + radius * n.y, z0}, n, u, z0 / metresPerRepeat);
        addVertex({x + radius * n.x, y + radius * n.y, z1}, n, u, z1 / metresPerRepeat);
    }
    for (int i = 0; i < segments; ++i) {
        const int a = first + 2 * i;
        addTriangle(a, a + 2, a + 3);
        addTriangle(a, a + 3, a + 1);
    }
    std::vector<Vec3> back, front;
    for (int i = 0; i < segments; ++i) {
        const float a = 2.0f * pi * i / segments;
        back.push_back({x + radius * std::cos(a), y + radius * std::sin(a), z0});
        front.push_back({x + radius * std::cos(a), y + radius * std::sin(a), z1});
    }
    const Vec3 inside{x, y, (z0 + z1) / 2};
    addFace(back, inside, metresPerRepeat);
    addFace(front, inside, metresPerRepeat);
}

void MeshBuilder::addFrustumAlongY(float y0, float y1, float bottomRadius, float topRadius,
                                   float depthScale, int sides, float metresPerRepeat) {
    std::vector<Vec3> bottom, top;
    for (int i = 0; i < sides; ++i) {
        // Half a side's turn, so a flat facet faces straight forward.
        const float a = 2.0f * pi * (i + 0.5f) / sides;
        bottom.push_back({bottomRadius * std::cos(a), y0, depthScale * bottomRadius * std::sin(a)});
        top.push_back({topRadius * std::cos(a), y1, depthScale * topRadius * std::sin(a)});
    }
    const Vec3 inside{0.0f, (y0 + y1) / 2, 0.0f};
    addFace(bottom, inside, metresPerRepeat);
    addFace(top, inside, metresPerRepeat);
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        addFace({bottom[i], bottom[j], top[j], top[i]}, inside, metresPerRepeat);
    }
}

void MeshBuilder::addSphere(float radius, int slices, int stacks, float uRepeats) {
    const int first = static_cast<int>(positions.size());
    for (int j = 0; j <= stacks; ++j) {
        const float latitude = -pi / 2 + pi * j / stacks;
        for (int i = 0; i <= slices; ++i) {
            const float longitude = 2.0f * pi * i / slices;
            const Vec3 n{std::cos(latitude) * std::cos(longitude), std::sin(latitude),
                         std::cos(latitude) * std::sin(longitude)};
            addVertex(radius * n, n, uRepeats * i / slices, static_cast<float>(j) / stacks);
        }
    }
    const int row = slices + 1;
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            const int a = first + j * row + i;
            if (j > 0) {
                addTriangle(a, a + row + 1, a + 1);
            }
            if (j + 1 < stacks) {
                addTriangle(a, a + row, a + row + 1);
            }
        }
    }
}

bool MeshBuilder::write(const std::string& path) const {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::setprecision(7);
    out << positions.size() << "\nvertices\n";
    for (const Vec3& p : positions) {
        writeTriple(out, p.x, p.y, p.z);
    }
    out << "normals\n";
    for (const Vec3& n : normals) {
        writeTriple(out, n.x, n.y, n.z);
    }
    out << "texture\n";
    for (std::size_t i = 0; i < texCoords.size(); i += 2) {
        writeNumber(out, texCoords[i]);
        out << ' ';
        writeNumber(out, texCoords[i + 1]);
        out << '\n';
    }
    out << "triangles " << indices.size() / 3 << '\n';
    for (std::size_t i = 0; i < indices.size(); i += 3) {
        out << indices[i] << ' ' << indices[i + 1] << ' ' << indices[i + 2] << '\n';
    }

    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ignored);
    }
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    file.close();
    if (!file) {
        std::cerr << "Cannot write " << path << std::endl;
        return false;
    }
    return true;
}
