// The models. Model units are world units. The tank is a sphere of radius 3 to
// the physics, resting with its centre 3 above the ground, so its tracks reach
// down to y = -3; it faces +z, the way its barrel points at rotation 0.
//
// The sky is a cylinder round the field's centre, closed by a lid and a floor.
// It must enclose every place the camera can reach (x and z 0 to 200, y up to
// 200), and stay within the far plane (300) of as many of them as geometry
// allows: its radius of 150 clears the field's corners (141.4 from the centre)
// and keeps the far wall within 291.4 horizontally of any camera, so nothing is
// cut off while the camera looks level. The floor lies just under the lowest
// ground a crater can leave (0), as close to the camera as it can be, and shows
// the far hills' colour round the field, where an open bottom would be black.
#include "PackMeshes.h"

#include "MeshBuilder.h"

#include <cmath>
#include <vector>

namespace {

constexpr float pi = 3.14159265f;
constexpr float skinRepeat = 3.0f; // model units per repeat of the camouflage

MeshBuilder hull() {
    MeshBuilder mesh;
    // Tracks: rounded at both ends, as seen from the side.
    std::vector<Vec3> track;
    constexpr float trackRadius = 0.65f;
    constexpr float trackEnd = 2.3f;
    constexpr float trackAxis = -2.35f;
    for (int i = 0; i <= 8; ++i) {
        const float a = -pi / 2 + pi * i / 8; // front end, bottom to top
        track.push_back(
            {0, trackAxis + trackRadius * std::sin(a), trackEnd + trackRadius * std::cos(a)});
    }
    for (int i = 0; i <= 8; ++i) {
        const float a = pi / 2 + pi * i / 8; // back end, top to bottom
        track.push_back(
            {0, trackAxis + trackRadius * std::sin(a), -trackEnd + trackRadius * std::cos(a)});
    }
    mesh.addPrismAlongX(track, 1.45f, 2.3f, skinRepeat);
    mesh.addPrismAlongX(track, -2.3f, -1.45f, skinRepeat);
    // Lower hull between the tracks, upper hull over them with a sloped glacis.
    mesh.addPrismAlongX(
        {{0, -2.75f, -2.5f}, {0, -2.75f, 2.5f}, {0, -1.9f, 2.9f}, {0, -1.9f, -2.7f}}, -1.45f, 1.45f,
        skinRepeat);
    mesh.addPrismAlongX({{0, -1.95f, -2.75f},
                         {0, -1.95f, 3.05f},
                         {0, -1.35f, 3.0f},
                         {0, -0.9f, 2.1f},
                         {0, -0.9f, -2.55f},
                         {0, -1.3f, -2.8f}},
                        -2.4f, 2.4f, skinRepeat);
    return mesh;
}

MeshBuilder turret() {
    MeshBuilder mesh;
    // Stands on the hull's deck; the turret node sits at the deck's height.
    mesh.addFrustumAlongY(0.0f, 0.95f, 1.5f, 1.1f, 1.15f, 8, skinRepeat);
    // A commander's hatch, off centre to the rear.
    MeshBuilder hatch;
    std::vector<Vec3> ring;
    for (int i = 0; i < 10; ++i) {
        const float a = 2.0f * pi * i / 10;
        ring.push_back({0.4f * std::cos(a) - 0.35f, 0.0f, 0.4f * std::sin(a) - 0.45f});
    }
    std::vector<Vec3> lid = ring;
    for (Vec3& p : lid) {
        p.y = 1.12f;
    }
    for (Vec3& p : ring) {
        p.y = 0.95f;
    }
    const Vec3 inside{-0.35f, 1.03f, -0.45f};
    mesh.addFace(lid, inside, skinRepeat);
    for (int i = 0; i < 10; ++i) {
        const int j = (i + 1) % 10;
        mesh.addFace({ring[i], ring[j], lid[j], lid[i]}, inside, skinRepeat);
    }
    return mesh;
}

MeshBuilder barrel() {
    MeshBuilder mesh;
    // Mantlet round the pivot, the tube along +z, a muzzle brake at its end.
    mesh.addPrismAlongX(
        {{0, -0.3f, -0.15f}, {0, -0.3f, 0.45f}, {0, 0.3f, 0.45f}, {0, 0.3f, -0.15f}}, -0.5f, 0.5f,
        skinRepeat);
    mesh.addCylinderAlongZ(0.0f, 0.0f, 0.4f, 4.5f, 0.16f, 12, skinRepeat);
    mesh.addCylinderAlongZ(0.0f, 0.0f, 4.15f, 4.55f, 0.25f, 12, skinRepeat);
    return mesh;
}

MeshBuilder sky() {
    constexpr float radius = 150.0f;
    constexpr float bottom = -1.0f;
    constexpr float top = 205.0f;
    constexpr int segments = 64;
    // Half a texel in from the picture's top and bottom rows: the texture
    // repeats, and a coordinate of exactly 0 or 1 would blend the two.
    constexpr float halfTexel = 0.5f / 256.0f;
    MeshBuilder mesh;
    for (int i = 0; i <= segments; ++i) {
        const float u = static_cast<float>(i) / segments;
        const float a = 2.0f * pi * u;
        const Vec3 inward{-std::cos(a), 0.0f, -std::sin(a)};
        mesh.addVertex({radius * std::cos(a), bottom, radius * std::sin(a)}, inward, u, halfTexel);
        mesh.addVertex({radius * std::cos(a), top, radius * std::sin(a)}, inward, u,
                       1.0f - halfTexel);
    }
    for (int i = 0; i < segments; ++i) {
        mesh.addTriangle(2 * i, 2 * i + 2, 2 * i + 3);
        mesh.addTriangle(2 * i, 2 * i + 3, 2 * i + 1);
    }
    // The lid shows the zenith colour of the picture's top row.
    const int centre = mesh.addVertex({0.0f, top, 0.0f}, {0, -1, 0}, 0.125f, 1.0f - halfTexel);
    const int rim = static_cast<int>(mesh.vertexCount());
    for (int i = 0; i <= segments; ++i) {
        const float u = static_cast<float>(i) / segments;
        const float a = 2.0f * pi * u;
        mesh.addVertex({radius * std::cos(a), top, radius * std::sin(a)}, {0, -1, 0}, u,
                       1.0f - halfTexel);
    }
    for (int i = 0; i < segments; ++i) {
        mesh.addTriangle(centre, rim + i, rim + i + 1);
    }
    // The floor shows the picture's bottom row: the foot of the nearest hills.
    const int floorCentre = mesh.addVertex({0.0f, bottom, 0.0f}, {0, 1, 0}, 0.5f, halfTexel);
    const int floorRim = static_cast<int>(mesh.vertexCount());
    for (int i = 0; i <= segments; ++i) {
        const float u = static_cast<float>(i) / segments;
        const float a = 2.0f * pi * u;
        mesh.addVertex({radius * std::cos(a), bottom, radius * std::sin(a)}, {0, 1, 0}, u,
                       halfTexel);
    }
    for (int i = 0; i < segments; ++i) {
        mesh.addTriangle(floorCentre, floorRim + i + 1, floorRim + i);
    }
    return mesh;
}

} // namespace

