// Meshes, skeletons and world objects. A mesh goes to OpenGL straight from its own
// arrays (no copy) in one indexed draw; a skeleton is a tree walked on the
// modelview stack, each node's transform applied only where it changes something.
#include "assets/Skeleton.h"
#include "render/Display.h"
#include "world/Object.h"
#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {

// OpenGL reads every array at every index it is given: one index beyond the
// vertices, or an attribute array shorter than them, reads past the vector.
bool indicesInRange(const Mesh& mesh) {
    const std::size_t vertexCount = mesh.vertices.size();
    for (const std::uint32_t index : mesh.indices)
        if (index >= vertexCount)
            return false;
    return true;
}

template <typename T> bool coversVertices(const std::vector<T>& attribute, const Mesh& mesh) {
    return !attribute.empty() && attribute.size() >= mesh.vertices.size();
}

// Rotations about x, then y, then z, each skipped when its angle is 0.
void rotateXYZ(const Vector3& degrees) {
    if (degrees.x != 0.0f)
        glRotatef(degrees.x, 1.0f, 0.0f, 0.0f);
    if (degrees.y != 0.0f)
        glRotatef(degrees.y, 0.0f, 1.0f, 0.0f);
    if (degrees.z != 0.0f)
        glRotatef(degrees.z, 0.0f, 0.0f, 1.0f);
}

bool drawable(const Mesh& mesh) {
    return !mesh.vertices.empty() && !mesh.indices.empty() && indicesInRange(mesh);
}

// How far inside its true outline a small sphere may be drawn: within a pixel, it
// covers nearly the same pixels, and a salvo's hundreds of fireballs, each a few
// pixels across, cost a software renderer a fraction of their full detail.
constexpr float outlinePixels = 1.0f;

float largest(const Vector3& v) {
    return std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
}

} // namespace

void Display::drawMesh(const Mesh& mesh) {
    drawMeshArrays(mesh, mesh.indices);
    drawMeshNormals(mesh);
}

