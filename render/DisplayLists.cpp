// Display lists: the meshes compiled once after loading, the terrain by strips
// (TerrainLists). OpenGL tells of a list it could not build (out of memory, say)
// only through its error flag, so each build reads the flag; a thing whose list
// failed is drawn call by call from then on, and the first failure is written
// once on standard error.
#include "assets/SphereLevels.h"
#include "assets/TraceSink.h"
#include "render/Display.h"
#include <GL/gl.h>
#include <iomanip>

namespace {

// OpenGL keeps at most one flag per kind of error; nothing else in the game
// reads them, so earlier ones are dropped before a build to be sure whose they are.
void dropEarlierErrors() {
    for (int n = 0; n < 8 && glGetError() != GL_NO_ERROR; ++n) {
    }
}

} // namespace

bool Display::buildList(std::uint32_t list, const std::function<void()>& calls) {
    dropEarlierErrors();
    glNewList(list, GL_COMPILE);
    calls();
    glEndList();
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return true;
    if (!listErrorReported) {
        listErrorReported = true;
        ErrorLine() << "OpenGL error 0x" << std::hex << error
                    << " while building a display list; drawing without it";
    }
    return false;
}

void Display::compileMeshes(const MeshLibrary& meshes) {
    meshLists.clear();
    for (const auto& named : meshes) {
        const Mesh& mesh = named.second;
        const GLuint list = glGenLists(1);
        if (list == 0)
            return; // no names left: the rest are drawn call by call
        if (!buildList(list, [&] { drawMeshArrays(mesh, mesh.indices); })) {
            glDeleteLists(list, 1);
            continue;
        }
        meshLists.add(mesh, list);
        const SphereLevels sphere(mesh);
        for (const SphereLevels::Level& level : sphere.coarser()) {
            const GLuint coarse = glGenLists(1);
            if (coarse == 0)
                return;
            if (buildList(coarse, [&] { drawMeshArrays(mesh, level.indices); }))
                meshLists.addLevel(mesh, level.segments, coarse);
            else
                glDeleteLists(coarse, 1);
        }
    }
}
