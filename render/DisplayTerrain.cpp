// The terrain is a walk over its cells, one begin/end pair of two triangles per
// cell, a texture bound only when it changes. The walk is compiled into display
// lists by strips of rows (TerrainLists), so a frame hands OpenGL the lists and
// only a strip that a crater changed is walked again, then compiled once it has
// settled. Positions come from per-column and per-row tables, the same for a
// strip as for the whole walk.
#include "render/Display.h"
#include "world/Terrain.h"
#include "world/TileOrientation.h"
#include <GL/gl.h>
#include <vector>

namespace {

// Position of every grid index along one axis, p * extent / divisor in float and
// in that order, computed once a frame instead of once per vertex.
std::vector<GLfloat> gridPositions(std::uint32_t count, float extent, std::uint32_t divisor) {
    std::vector<GLfloat> positions(count);
    for (std::uint32_t p = 0; p < count; ++p)
        positions[p] = static_cast<float>(p) * extent / static_cast<float>(divisor);
    return positions;
}

} // namespace

void Display::drawTerrain(const Terrain& terrain) {
    glColor3f(1.0f, 1.0f, 1.0f);
    const auto walk = [&](std::uint32_t firstRow, std::uint32_t endRow,
                          std::uint32_t enteringTexture) {
        drawTerrainRows(terrain, firstRow, endRow, enteringTexture);
    };
    if (terrainListed)
        terrainListed = terrainLists.draw(
            terrain,
            [&](std::uint32_t list, std::uint32_t firstRow, std::uint32_t endRow,
                std::uint32_t enteringTexture) {
                return buildList(list, [&] { walk(firstRow, endRow, enteringTexture); });
            },
            walk);
    else if (terrain.cells().width() >= 2)
        walk(0, terrain.cells().width() - 1, 0);
    drawTerrainNormals(terrain);
}

void Display::drawTerrainImmediate(const Terrain& terrain) {
    glColor3f(1.0f, 1.0f, 1.0f);
    if (terrain.cells().width() >= 2)
        drawTerrainRows(terrain, 0, terrain.cells().width() - 1, 0);
    drawTerrainNormals(terrain);
}

// The cells of rows firstRow to endRow - 1, all j, as the walk over every cell
// draws them when it arrives with lastBound as the texture it bound last.
void Display::drawTerrainRows(const Terrain& terrain, std::uint32_t firstRow, std::uint32_t endRow,
                              std::uint32_t lastBound) {
    const Matrix<TerrainCell>& cells = terrain.cells();
    const std::uint32_t w = cells.width();
    const std::uint32_t h = cells.height();
    const Vector3& size = terrain.size();

    // The surface is stretched to the whole extent: spacing extent / (count - 1).
    if (w >= 2 && h >= 2) {
        const std::vector<GLfloat> xs = gridPositions(w, size.x, w - 1);
        const std::vector<GLfloat> zs = gridPositions(h, size.z, h - 1);
        for (std::uint32_t i = firstRow; i < endRow && i + 1 < w; ++i) {
            for (std::uint32_t j = 0; j + 1 < h; ++j) {
                const TerrainCell& a = cells.at(i, j);
                const TerrainCell& b = cells.at(i, j + 1);
                const TerrainCell& c = cells.at(i + 1, j + 1);
                const TerrainCell& d = cells.at(i + 1, j);
                if (a.texture != lastBound) {
                    bindTexture(a.texture);
                    lastBound = a.texture;
                }
                // An orientation outside 0 to 3 has no row in the table; lay it as 0.
                const unsigned turn = static_cast<unsigned>(a.orientation) < 4u
                                          ? static_cast<unsigned>(a.orientation)
                                          : 0u;
                const GLfloat(&st)[4][2] = tileCorners[turn];
                const GLfloat ya = size.y * a.height;
                const GLfloat yb = size.y * b.height;
                const GLfloat yc = size.y * c.height;
                const GLfloat yd = size.y * d.height;
                glBegin(GL_TRIANGLES);
                glTexCoord2fv(st[0]);
                glNormal3f(a.normal.x, a.normal.y, a.normal.z);
                glVertex3f(xs[i], ya, zs[j]);
                glTexCoord2fv(st[1]);
                glNormal3f(b.normal.x, b.normal.y, b.normal.z);
                glVertex3f(xs[i], yb, zs[j + 1]);
                glTexCoord2fv(st[2]);
                glNormal3f(c.normal.x, c.normal.y, c.normal.z);
                glVertex3f(xs[i + 1], yc, zs[j + 1]);
                glTexCoord2fv(st[2]);
                glNormal3f(c.normal.x, c.normal.y, c.normal.z);
                glVertex3f(xs[i + 1], yc, zs[j + 1]);
                glTexCoord2fv(st[3]);
                glNormal3f(d.normal.x, d.normal.y, d.normal.z);
                glVertex3f(xs[i + 1], yd, zs[j]);
                glTexCoord2fv(st[0]);
                glNormal3f(a.normal.x, a.normal.y, a.normal.z);
                glVertex3f(xs[i], ya, zs[j]);
                glEnd();
            }
        }
    }
}

void Display::drawTerrainNormals(const Terrain& terrain) {
    if (!showNormals)
        return;
    const Matrix<TerrainCell>& cells = terrain.cells();
    const std::uint32_t w = cells.width();
    const std::uint32_t h = cells.height();
    const Vector3& size = terrain.size();

    // The lines stand on the physics grid (spacing extent / count), not on the
    // drawn surface, so they drift from it towards the far edges: they show where
    // the physics thinks the ground is.
    const std::vector<GLfloat> xs = gridPositions(w, size.x, w);
    const std::vector<GLfloat> zs = gridPositions(h, size.z, h);
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    for (std::uint32_t i = 0; i < w; ++i) {
        for (std::uint32_t j = 0; j < h; ++j) {
            const TerrainCell& p = cells.at(i, j);
            const GLfloat y = size.y * p.height;
            glColor3f(1.0f, 0.0f, 0.0f);
            glVertex3f(xs[i], y, zs[j]);
            glColor3f(0.0f, 1.0f, 0.0f);
            glVertex3f(xs[i] + p.normal.x, y + p.normal.y, zs[j] + p.normal.z);
        }
    }
    glEnd();
    glEnable(GL_LIGHTING);
}
