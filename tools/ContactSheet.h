#pragma once
#include "Canvas.h"
#include "PngFile.h"
#include <string>
#include <vector>

class FontFace;

// One picture of the whole pack: every image scaled into a labelled frame, and
// a small terrain laid out with the transition tiles the way the game lays
// them, so a seam between tiles shows at a glance.
class ContactSheet {
public:
    void add(const std::string& name, const Canvas& picture, PixelFormat format);
    Canvas render(FontFace& labelFont, FontFace& titleFont) const;

private:
    struct Entry {
        std::string name;
        Canvas picture;
        PixelFormat format;
    };
    const Entry* find(const std::string& name) const;
    Canvas terrainPreview() const;

    std::vector<Entry> entries;
};
