// Answers the questions a person would ask of a screenshot of the game, so the
// real-window tests can check pixels without a person. Screenshots are read with
// the game's own loader (truecolour PNG); coordinates below are screen pixels
// with the origin at the top left, as the picture is seen.
//
//   vt_shotcheck covered SHOT            the picture fills the window: no black gaps
//   vt_shotcheck menu TITLE MENU         the menu's new pixels sit in the middle,
//                                        with a red line among white ones
//   vt_shotcheck terrain SHOT            the lower third of the view is ground, not sky
//   vt_shotcheck bands SHOT              sand and grass each show (rock is reported)
//   vt_shotcheck differ A B FRACTION     at least FRACTION of the pixels changed
//   vt_shotcheck noblack SHOT            no pixel below or right of the weapon bar is black
//   vt_shotcheck redline SHOT            a red line of menu text shows; prints its box
//
// Exit status 0 when the answer is yes, 1 when no, 2 on bad use; one line on
// standard output says what was measured either way.
#include "render/Image.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

struct Rgb {
    int r, g, b;
};

struct Shot {
    Image image;
    int channels = 3;

    int width() const { return image.width; }
    int height() const { return image.height; }
    // The loader keeps the bottom row first; y here counts from the top.
    Rgb at(int x, int y) const {
        const std::size_t row = static_cast<std::size_t>(image.height - 1 - y);
        const std::size_t i = (row * image.width + x) * channels;
        return {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
    }
};

bool load(const char* fileName, Shot& shot) {
    if (!loadImage(fileName, shot.image) || shot.image.bitsPerPixel < 24) {
        std::cout << "cannot read " << fileName << " as a truecolour PNG" << std::endl;
        return false;
    }
    shot.channels = shot.image.bitsPerPixel / 8;
    return true;
}

bool isRed(const Rgb& c) {
    return c.r > 150 && c.g < 90 && c.b < 90;
}
bool isBlack(const Rgb& c) {
    return c.r < 8 && c.g < 8 && c.b < 8;
}
bool isSky(const Rgb& c) {
    return c.b > c.r + 40 && c.b > c.g + 10;
}
int difference(const Rgb& a, const Rgb& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// The ground textures under the game's light: sand is warm and yellow, grass
// green, rock a nearly neutral grey. Ratios, not levels, so shading does not matter.
enum class Ground { none, sand, grass, rock };

Ground groundOf(const Rgb& c) {
    const int low = std::min({c.r, c.g, c.b});
    const int high = std::max({c.r, c.g, c.b});
    if (high < 30)
        return Ground::none; // too dark to tell
    if (c.g > c.r * 1.08 && c.g > c.b * 1.3)
        return Ground::grass;
    if (c.r > c.b * 1.4 && c.g > c.b * 1.2 && c.r >= c.g)
        return Ground::sand;
    // Brighter greys are clouds, bluish ones the haze of the sky.
    if (high < low * 1.3 + 8 && high < 190 && c.b <= c.r)
        return Ground::rock;
    return Ground::none;
}

int covered(const Shot& shot) {
    // Cut the window into 32-pixel blocks: a picture stretched over the window
    // leaves none of them empty, the clear colour shows as a black block.
    int emptyBlocks = 0, blocks = 0;
    for (int by = 0; by + 32 <= shot.height(); by += 32)
        for (int bx = 0; bx + 32 <= shot.width(); bx += 32) {
            ++blocks;
            int black = 0;
            for (int y = by; y < by + 32; ++y)
                for (int x = bx; x < bx + 32; ++x)
                    black += isBlack(shot.at(x, y));
            if (black == 32 * 32)
                ++emptyBlocks;
        }
    std::cout << "covered: " << blocks - emptyBlocks << " of " << blocks << " blocks show picture"
              << std::endl;
    return blocks > 0 && emptyBlocks == 0 ? 0 : 1;
}

int menu(const Shot& title, const Shot& withMenu) {
    if (title.width() != withMenu.width() || title.height() != withMenu.height())
        return 2;
    const int w = title.width(), h = title.height();
    int changed = 0, red = 0;
    int left = w, right = -1, top = h, bottom = -1;
    int redTop = h, redBottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb before = title.at(x, y), after = withMenu.at(x, y);
            if (difference(before, after) < 60)
                continue;
            ++changed;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (isRed(after) && !isRed(before)) {
                ++red;
                redTop = std::min(redTop, y);
                redBottom = std::max(redBottom, y);
            }
        }
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    std::cout << "menu: " << changed << " pixels changed in x " << left << ".." << right << ", y "
              << top << ".." << bottom << " (centre " << cx << ", " << cy << "); " << red
              << " turned red in y " << redTop << ".." << redBottom << std::endl;
    const bool centred =
        changed > 200 && std::abs(cx - w / 2.0) <= 64 && std::abs(cy - h / 2.0) <= 64;
    // One red line among others: the red rows are a band no taller than a line
    // of 32-pixel glyphs, and white glyphs changed outside it.
    const bool redLine = red > 50 && redBottom - redTop < 40 && changed > red * 2;
    return centred && redLine ? 0 : 1;
}

// Seen from just above the ground the terrain fills the lower third of the view:
// it shows no sky there (slopes facing away from the light are too dark to tell
// their band, so "not sky" rather than "ground").
int terrain(const Shot& shot) {
    const int w = shot.width(), h = shot.height();
    int sky = 0, pixels = 0;
    for (int y = h - h / 3; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            ++pixels;
            sky += isSky(shot.at(x, y));
        }
    const double ground = 1.0 - sky / double(pixels);
    std::cout << "terrain: lower third " << ground * 100 << "% not sky" << std::endl;
    return ground >= 0.8 ? 0 : 1;
}

// Seen from above, the sand and grass bands each cover a visible part of the
// picture. Rock caps only the highest peaks, whose cells must average above its
// threshold: one landscape shows a wide cap, the next a few tiles or none, so
// its share is reported and not required.
int bands(const Shot& shot) {
    int counts[4] = {0, 0, 0, 0};
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ++counts[static_cast<int>(groundOf(shot.at(x, y)))];
    const double pixels = double(shot.width()) * shot.height();
    const auto share = [&](Ground g) { return counts[static_cast<int>(g)] / pixels; };
    std::cout << "bands: sand " << share(Ground::sand) * 100 << "%, grass "
              << share(Ground::grass) * 100 << "%, rock " << share(Ground::rock) * 100 << "%"
              << std::endl;
    const double least = 0.002; // about a 25 x 25 patch
    return share(Ground::sand) >= least && share(Ground::grass) >= least ? 0 : 1;
}

int differ(const Shot& a, const Shot& b, double fraction) {
    if (a.width() != b.width() || a.height() != b.height())
        return 2;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            changed += difference(a.at(x, y), b.at(x, y)) > 40;
    const double share = changed / double(a.width() * a.height());
    std::cout << "differ: " << share * 100 << "% of the pixels changed" << std::endl;
    return share >= fraction ? 0 : 1;
}

// Nothing of the window may show the clear colour: wherever the camera looks,
// something is drawn. The weapon bar's icons may have black in them, so its
// corner is left out.
int noBlack(const Shot& shot) {
    constexpr int barWidth = 6 * 32, barHeight = 32;
    int black = 0;
    int left = shot.width(), right = -1, top = shot.height(), bottom = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            if (x < barWidth && y < barHeight)
                continue;
            if (!isBlack(shot.at(x, y)))
                continue;
            ++black;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    std::cout << "noblack: " << black << " black pixels";
    if (black > 0)
        std::cout << " in x " << left << ".." << right << ", y " << top << ".." << bottom;
    std::cout << std::endl;
    return black == 0 ? 0 : 1;
}

// The menu draws its selected line in pure red and every other line in white;
// the box of the rows with pure red in them tells which line is selected and
// how long its label is. A few pure red pixels elsewhere (the title's sunset, a
// fire) do not make a row.
int redLine(const Shot& shot) {
    const auto pureRed = [](const Rgb& c) { return c.r > 200 && c.g < 40 && c.b < 40; };
    constexpr int rowMinimum = 8;
    int red = 0;
    int left = shot.width(), right = -1, top = shot.height(), bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        int inRow = 0, rowLeft = shot.width(), rowRight = -1;
        for (int x = 0; x < shot.width(); ++x)
            if (pureRed(shot.at(x, y))) {
                ++inRow;
                rowLeft = std::min(rowLeft, x);
                rowRight = std::max(rowRight, x);
            }
        if (inRow < rowMinimum)
            continue;
        red += inRow;
        left = std::min(left, rowLeft);
        right = std::max(right, rowRight);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    std::cout << "redline: " << red << " red pixels in x " << left << ".." << right << ", y "
              << top << ".." << bottom << std::endl;
    return red > 50 && bottom - top < 40 ? 0 : 1;
}

int usage() {
    std::cerr << "usage: vt_shotcheck covered SHOT | menu TITLE MENU | terrain SHOT | bands SHOT | "
                 "differ A B FRACTION | noblack SHOT | redline SHOT"
              << std::endl;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return usage();
    const std::string question = argv[1];
    Shot first, second;
    if (!load(argv[2], first))
        return 2;
    if (question == "covered" && argc == 3)
        return covered(first);
    if (question == "terrain" && argc == 3)
        return terrain(first);
    if (question == "bands" && argc == 3)
        return bands(first);
    if (question == "noblack" && argc == 3)
        return noBlack(first);
    if (question == "redline" && argc == 3)
        return redLine(first);
    if (question == "menu" && argc == 4)
        return load(argv[3], second) ? menu(first, second) : 2;
    if (question == "differ" && argc == 5)
        return load(argv[3], second) ? differ(first, second, std::atof(argv[4])) : 2;
    return usage();
}