// Spheres get as many segments as their silhouette needs and no more: a salvo
// draws hundreds of shells and hundreds of fireballs at once. The view is 90
// degrees high over 480 pixels, 240 pixels to a unit at a distance of one, and
// n segments leave the outline short of the circle by r * (1 - cos(pi / n)).
// A shell (radius 1) at 10 units, nearer than either camera keeps one, is 24
// pixels across its radius: 12 segments miss by 0.8 of a pixel. A baby nuke's
// fireball (radius 16) from the 26 units the follow camera keeps from a burst
// is about 190 pixels: 48 segments miss by 0.7 of a pixel, the view's own
// stretch off its centre included; a nuke's fills the picture before its
// outline leaves it, where they miss by 1 pixel.
// The renderer draws a sphere small on screen from every second, third, ...
// row and column of these (within a pixel of its outline), so a segment count
// with many divisors gives it many sizes to choose from: 48 gives 24, 16, 12,
// 8, 6 and 4, and a salvo's fireballs, mostly 8 to 29 pixels in radius, 12.
MeshBuilder makeShellMesh() {
    MeshBuilder shell;
    shell.addSphere(1.0f, 12, 6, 1.0f);
    return shell;
}

MeshBuilder makeFireballMesh() {
    MeshBuilder fireball;
    fireball.addSphere(1.0f, 48, 24, 2.0f);
    return fireball;
}

bool writePackMeshes(const std::string& dataDir) {
    bool ok = true;
    ok = hull().write(dataDir + "/hull.mesh") && ok;
    ok = turret().write(dataDir + "/turret.mesh") && ok;
    ok = barrel().write(dataDir + "/barrel.mesh") && ok;
    ok = makeShellMesh().write(dataDir + "/sphere.mesh") && ok;
    ok = makeFireballMesh().write(dataDir + "/fireball.mesh") && ok;
    ok = sky().write(dataDir + "/sky.mesh") && ok;
    return ok;
}
