#pragma once
#include "assets/Mesh.h"
#include "render/MeshLists.h"
#include "render/ScreenProjection.h"
#include "render/TerrainLists.h"
#include "world/TextureMaker.h"
#include "world/Vector3.h"
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

struct Image;
struct Menu;
struct Skeleton;
class Console;
class Object;
class Terrain;

// The one owner of OpenGL state. It owns the textures it created and the display
// lists it compiled and deletes them when destroyed, so it must die while the GL
// context still exists.
class Display : public TextureMaker {
public:
    Display();
    ~Display() override;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // State, camera and projection.
    void resize(int newWidth, int newHeight);
    void perspective(float fovY, float aspect, float zNear, float zFar);
    void orthographic(float left, float right, float bottom, float top, float zNear, float zFar);
    void clear();
    // Waits until OpenGL has drawn everything issued so far (for timing).
    void finish();
    void setCamera(const Vector3& position, const Vector3& rotation);
    void setDepthTest(bool on);
    // On from the start: the overlay's glyphs and the marks need it.
    void setBlending(bool on);
    void setShowNormals(bool on) { showNormals = on; }
    void setWireframe(bool on);
    void setColor(float r, float g, float b);
    void setLighting(bool on);
    void setLight(int index, bool on);
    void setLightPosition(int index, const Vector3& position);
    void setLightDiffuse(int index, const Vector3& colour);
    void setFog(bool on);
    void setFogColor(float r, float g, float b, float density);
    void setFogRange(float start, float end);

    // Textures: 0 means none.
    std::uint32_t createTexture(const Image& image);
    // Reads a picture file and makes a texture of it, as the weapons need.
    MadeTexture makeTexture(const char* fileName) override;
    void bindTexture(std::uint32_t name);
    void deleteTexture(std::uint32_t name);

    // Models. The mesh table may grow: a missing name gets an empty mesh.
    void drawMesh(const Mesh& mesh);
    // Compiles each mesh of the table into a display list of exactly the calls
    // drawMesh makes for it; skeletons then draw those meshes by their lists. A
    // mesh added or replaced later is drawn call by call.
    void compileMeshes(const MeshLibrary& meshes);
    void drawSkeleton(const Skeleton& node, MeshLibrary& meshes);
    void drawObject(const Object& object, MeshLibrary& meshes);
    // The background model in its texture's own colours: unlit, white, the
    // texture replacing the colour (the same pixels as modulating white, with
    // a multiplication less for each of the many the sky covers).
    void drawSky(const Skeleton& sky, MeshLibrary& meshes, std::uint32_t texture);
    // From display lists, each compiled again only when its cells change.
    void drawTerrain(const Terrain& terrain);
    // The same calls issued one by one, with no list: the reference the lists
    // must equal, and what the frame costs without them.
    void drawTerrainImmediate(const Terrain& terrain);

    // 2-D overlay, in window pixels with the origin bottom left.
    void drawQuad(float x1, float x2, float y1, float y2);
    void drawText(const char* text, float x, float y, float glyphWidth, float glyphHeight);
    void drawMenu(const Menu& menu);
    void drawConsole(const Console& console);

    // Marks that make a battle easy to follow. The 3-D ones go between beginMarks
    // and endMarks, which draw them unlit, untextured and blended, tested against
    // the scene's depth but not hiding each other, and give the state back as it was.
    void drawTintedObject(const Object& object, MeshLibrary& meshes, const Vector3& colour);
    void beginMarks();
    // For each shell's path, a line from the oldest point to the newest, fading in
    // from nothing, and a dot a few pixels wide at the newest point, so a far shell
    // never vanishes. All of them in two array draws: a salvo flies hundreds.
    void drawShellTrails(const std::vector<const std::vector<Vector3>*>& paths,
                         const Vector3& colour);
    // A disc facing the camera (right and up are its half axes in world units),
    // bright at the centre; strength 1 is a fresh burst, 0 is gone.
    void drawFlash(const Vector3& centre, const Vector3& right, const Vector3& up, float strength);
    void endMarks();
    // A tank's label in the overlay, with its bottom left corner at (left, bottom):
    // a health bar (health 100 fills it) under the name, and for the current tank
    // an arrow over the name. Draws the name with the bound font texture.
    void drawLabel(const std::string& name, float left, float bottom, const Vector3& colour,
                   float health, bool current);
    static int labelWidth(std::size_t nameLength);
    static int labelHeight(bool current);

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    const std::list<std::uint32_t>& textureNames() const { return textures; }

private:
    // With cullClosed, the back faces of closed meshes are culled: the caller
    // has made sure the eye is outside every mesh of the tree.
    // Where pixelsPerUnit (on screen, per unit of the node's parent) is above 0, a
    // sphere is drawn from its coarsest list that keeps its outline.
    void drawSkeleton(const Skeleton& node, MeshLibrary& meshes, bool cullClosed,
                      float pixelsPerUnit);
    // How far a tree's meshes reach from its origin, in its parent's units; -1
    // where that is not known or a mirroring scale would turn faces around.
    float skeletonReach(const Skeleton& node, MeshLibrary& meshes) const;
    bool eyeOutside(const Object& object, float reach) const;
    float pixelsPerUnit(const Object& object, float reach) const;
    void drawMeshArrays(const Mesh& mesh, const std::vector<std::uint32_t>& indices);
    void drawMeshNormals(const Mesh& mesh);
    void drawTerrainRows(const Terrain& terrain, std::uint32_t firstRow, std::uint32_t endRow,
                         std::uint32_t lastBound);
    void drawTerrainNormals(const Terrain& terrain);
    // Compiles `calls` into the list; false (and one line on standard error in
    // the whole run) when OpenGL reports an error.
    bool buildList(std::uint32_t list, const std::function<void()>& calls);

    bool showNormals = false;
    bool wireframe = false;
    Vector3 eye;
    // From the eye to the near plane's farthest corner: a surface nearer than this
    // may be cut away by the near plane. Infinite in an orthographic view.
    float nearReach = 0.0f;
    // Pixels a unit spans on screen at a depth of 1; 0 in an orthographic view.
    float lensPixels = 0.0f;
    ScreenProjection view{Vector3(), Vector3(), 640, 480}; // for depths only
    int width = 640; // until the first resize: the size the window is created with
    int height = 480;
    std::list<std::uint32_t> textures; // creation order
    MeshLists meshLists;
    TerrainLists terrainLists;
    bool terrainListed = true; // false once a terrain list failed: drawn call by call
    bool listErrorReported = false;
};
