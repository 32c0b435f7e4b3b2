#include "ContactSheet.h"

#include "FontFace.h"

#include <algorithm>
#include <cmath>

namespace {

const Color sheetBackground = rgb(38, 40, 46);
const Color frameColor = rgb(70, 74, 84);
const Color labelColor = rgb(225, 228, 235);
const Color headingColor = rgb(255, 206, 92);

constexpr int margin = 24;
constexpr int labelHeight = 22;
constexpr int sheetWidth = 1376;

// Nearest-neighbour enlargement: small icons should show their real pixels.
Canvas enlarged(const Canvas& source, int factor) {
    Canvas out(source.width() * factor, source.height() * factor);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            out.at(x, y) = source.at(x / factor, y / factor);
        }
    }
    return out;
}

// Transparent pictures are shown over a checkerboard so their holes show.
Canvas overCheckerboard(const Canvas& source) {
    Canvas out(source.width(), source.height());
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            out.at(x, y) = light ? rgb(150, 150, 150) : rgb(100, 100, 100);
        }
    }
    out.draw(source, 0, 0);
    return out;
}

struct Layout {
    Canvas& sheet;
    FontFace& font;
    int x = margin;
    int y = margin;
    int rowHeight = 0;

    void place(const Canvas& picture, const std::string& label) {
        const int width = std::max(picture.width(), static_cast<int>(font.textWidth(label)));
        if (x + width > sheet.width() - margin) {
            newRow();
        }
        sheet.fillPolygon({{x - 2.0f, y - 2.0f},
                           {x + picture.width() + 2.0f, y - 2.0f},
                           {x + picture.width() + 2.0f, y + picture.height() + 2.0f},
                           {x - 2.0f, y + picture.height() + 2.0f}},
                          frameColor);
        sheet.draw(picture, x, y);
        font.drawText(sheet, label, static_cast<float>(x), y + picture.height() + 17.0f,
                      labelColor);
        rowHeight = std::max(rowHeight, picture.height() + labelHeight + 6);
        x += width + margin;
    }
    void newRow() {
        x = margin;
        y += rowHeight + 8;
        rowHeight = 0;
    }
    void heading(FontFace& headingFont, const std::string& text) {
        if (rowHeight > 0) {
            newRow();
        }
        headingFont.drawText(sheet, text, static_cast<float>(margin), y + 22.0f, headingColor);
        y += 34;
    }
};

} // namespace

void ContactSheet::add(const std::string& name, const Canvas& picture, PixelFormat format) {
    entries.push_back(Entry{name, picture, format});
}

const ContactSheet::Entry* ContactSheet::find(const std::string& name) const {
    for (const Entry& e : entries) {
        if (e.name == name) {
            return &e;
        }
    }
    return nullptr;
}

Canvas ContactSheet::render(FontFace& labelFont, FontFace& titleFont) const {
    // Tall enough for everything, cropped to what was laid out at the end.
    Canvas sheet(sheetWidth, 3600, sheetBackground);
    labelFont.setPixelSize(14, 14);
    titleFont.setPixelSize(20, 20);
    Layout layout{sheet, labelFont};
    const auto shown = [](const Entry& e) {
        return e.format == PixelFormat::Rgba ? overCheckerboard(e.picture) : e.picture;
    };
    const auto place = [&](const std::string& name, int width, int height, const char* note) {
        const Entry* e = find(name);
        if (e != nullptr) {
            layout.place(shown(*e).resized(width, height), name + note);
        }
    };

    layout.heading(titleFont, "Vantrell asset pack");
    place("splashscreen.png", 480, 360, "  (as a 4:3 window shows it)");
    place("font.png", 256, 256, "  (grey, white on black)");
    place("giraffe.png", 256, 256, "");
    layout.newRow();
    place("background.png", 1024, 256, "  (wraps once round the sky)");
    place("fire.png", 256, 256, "");

    layout.heading(titleFont, "Weapon bar (icons 32 x 32, shown 3x)");
    for (const Entry& e : entries) {
        if (e.name.rfind("weapons/", 0) == 0) {
            layout.place(enlarged(e.picture, 3), e.name);
        }
    }
    if (const Entry* selection = find("selection.png")) {
        layout.place(enlarged(overCheckerboard(selection->picture), 3), "selection.png");
        if (const Entry* icon = find("weapons/missile.png")) {
            Canvas selected = icon->picture;
            selected.draw(selection->picture, 0, 0);
            layout.place(enlarged(selected, 3), "selected icon");
        }
    }

    // Small ones are enlarged like the icons, so a facet's pixels show.
    layout.heading(titleFont, "Shell and fireball as the nearest view shows them");
    for (const Entry& e : entries) {
        if (e.name.find(".mesh") != std::string::npos) {
            const bool small = e.picture.width() < 128;
            layout.place(small ? enlarged(e.picture, 4) : e.picture,
                         e.name + (small ? "  (shown 4x)" : ""));
        }
    }

    layout.heading(titleFont, "Terrain tiles (t = 0 at the bottom) and a field laid with them");
    for (const Entry& e : entries) {
        if (e.name.rfind("terrain/", 0) == 0) {
            layout.place(e.picture, e.name);
        }
    }
    layout.newRow();
    layout.place(terrainPreview(), "tiles laid by band and orientation, seen from above");
    layout.newRow();

    // Drawing clips at the sheet's edge; the crop must not read past it either.
    const int height = std::min(layout.y + margin, sheet.height());
    Canvas cropped(sheetWidth, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < sheetWidth; ++x) {
            cropped.at(x, y) = sheet.at(x, y);
        }
    }
    return cropped;
}
