// vantrell_pack: paints every picture, builds every generated mesh and
// synthesises every sound of the game's data/ folder, a contact sheet of the
// pictures, the shell and the fireball for people to look at, and the
// application icon for desktop menus (ICON_DIR/48x48.png and the other sizes;
// the installer gives them their theme names). Everything is computed from
// fixed seeds, so two runs give the same bytes.
//
//   vantrell_pack DATA_DIR SHEET_PNG ICON_DIR MONO_TTF SANS_BOLD_TTF SANS_TTF
#include "ContactSheet.h"
#include "FontFace.h"
#include "MeshPreview.h"
#include "PackMeshes.h"
#include "PackPictures.h"
#include "PackSounds.h"
#include "PngFile.h"

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct WeaponFile {
    const char* name;
    WeaponIcon icon;
};

constexpr WeaponFile weaponFiles[] = {
    {"babymissile", WeaponIcon::BabyMissile},
    {"missile", WeaponIcon::Missile},
    {"babynuke", WeaponIcon::BabyNuke},
    {"nuke", WeaponIcon::Nuke},
    {"mirv", WeaponIcon::Mirv},
    {"deathshead", WeaponIcon::DeathsHead},
};

// The sizes desktop menus and software centres ask the icon theme for most.
constexpr int iconSizes[] = {48, 64, 128, 256};

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::cerr << "usage: vantrell_pack DATA_DIR SHEET_PNG ICON_DIR MONO_TTF SANS_BOLD_TTF "
                     "SANS_TTF"
                  << std::endl;
        return 2;
    }
    const std::string data = argv[1];
    const std::string sheetPath = argv[2];
    const std::string icons = argv[3];
    FontFace mono(argv[4]);
    FontFace bold(argv[5]);
    FontFace regular(argv[6]);
    if (!mono.loaded() || !bold.loaded() || !regular.loaded()) {
        return 1;
    }

    ContactSheet sheet;
    bool ok = true;
    const auto emit = [&](const std::string& name, const Canvas& canvas, PixelFormat format) {
        ok = writePng(data + "/" + name, canvas, format) && ok;
        sheet.add(name, canvas, format);
    };

    emit("font.png", makeFontAtlas(mono), PixelFormat::Grey);
    const Canvas camouflage = makeCamouflage();
    const Canvas fire = makeFire();
    emit("giraffe.png", camouflage, PixelFormat::Rgb);
    emit("fire.png", fire, PixelFormat::Rgb);
    emit("selection.png", makeSelectionFrame(), PixelFormat::Rgba);
    emit("background.png", makeSkyPanorama(), PixelFormat::Rgb);
    emit("splashscreen.png", makeSplashScreen(bold, regular), PixelFormat::Rgb);
    for (const WeaponFile& w : weaponFiles) {
        emit(std::string("weapons/") + w.name + ".png", makeWeaponIcon(w.icon), PixelFormat::Rgb);
    }
    for (int band = 0; band < 3; ++band) {
        const int kinds = band < 2 ? 5 : 1; // the top band has no transitions
        for (int kind = 0; kind < kinds; ++kind) {
            const std::string name =
                "terrain/" + std::to_string(band) + std::to_string(kind) + ".png";
            emit(name, makeTerrainTile(band, kind), PixelFormat::Rgb);
        }
    }
    ok = writePackMeshes(data) && ok;
    // At the sizes the meshes' segment counts were chosen for (PackMeshes.cpp):
    // 240 pixels to a unit at a distance of one.
    const MeshBuilder shell = makeShellMesh();
    const MeshBuilder fireball = makeFireballMesh();
    sheet.add("sphere.mesh, " + std::to_string(shell.triangleCount()) +
                  " triangles: a shell at 10 units",
              previewMesh(shell, 24.0f, camouflage, rgb(120, 160, 210)), PixelFormat::Rgb);
    sheet.add("fireball.mesh, " + std::to_string(fireball.triangleCount()) +
                  " triangles: a baby nuke's at 26 units",
              previewMesh(fireball, 190.0f, fire, rgb(120, 160, 210)), PixelFormat::Rgb);
    // A fireball small on screen is drawn from a coarser level of the same
    // vertices, the coarsest whose outline stays within a pixel of the circle:
    // each level at the largest radius it is drawn at.
    for (const int segments : {24, 16, 12, 8, 6, 4}) {
        MeshBuilder level;
        level.addSphere(1.0f, segments, segments / 2, 2.0f);
        const float pixels = 1.0f / (1.0f - std::cos(3.14159265f / static_cast<float>(segments)));
        sheet.add("fireball.mesh at " + std::to_string(segments) + " segments, " +
                      std::to_string(level.triangleCount()) + " triangles: up to " +
                      std::to_string(static_cast<int>(pixels)) + " pixels in radius",
                  previewMesh(level, pixels, fire, rgb(120, 160, 210)), PixelFormat::Rgb);
    }
    ok = writePackSounds(data) && ok;
    ok = writePng(sheetPath, sheet.render(regular, bold), PixelFormat::Rgb) && ok;
    const Canvas icon = makeAppIcon();
    for (const int size : iconSizes) {
        const std::string side = std::to_string(size);
        ok = writePng(icons + "/" + side + "x" + side + ".png", icon.resized(size, size),
                      PixelFormat::Rgba) &&
             ok;
    }
    return ok ? 0 : 1;
}
