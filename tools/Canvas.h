#pragma once
#include <functional>
#include <vector>

// Straight (not premultiplied) colour, each channel 0 to 1.
struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

Color mix(const Color& a, const Color& b, float t);
Color rgb(int r, int g, int b); // 0 to 255, opaque

// A picture being painted, top row first (the way people and PNG files count),
// with float channels so that layers blend without banding. Shapes are painted
// by supersampled coverage, which keeps small icons and big titles equally smooth.
class Canvas {
public:
    Canvas(int width, int height, const Color& fill = Color{0.0f, 0.0f, 0.0f, 1.0f});

    int width() const { return w; }
    int height() const { return h; }
    Color& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * w + x]; }
    const Color& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * w + x]; }

    // Source-over blend of `color`, its alpha scaled by `coverage`.
    void blend(int x, int y, const Color& color, float coverage);
    // Paints every pixel of the box whose supersamples fall inside; the colour
    // may depend on the position. Coordinates are in pixels, (0, 0) the top left.
    void fillRegion(float x0, float y0, float x1, float y1,
                    const std::function<bool(float, float)>& inside,
                    const std::function<Color(float, float)>& color);
    void fillRegion(float x0, float y0, float x1, float y1,
                    const std::function<bool(float, float)>& inside, const Color& color);
    void fillPolygon(const std::vector<Point>& points, const Color& color);
    void fillCircle(Point centre, float radius, const Color& color);
    void fillRing(Point centre, float inner, float outer, const Color& color);
    void strokeLine(Point a, Point b, float lineWidth, const Color& color);
    // Composites `source` with its top left corner at (x, y).
    void draw(const Canvas& source, int x, int y);

    // Area-weighted resampling; right for shrinking, adequate for slight growth.
    Canvas resized(int newWidth, int newHeight) const;

private:
    int w;
    int h;
    std::vector<Color> pixels;
};

bool insidePolygon(const std::vector<Point>& points, float x, float y);
