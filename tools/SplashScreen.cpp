// The title picture. The game stretches it over the whole 640 x 480 window, so
// it is painted at twice that size in window proportions and then shrunk to a
// 512 x 512 texture, which the stretch turns back into the right shapes. The
// menus are drawn over the middle of the window, up to eight lines of 32 pixels
// (window rows 112 to 368): the title keeps to the top 112 rows, and the middle
// is veiled dark so that white and red letters read over the sunset. The game
// writes its own "Press any key" over the dark hills at the bottom.
#include "FontFace.h"
#include "Noise.h"
#include "PackPictures.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int logicalWidth = 1280; // twice 640 x 480
constexpr int logicalHeight = 960;
constexpr int textureSize = 512;

float hillLine(float x, float base, float height, int period, std::uint32_t seed) {
    const float u = x / logicalWidth;
    return base - height * fractalNoise(u, 0.5f, period, 4, seed);
}

void paintSky(Canvas& canvas) {
    const Color top = rgb(16, 18, 48);
    const Color middle = rgb(58, 40, 92);
    const Color low = rgb(170, 84, 82);
    const Color horizon = rgb(240, 150, 84);
    for (int y = 0; y < logicalHeight; ++y) {
        const float t = y / static_cast<float>(logicalHeight);
        Color c = t < 0.45f  ? mix(top, middle, t / 0.45f)
                  : t < 0.7f ? mix(middle, low, (t - 0.45f) / 0.25f)
                             : mix(low, horizon, std::min(1.0f, (t - 0.7f) / 0.12f));
        for (int x = 0; x < logicalWidth; ++x) {
            canvas.at(x, y) = c;
        }
    }
    // Stars in the dark top half, fewer lower down.
    for (int i = 0; i < 160; ++i) {
        const float x = hashUnit(i, 1, 91u) * logicalWidth;
        const float y = hashUnit(i, 2, 91u) * hashUnit(i, 3, 91u) * logicalHeight * 0.55f;
        const float size = 0.8f + 1.6f * hashUnit(i, 4, 91u);
        const float light = 0.4f + 0.6f * hashUnit(i, 5, 91u);
        canvas.fillCircle({x, y}, size, Color{1.0f, 0.96f, 0.9f, light});
    }
    // A low sun sinking behind the hills.
    canvas.fillCircle({880, 760}, 140, Color{1.0f, 0.7f, 0.4f, 0.12f});
    canvas.fillCircle({880, 760}, 90, Color{1.0f, 0.78f, 0.45f, 0.25f});
    canvas.fillCircle({880, 760}, 56, rgb(255, 214, 140));
}

void paintHills(Canvas& canvas) {
    const auto fillBelow = [&canvas](float base, float height, int period, std::uint32_t seed,
                                     const Color& color) {
        canvas.fillRegion(
            0, base - height - 2, logicalWidth, logicalHeight,
            [=](float x, float y) { return y >= hillLine(x, base, height, period, seed); }, color);
    };
    fillBelow(790, 150, 3, 101u, rgb(92, 50, 86));
    fillBelow(850, 170, 2, 102u, rgb(52, 28, 56));
    fillBelow(920, 120, 4, 103u, rgb(24, 14, 30));
}

Point barrelTip(float x, float baseline) {
    const float a = 35.0f * 3.14159265f / 180.0f;
    return {x + 10.0f + 78.0f * std::cos(a), baseline - 54.0f - 78.0f * std::sin(a)};
}

// A tank in silhouette on the hill line, its barrel raised toward the other.
void paintTank(Canvas& canvas, float x, float baseline, bool facingRight, const Color& color) {
    const float f = facingRight ? 1.0f : -1.0f;
    const auto at = [&](float dx, float dy) { return Point{x + f * dx, baseline + dy}; };
    canvas.fillPolygon(
        {at(-58, 0), at(58, 0), at(66, -12), at(56, -26), at(-56, -26), at(-66, -12)}, color);
    canvas.fillPolygon({at(-46, -26), at(46, -26), at(40, -40), at(-44, -40)}, color);
    canvas.fillPolygon({at(-28, -40), at(22, -40), at(14, -62), at(-22, -62)}, color);
    // Barrel at 35 degrees.
    const Point tip = barrelTip(0, baseline);
    canvas.strokeLine(at(10, -54), {x + f * tip.x, tip.y}, 9.0f, color);
}

