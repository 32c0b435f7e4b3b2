// One frame: the 3-D scene (terrain, objects, background, marks), where the depth
// test does the layering, then the 2-D overlay (weapon bar, heads-up texts, centre
// message, frame rate, title image, menu, console), where later steps cover
// earlier ones.
#include "app/GameCore.h"
#include "world/Object.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cstdint>
#include <string>

namespace {

constexpr int glyphSize = 16; // heads-up, message and frame-rate text, in pixels
constexpr int iconSize = 32;
constexpr float fpsInterval = 5.0f; // seconds over which the frame rate is averaged

// Digits of the whole part of a rate; a rate below 1 gives no digits at all.
std::string rateDigits(float rate) {
    std::string digits;
    for (int n = static_cast<int>(rate); n != 0; n /= 10)
        digits.insert(digits.begin(), static_cast<char>('0' + n % 10));
    return digits;
}

// A text wider than the window would start left of it; it starts at the edge instead.
int clampedLeft(long x) {
    return static_cast<int>(std::max(0L, x));
}

// The title's invitation, centred low over the picture's dark hills. It is only
// true until a key opens the menu, so it is drawn rather than painted into the
// picture. Larger than the heads-up texts, in the title's warm white.
void drawTitlePrompt(Display& screen, std::uint32_t font, int width) {
    constexpr char prompt[] = "Press any key";
    constexpr long length = sizeof prompt - 1;
    constexpr int size = 24;
    constexpr float bottom = 32.0f;
    screen.bindTexture(font);
    screen.setColor(1.0f, 0.94f, 0.78f);
    screen.drawText(prompt, static_cast<float>(clampedLeft((width - size * length) / 2)), bottom,
                    size, size);
    screen.setColor(1.0f, 1.0f, 1.0f);
}

} // namespace

