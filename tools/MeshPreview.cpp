#include "MeshPreview.h"

#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int border = 4; // pixels round the mesh's outline
constexpr float ambient = 0.35f;

struct Corner {
    float x = 0.0f; // pixels, from the left
    float y = 0.0f; // pixels, from the top
    float z = 0.0f; // model units, larger is nearer
    float light = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
};

float edge(const Corner& a, const Corner& b, float x, float y) {
    return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
}

// Repeats as the game's textures do; v = 0 is the picture's bottom row, as the
// game holds pictures.
Color sample(const Canvas& texture, float u, float v) {
    const auto wrap = [](float t, int size) {
        const int i = static_cast<int>(std::floor(t * size)) % size;
        return i < 0 ? i + size : i;
    };
    return texture.at(wrap(u, texture.width()), texture.height() - 1 - wrap(v, texture.height()));
}

} // namespace

Canvas previewMesh(const MeshBuilder& mesh, float pixelsPerUnit, const Canvas& texture,
                   const Color& background) {
    const std::vector<Vec3>& positions = mesh.vertexPositions();
    float extent = 0.0f;
    for (const Vec3& p : positions)
        extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
    const int half = static_cast<int>(std::ceil(extent * pixelsPerUnit)) + border;
    Canvas out(2 * half, 2 * half, background);

    const Vec3 towardLight = normalized({-1.0f, 1.0f, 1.0f});
    std::vector<Corner> corners;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Vec3& p = positions[i];
        const float diffuse = std::max(0.0f, dot(mesh.vertexNormals()[i], towardLight));
        corners.push_back({half + p.x * pixelsPerUnit, half - p.y * pixelsPerUnit, p.z,
                           std::min(1.0f, ambient + (1.0f - ambient) * diffuse),
                           mesh.vertexTexCoords()[2 * i], mesh.vertexTexCoords()[2 * i + 1]});
    }

    // Every triangle, either winding, nearest wins; pixels are sampled at their
    // centres, as the rasteriser does.
    std::vector<float> depth(static_cast<std::size_t>(out.width()) * out.height(),
                             -std::numeric_limits<float>::infinity());
    const std::vector<int>& indices = mesh.triangleIndices();
    for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
        const Corner& a = corners[indices[t]];
        const Corner& b = corners[indices[t + 1]];
        const Corner& c = corners[indices[t + 2]];
        const float area = edge(a, b, c.x, c.y);
        if (area == 0.0f)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int x1 =
            std::min(out.width() - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int y1 =
            std::min(out.height() - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float wa = edge(b, c, px, py) / area;
                const float wb = edge(c, a, px, py) / area;
                const float wc = 1.0f - wa - wb;
                if (wa < 0.0f || wb < 0.0f || wc < 0.0f)
                    continue;
                float& nearest = depth[static_cast<std::size_t>(y) * out.width() + x];
                const float z = wa * a.z + wb * b.z + wc * c.z;
                if (z <= nearest)
                    continue;
                nearest = z;
                const float light = wa * a.light + wb * b.light + wc * c.light;
                const Color colour =
                    sample(texture, wa * a.u + wb * b.u + wc * c.u, wa * a.v + wb * b.v + wc * c.v);
                out.at(x, y) = Color{colour.r * light, colour.g * light, colour.b * light, 1.0f};
            }
        }
    }
    return out;
}
