// The game core's life: everything is loaded once, in a fixed order, while the
// core is built (the window and its GL context already exist), and destroyed
// with it. Failed loads are reported by the loaders and the game goes on.
#include "app/GameCore.h"
#include "assets/TraceSink.h"
#include "render/Image.h"
#include "world/Object.h"
#include <vector>

GameCore::GameCore() : terrain(terrainGridSize, terrainGridSize, worldSize, worldSize, worldSize) {
    TraceLine() << "GameCore::GameCore()";

    cameraRotation = Vector3(0.0f, 0.0f, 0.0f);
    cameraPosition = Vector3(50.0f, 25.0f, 100.0f);
    for (bool& held : keyDown)
        held = false;
    cameraVelocity = Vector3(0.0f, 0.0f, 0.0f);

    console.addLine("Vantrell");

    turretAngle = 0.0f;
    elevation = 0.0f;
    launchVelocity = 10.0f;
    angleText = "0";
    elevationText = angleText;
    velocityText = "10";
    healthText = "100";

    variables["normals"] = 0;
    variables["keydump"] = 0;
    variables["wireframe"] = 0;
    variables["lighting"] = 1;
    variables["menu"] = 0;
    variables["fps"] = 0;
    variables["follow"] = 1;
    variables["marks"] = 1;
    splashVisible = true;
    currentMenu = 0;
    lightPosition = Vector3(worldSize, worldSize, worldSize);

    // Lighting.
    screen.setLighting(true);
    screen.setLight(0, true);
    screen.setLightDiffuse(0, Vector3(1.0f, 1.0f, 1.0f));

    // Textures.
    tankTexture = loadTexture("data/giraffe.png");
    fontTexture = loadTexture("data/font.png");
    selectionTexture = loadTexture("data/selection.png");
    const char* const bandFiles[2][5] = {
        {"data/terrain/00.png", "data/terrain/01.png", "data/terrain/02.png", "data/terrain/03.png",
         "data/terrain/04.png"},
        {"data/terrain/10.png", "data/terrain/11.png", "data/terrain/12.png", "data/terrain/13.png",
         "data/terrain/14.png"}};
    for (int band = 0; band < 2; ++band)
        for (int tile = 0; tile < 5; ++tile)
            terrainTextures[band][tile] = loadTexture(bandFiles[band][tile]);
    terrainTextures[2].fill(loadTexture("data/terrain/20.png"));
    backgroundTexture = loadTexture("data/background.png");
    splashTexture = loadTexture("data/splashscreen.png");

    // Terrain bands and the first terrain.
    terrain.setBands({TerrainBand{0.4f, terrainTextures[0]}, TerrainBand{0.55f, terrainTextures[1]},
                      TerrainBand{1.0f, terrainTextures[2]}});
    terrain.generate(300, 0.25f, 0.75f);

    // Skeletons. Each file is read before its line is started, so the result
    // follows the text directly whatever a loader may print.
    const bool tankLoaded = loadSkeleton("data/tank.skel", tankSkeleton);
    TraceLine() << "Loading skeleton: " << tankLoaded;
    const bool sphereLoaded = loadSkeleton("data/sphere.skel", sphereSkeleton);
    TraceLine() << "Loading skeleton: " << sphereLoaded;
    const bool explosionLoaded = loadSkeleton("data/explosion.skel", explosionSkeleton);
    TraceLine() << "Loading skeleton: " << explosionLoaded;
    const bool backgroundLoaded = loadSkeleton("data/background.skel", backgroundSkeleton);
    TraceLine() << "Loading skeleton: " << backgroundLoaded;

    // Weapon table.
    buildWeapons();

    // Menus.
    const bool menuLoaded = loadMenu("data/menu.xml", menus);
    TraceLine() << "Loading menu: " << menuLoaded;

    message = "";
    messageShown = true;
    currentTank = tanks.end();

    // Mesh library: every mesh any node of the four skeletons names.
    for (const Skeleton* root :
         {&tankSkeleton, &sphereSkeleton, &explosionSkeleton, &backgroundSkeleton}) {
        std::vector<const Skeleton*> pending{root};
        while (!pending.empty()) {
            const Skeleton* node = pending.back();
            pending.pop_back();
            for (const Skeleton& child : node->children)
                pending.push_back(&child);
            if (!node->meshName.empty())
                loadMesh(("data/" + node->meshName).c_str(), meshes[node->meshName]);
        }
    }
    // Drawn from display lists from now on: the meshes never change after this.
    screen.compileMeshes(meshes);

    // Sounds: the game is whole without them, so they come last and say on
    // standard error, not in the trace, what is missing.
    sound.loadSounds("data/sounds/");

    TraceLine() << "end GameCore::GameCore()";
}

GameCore::~GameCore() {
    TraceLine() << "~GameCore()";
    tanks.clear();
    currentTank = tanks.end();
    tankNodes.clear();
    objects.clear();
    weapons.clear();
}

std::uint32_t GameCore::loadTexture(const char* fileName) {
    Image image;
    if (!loadImage(fileName, image))
        return 0;
    return screen.createTexture(image);
}


