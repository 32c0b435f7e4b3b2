#include "Canvas.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

// 4 x 4 samples per pixel: enough for edges that do not step visibly at 1:1.
constexpr int samplesPerAxis = 4;

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

} // namespace

Color mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Color rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f};
}

Canvas::Canvas(int width, int height, const Color& fill)
    : w(width), h(height), pixels(static_cast<std::size_t>(width) * height, fill) {
    assert(width > 0 && height > 0 && "a canvas needs pixels");
}

void Canvas::blend(int x, int y, const Color& color, float coverage) {
    if (x < 0 || y < 0 || x >= w || y >= h) {
        return;
    }
    const float alpha = clamp01(color.a * coverage);
    if (alpha <= 0.0f) {
        return;
    }
    Color& d = at(x, y);
    const float outAlpha = alpha + d.a * (1.0f - alpha);
    if (outAlpha <= 0.0f) {
        d = Color{0.0f, 0.0f, 0.0f, 0.0f};
        return;
    }
    const float keep = d.a * (1.0f - alpha);
    d.r = (color.r * alpha + d.r * keep) / outAlpha;
    d.g = (color.g * alpha + d.g * keep) / outAlpha;
    d.b = (color.b * alpha + d.b * keep) / outAlpha;
    d.a = outAlpha;
}

void Canvas::fillRegion(float x0, float y0, float x1, float y1,
                        const std::function<bool(float, float)>& inside,
                        const std::function<Color(float, float)>& color) {
    const int left = std::max(0, static_cast<int>(std::floor(x0)));
    const int top = std::max(0, static_cast<int>(std::floor(y0)));
    const int right = std::min(w - 1, static_cast<int>(std::ceil(x1)));
    const int bottom = std::min(h - 1, static_cast<int>(std::ceil(y1)));
    constexpr float step = 1.0f / samplesPerAxis;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samplesPerAxis; ++sy) {
                for (int sx = 0; sx < samplesPerAxis; ++sx) {
                    if (inside(x + (sx + 0.5f) * step, y + (sy + 0.5f) * step)) {
                        ++hits;
                    }
                }
            }
            if (hits > 0) {
                blend(x, y, color(x + 0.5f, y + 0.5f),
                      hits / static_cast<float>(samplesPerAxis * samplesPerAxis));
            }
        }
    }
}

void Canvas::fillRegion(float x0, float y0, float x1, float y1,
                        const std::function<bool(float, float)>& inside, const Color& color) {
    fillRegion(x0, y0, x1, y1, inside, [&color](float, float) { return color; });
}

bool insidePolygon(const std::vector<Point>& points, float x, float y) {
    // Even-odd rule: every shape we paint is simple, so it equals non-zero.
    bool in = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
            in = !in;
        }
    }
    return in;
}

void Canvas::fillPolygon(const std::vector<Point>& points, const Color& color) {
    if (points.size() < 3) {
        return;
    }
    float x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    fillRegion(
        x0, y0, x1, y1, [&points](float x, float y) { return insidePolygon(points, x, y); }, color);
}

void Canvas::fillCircle(Point centre, float radius, const Color& color) {
    fillRing(centre, -1.0f, radius, color);
}

void Canvas::fillRing(Point centre, float inner, float outer, const Color& color) {
    const float in2 = inner < 0.0f ? -1.0f : inner * inner;
    const float out2 = outer * outer;
    fillRegion(
        centre.x - outer, centre.y - outer, centre.x + outer, centre.y + outer,
        [&](float x, float y) {
            const float d2 = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y);
            return d2 <= out2 && d2 >= in2;
        },
        color);
}

void Canvas::strokeLine(Point a, Point b, float lineWidth, const Color& color) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) {
        fillCircle(a, lineWidth / 2, color);
        return;
    }
    // A capsule: round ends make joined strokes look like one line.
    const float half = lineWidth / 2;
    fillRegion(
        std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
        std::max(a.y, b.y) + half,
        [&](float x, float y) {
            float t = ((x - a.x) * dx + (y - a.y) * dy) / (length * length);
            t = clamp01(t);
            const float px = a.x + t * dx - x;
            const float py = a.y + t * dy - y;
            return px * px + py * py <= half * half;
        },
        color);
}

void Canvas::draw(const Canvas& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy) {
        for (int sx = 0; sx < source.width(); ++sx) {
            blend(x + sx, y + sy, source.at(sx, sy), 1.0f);
        }
    }
}

Canvas Canvas::resized(int newWidth, int newHeight) const {
    Canvas out(newWidth, newHeight, Color{0.0f, 0.0f, 0.0f, 0.0f});
    const double sx = static_cast<double>(w) / newWidth;
    const double sy = static_cast<double>(h) / newHeight;
    for (int y = 0; y < newHeight; ++y) {
        const double fy0 = y * sy, fy1 = (y + 1) * sy;
        for (int x = 0; x < newWidth; ++x) {
            const double fx0 = x * sx, fx1 = (x + 1) * sx;
            double r = 0, g = 0, b = 0, a = 0, total = 0;
            for (int py = static_cast<int>(fy0); py < std::min<double>(h, std::ceil(fy1)); ++py) {
                const double wy = std::min<double>(py + 1, fy1) - std::max<double>(py, fy0);
                for (int px = static_cast<int>(fx0); px < std::min<double>(w, std::ceil(fx1));
                     ++px) {
                    const double wx = std::min<double>(px + 1, fx1) - std::max<double>(px, fx0);
                    const Color& c = at(px, py);
                    const double weight = wx * wy;
                    // Weighted by alpha so transparent pixels lend no colour.
                    r += c.r * c.a * weight;
                    g += c.g * c.a * weight;
                    b += c.b * c.a * weight;
                    a += c.a * weight;
                    total += weight;
                }
            }
            Color& d = out.at(x, y);
            if (a > 0.0) {
                d = Color{static_cast<float>(r / a), static_cast<float>(g / a),
                          static_cast<float>(b / a), static_cast<float>(a / total)};
            }
        }
    }
    return out;
}