void GameCore::display() {
    // Frame rate.
    const float sinceMeasurement = fpsTimer.elapsed();
    if (sinceMeasurement > fpsInterval) {
        fps = frameCount / sinceMeasurement;
        fpsTimer.reset();
        frameCount = 0;
        fpsText = rateDigits(fps);
    }
    ++frameCount;

    // Scene set-up. A window of height 0 is drawn as if it were 1 pixel high, as
    // the Display's own resize does.
    screen.clear();
    const int viewHeight = screen.getHeight() == 0 ? 1 : screen.getHeight();
    screen.perspective(90.0f, static_cast<float>(screen.getWidth()) / viewHeight, 0.1f, 300.0f);
    screen.setShowNormals(variables["normals"] != 0);
    screen.setCamera(cameraPosition, cameraRotation);
    // After the camera, so the light stays put in the world.
    screen.setLightPosition(0, lightPosition);
    screen.setWireframe(variables["wireframe"] != 0);

    // The lit world, then the background, unlit. Everything in the world is
    // opaque and depth-tested and the sky lies beyond all of it, so the sky drawn
    // last shows in the same pixels as drawn first, while the depth test now
    // skips its hidden fragments: most of the window, on a software renderer.
    // Opaque fragments blended over what lies behind them come out as they went
    // in, after a read of every pixel they cover: no blending until the marks.
    screen.setBlending(false);
    screen.setLighting(variables["lighting"] != 0);
    screen.drawTerrain(terrain);
    const bool marked = marksShown();
    for (const std::unique_ptr<Object>& object : objects)
        if (object->active) {
            if (marked)
                drawMarkedObject(*object);
            else
                screen.drawObject(*object, meshes);
        }
    screen.drawSky(backgroundSkeleton, meshes, backgroundTexture);
    screen.setBlending(true);
    // The see-through marks blend over whatever lies behind them, the sky too.
    if (marked)
        drawShotMarks();

    // Overlay.
    screen.setColor(1.0f, 1.0f, 1.0f);
    screen.setLighting(false);
    screen.setWireframe(false);
    const int width = screen.getWidth();
    const int height = screen.getHeight();
    screen.orthographic(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height), 0.0f,
                        1.0f);
    screen.setDepthTest(false);
    if (marked)
        drawTankLabels();

    // Weapon bar along the top edge, the selected weapon's icon highlighted.
    const float iconBottom = static_cast<float>(height - iconSize);
    const float iconTop = iconBottom + iconSize;
    float x = 0.0f;
    for (WeaponList::iterator it = weapons.begin(); it != weapons.end(); ++it) {
        screen.bindTexture((*it)->icon());
        screen.drawQuad(x, x + iconSize, iconBottom, iconTop);
        if (it == currentWeapon) {
            screen.bindTexture(selectionTexture);
            screen.drawQuad(x, x + iconSize, iconBottom, iconTop);
        }
        x += iconSize;
    }

    screen.bindTexture(fontTexture);
    screen.setColor(1.0f, 1.0f, 1.0f);

    // Heads-up block in the bottom left corner, the tank's name on the bottom line.
    if (currentTank != tanks.end()) {
        // On a networked game, a turn that is not this machine's says whose it is.
        const std::string owner = turnOwner();
        const std::string lines[] = {(*currentTank)->name() + (owner.empty() ? "" : " (" + owner + ")"),
                                     "Angle: " + angleText,
                                     "Elevation: " + elevationText, "Velocity: " + velocityText,
                                     "Health: " + healthText};
        float y = 0.0f;
        for (const std::string& line : lines) {
            // The name in its player's colour, the way its tank and label show it.
            const bool coloured = marked && y == 0.0f;
            if (coloured) {
                const Vector3 colour = marks.colourOf(**currentTank);
                screen.setColor(colour.x, colour.y, colour.z);
            }
            screen.drawText(line.c_str(), 0.0f, y, glyphSize, glyphSize);
            if (coloured)
                screen.setColor(1.0f, 1.0f, 1.0f);
            y += glyphSize;
        }
    }

    // Centred on whole pairs of characters.
    if (messageShown) {
        const long half = static_cast<long>(message.size() / 2);
        const int left = clampedLeft(width / 2 - glyphSize * half);
        screen.drawText(message.c_str(), static_cast<float>(left),
                        static_cast<float>(height / 2 - glyphSize / 2), glyphSize, glyphSize);
    }

    // Right-aligned in the top right corner, over the weapon bar's row.
    if (variables["fps"] != 0 && fps != 0.0f) {
        const int left = clampedLeft(width - glyphSize * static_cast<long>(fpsText.size()));
        screen.drawText(fpsText.c_str(), static_cast<float>(left),
                        static_cast<float>(height - glyphSize), glyphSize, glyphSize);
    }

    // The title image covers everything so far; menu and console stay above it.
    if (splashVisible) {
        screen.bindTexture(splashTexture);
        screen.drawQuad(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height));
        // A mark like the tanks' colours: "marks" 0 leaves the plain frame.
        if (variable("menu") == 0 && variable("marks") != 0)
            drawTitlePrompt(screen, fontTexture, width);
    }
    screen.bindTexture(fontTexture);
    if (variables["menu"] != 0 && currentMenu >= 0 &&
        static_cast<std::size_t>(currentMenu) < menus.size())
        screen.drawMenu(menus[currentMenu]);
    if (consoleOpen)
        screen.drawConsole(console);
    // The lobby of a networked game, under the weapon bar on the left.
    float lobbyTop = static_cast<float>(height - iconSize - glyphSize);
    for (const std::string& line : networkLines()) {
        screen.bindTexture(fontTexture);
        screen.drawText(line.c_str(), 0.0f, lobbyTop, glyphSize, glyphSize);
        lobbyTop -= glyphSize;
    }
    // A replay's word about itself, or the network's, centred under the weapon
    // bar's row, clear of the heads-up block and the message, over everything.
    const std::string& shown = notice.empty() ? networkNotice : notice;
    if (!shown.empty()) {
        const long half = static_cast<long>(shown.size() / 2);
        screen.bindTexture(fontTexture);
        screen.drawText(shown.c_str(),
                        static_cast<float>(clampedLeft(width / 2 - glyphSize * half)),
                        static_cast<float>(height - iconSize - 2 * glyphSize), glyphSize,
                        glyphSize);
    }
    screen.setDepthTest(true);
}