// Compiled into a list, the pointer and switch calls take effect at once and the
// draw keeps the arrays' contents: the list holds the draw alone. The indices are
// the mesh's own or a coarser level's, which uses only vertices the mesh has.
void Display::drawMeshArrays(const Mesh& mesh, const std::vector<std::uint32_t>& indices) {
    if (drawable(mesh)) {
        glVertexPointer(3, GL_FLOAT, 0, mesh.vertices.data());
        glEnableClientState(GL_VERTEX_ARRAY);
        if (coversVertices(mesh.colors, mesh)) {
            glColorPointer(3, GL_FLOAT, 0, mesh.colors.data());
            glEnableClientState(GL_COLOR_ARRAY);
        }
        if (coversVertices(mesh.normals, mesh)) {
            glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
            glEnableClientState(GL_NORMAL_ARRAY);
        }
        if (coversVertices(mesh.texCoords, mesh)) {
            glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT,
                       indices.data());
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

// One line per triangle, from its first vertex along that vertex's normal. A mesh
// without a normal for every vertex has nothing to show.
void Display::drawMeshNormals(const Mesh& mesh) {
    if (!showNormals || !drawable(mesh) || !coversVertices(mesh.normals, mesh))
        return;
    glPushAttrib(GL_LIGHTING_BIT);
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    for (std::size_t k = 0; k < mesh.indices.size(); k += 3) {
        const Vector3& v = mesh.vertices[mesh.indices[k]];
        const Vector3 tip = v + mesh.normals[mesh.indices[k]];
        glColor3f(1.0f, 0.0f, 0.0f);
        glVertex3f(v.x, v.y, v.z);
        glColor3f(0.0f, 1.0f, 0.0f);
        glVertex3f(tip.x, tip.y, tip.z);
    }
    glEnd();
    glPopAttrib();
}

// Vertices of a node's mesh end up at T * Rx * Ry * Rz * S * v inside the
// transforms of its ancestors.
void Display::drawSkeleton(const Skeleton& node, MeshLibrary& meshes) {
    drawSkeleton(node, meshes, false, 0.0f);
}

void Display::drawSkeleton(const Skeleton& node, MeshLibrary& meshes, bool cullClosed,
                           float pixelsPerUnit) {
    glPushMatrix();
    const Vector3& t = node.translate;
    if (t.x != 0.0f || t.y != 0.0f || t.z != 0.0f)
        glTranslatef(t.x, t.y, t.z);
    rotateXYZ(node.rotate);
    const Vector3& s = node.scale;
    if (s.x != 1.0f || s.y != 1.0f || s.z != 1.0f)
        glScalef(s.x, s.y, s.z);
    pixelsPerUnit *= largest(s);
    // The lookup inserts an empty mesh for a name never loaded (and for the empty
    // name of a node without geometry); an empty mesh draws nothing.
    const Mesh& mesh = meshes[node.meshName];
    if (const std::uint32_t list = meshLists.find(mesh, pixelsPerUnit, outlinePixels)) {
        const bool cull = cullClosed && meshLists.shape(mesh)->closedOutward();
        if (cull)
            glEnable(GL_CULL_FACE);
        glCallList(list);
        if (cull)
            glDisable(GL_CULL_FACE);
        drawMeshNormals(mesh);
    } else {
        drawMesh(mesh);
    }
    for (const Skeleton& child : node.children)
        drawSkeleton(child, meshes, cullClosed, pixelsPerUnit);
    glPopMatrix();
}

void Display::drawSky(const Skeleton& sky, MeshLibrary& meshes, std::uint32_t texture) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    bindTexture(texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    drawSkeleton(sky, meshes, false, 0.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

// A mesh drawn call by call has not been measured: its reach is not known.
float Display::skeletonReach(const Skeleton& node, MeshLibrary& meshes) const {
    const Vector3& s = node.scale;
    if (s.x <= 0.0f || s.y <= 0.0f || s.z <= 0.0f)
        return -1.0f;
    const Mesh& mesh = meshes[node.meshName];
    float reach = 0.0f;
    if (!mesh.vertices.empty()) {
        const MeshShape* shape = meshLists.shape(mesh);
        if (shape == nullptr)
            return -1.0f;
        reach = shape->radius();
    }
    for (const Skeleton& child : node.children) {
        const float childReach = skeletonReach(child, meshes);
        if (childReach < 0.0f)
            return -1.0f;
        reach = std::max(reach, childReach);
    }
    const Vector3& t = node.translate;
    return std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z) + std::max({s.x, s.y, s.z}) * reach;
}

// Whether the eye is outside every mesh of the object, far enough that the near
// plane cuts none of them: then a closed mesh's front faces hide its back faces,
// and culling those leaves the same pixels. Not in wireframe, where the back
// faces show through. A nuke's fireball grows around a follow camera.
bool Display::eyeOutside(const Object& object, float reach) const {
    const Vector3& s = object.scale;
    if (wireframe || s.x <= 0.0f || s.y <= 0.0f || s.z <= 0.0f || reach < 0.0f)
        return false;
    const Vector3 d = object.position - eye;
    const float bound = std::max({s.x, s.y, s.z}) * reach + nearReach;
    return d.x * d.x + d.y * d.y + d.z * d.z > bound * bound;
}

// The most pixels a unit of the object's model spans on screen: at the depth of
// its point nearest the eye, and along the picture's radius, which the
// perspective stretches off the picture's centre by the distance over the
// depth. 0, for all the detail, where the near plane may cut the object, where
// its reach is not known, in an orthographic view and in wireframe, which shows
// the meshes as they were made.
float Display::pixelsPerUnit(const Object& object, float reach) const {
    const Vector3& s = object.scale;
    if (wireframe || lensPixels <= 0.0f || reach < 0.0f || s.x <= 0.0f || s.y <= 0.0f ||
        s.z <= 0.0f)
        return 0.0f;
    const float scale = largest(s);
    const float nearest = view.project(object.position).depth - scale * reach;
    if (nearest <= nearReach)
        return 0.0f;
    const Vector3 d = object.position - eye;
    return lensPixels * scale * std::sqrt(dot(d, d)) / (nearest * nearest);
}

// An object is scaled in world axes after its rotation (T * S * Rx * Ry * Rz), so
// a non-uniform scale stretches along world x, y and z. The scale call is made
// even when it is 1: objects grow (explosions) and the call sequence stays fixed.
void Display::drawObject(const Object& object, MeshLibrary& meshes) {
    bindTexture(object.texture);
    glPushMatrix();
    glTranslatef(object.position.x, object.position.y, object.position.z);
    glScalef(object.scale.x, object.scale.y, object.scale.z);
    rotateXYZ(object.rotation);
    const float reach = skeletonReach(object.skeleton, meshes);
    drawSkeleton(object.skeleton, meshes, eyeOutside(object, reach), pixelsPerUnit(object, reach));
    glPopMatrix();
}