// The shell's arc from the left tank's muzzle toward the right tank, caught
// three quarters of the way, its trail fading behind it.
void paintShot(Canvas& canvas, Point muzzle, Point target) {
    constexpr float apex = 330.0f;
    constexpr float shown = 0.74f;
    const auto along = [&](float s) {
        return Point{muzzle.x + s * (target.x - muzzle.x),
                     muzzle.y + s * (target.y - muzzle.y) - apex * 4.0f * s * (1.0f - s)};
    };
    for (int i = 0; i <= 70; ++i) {
        const float s = shown * i / 70.0f;
        canvas.fillCircle(along(s), 1.6f + 2.4f * s / shown,
                          Color{1.0f, 0.9f, 0.7f, 0.1f + 0.6f * s / shown});
    }
    const Point shell = along(shown);
    canvas.fillCircle(shell, 22, Color{1.0f, 0.6f, 0.2f, 0.3f});
    canvas.fillCircle(shell, 9, rgb(255, 236, 190));
}

// A dark veil over the rows the menus use (logical 224 to 736), fading in
// above them behind the subtitle and out below them over the hills, so the sky
// shows through as a calm backdrop rather than a box.
void paintMenuVeil(Canvas& canvas) {
    constexpr float fadeInFrom = 140, fullFrom = 226, fullTo = 730, fadeOutTo = 840;
    const Color veil{0.03f, 0.02f, 0.09f, 0.74f};
    for (int y = static_cast<int>(fadeInFrom); y < static_cast<int>(fadeOutTo); ++y) {
        const float t = std::min({1.0f, (y - fadeInFrom) / (fullFrom - fadeInFrom),
                                  (fadeOutTo - y) / (fadeOutTo - fullTo)});
        const float coverage = t * t * (3.0f - 2.0f * t);
        for (int x = 0; x < logicalWidth; ++x) {
            canvas.blend(x, y, veil, coverage);
        }
    }
}

// Title and subtitle end above logical row 206 (window row 103): the first
// menu line starts at window row 112.
void paintTitle(Canvas& canvas, FontFace& titleFont, FontFace& textFont) {
    const std::string title = "Vantrell";
    titleFont.setPixelSize(150, 150);
    const float width = titleFont.textWidth(title);
    const float x = (logicalWidth - width) / 2.0f;
    const float baseline = 146;
    // Shadow, outline, then the gold face with a light top.
    titleFont.drawText(canvas, title, x + 6, baseline + 8, Color{0.0f, 0.0f, 0.0f, 0.55f});
    for (int i = 0; i < 16; ++i) {
        const float a = i * 3.14159265f / 8.0f;
        titleFont.drawText(canvas, title, x + 4.0f * std::cos(a), baseline + 4.0f * std::sin(a),
                           rgb(40, 18, 10));
    }
    titleFont.drawText(canvas, title, x, baseline, [](float, float y) {
        const float t = std::min(1.0f, std::max(0.0f, (y - 36.0f) / 110.0f));
        return t < 0.5f ? mix(rgb(255, 246, 196), rgb(255, 200, 70), t * 2.0f)
                        : mix(rgb(255, 200, 70), rgb(214, 110, 24), (t - 0.5f) * 2.0f);
    });

    // True for one player against the computer and for sixty-four at one keyboard.
    const std::string tagline = "TURN-BASED ARTILLERY";
    textFont.setPixelSize(30, 30);
    const float tagX = (logicalWidth - textFont.textWidth(tagline)) / 2.0f;
    textFont.drawText(canvas, tagline, tagX + 2, 198, Color{0, 0, 0, 0.6f});
    textFont.drawText(canvas, tagline, tagX, 196, rgb(240, 214, 170));
}

} // namespace

Canvas makeSplashScreen(FontFace& titleFont, FontFace& textFont) {
    Canvas canvas(logicalWidth, logicalHeight);
    paintSky(canvas);
    const float leftGround = hillLine(300, 850, 170, 2, 102u) + 6;
    const float rightGround = hillLine(990, 850, 170, 2, 102u) + 6;
    paintShot(canvas, barrelTip(300, leftGround), {990, rightGround - 40});
    paintHills(canvas);
    paintTank(canvas, 300, leftGround, true, rgb(52, 28, 56));
    paintTank(canvas, 990, rightGround, false, rgb(52, 28, 56));
    paintMenuVeil(canvas);
    paintTitle(canvas, titleFont, textFont);
    return canvas.resized(textureSize, textureSize);
}
