#include "world/Terrain.h"
#include "WorldTest.h"
#include <initializer_list>
#include <utility>
#include <vector>

// Fake texture names: 100 + slot for tiles 00 to 04, 110 + slot for 10 to 14 and
// 120 + slot for the last band, so every slot of every band is told apart.
namespace {

constexpr std::uint32_t tile00 = 100, tile03 = 103, tile04 = 104;
constexpr std::uint32_t tile10 = 110, tile20 = 120;

using Tile = std::pair<std::uint32_t, std::int32_t>; // texture, orientation
using Point = std::pair<std::uint32_t, std::uint32_t>;

Terrain plain(std::uint32_t size, float height) {
    Terrain terrain(size, size, 200.0f, 200.0f, 200.0f);
    terrain.setBands({TerrainBand{0.4f, {100, 101, 102, 103, 104}},
                      TerrainBand{0.55f, {110, 111, 112, 113, 114}},
                      TerrainBand{1.0f, {120, 121, 122, 123, 124}}});
    fill(terrain, height);
    return terrain;
}

void lowerAndAssign(Terrain& terrain, std::initializer_list<Point> lowered) {
    for (const Point& p : lowered)
        terrain.cells().at(p.first, p.second).height = 0.0f;
    terrain.assignTextures(0, 0, terrain.width() - 1, terrain.height() - 1);
}

Tile tileAt(const Terrain& terrain, std::uint32_t i, std::uint32_t j) {
    return {terrain.cells().at(i, j).texture, terrain.cells().at(i, j).orientation};
}

} // namespace

TEST(TerrainTexturesTest, FlatGroundTakesOneBandsFullTile) {
    struct Case {
        float height;
        std::uint32_t texture;
    };
    // 0.4 is not below the first threshold: the comparison is strict.
    for (const Case& c : {Case{0.3f, tile00}, Case{0.5f, tile10}, Case{0.9f, tile20},
                          Case{0.4f, tile10}, Case{0.55f, tile20}}) {
        SCOPED_TRACE(c.height);
        Terrain terrain = plain(6, c.height);
        lowerAndAssign(terrain, {});
        for (std::uint32_t j = 0; j < 5; ++j)
            for (std::uint32_t i = 0; i < 5; ++i)
                EXPECT_EQ(tileAt(terrain, i, j), Tile(c.texture, 0)) << i << ", " << j;
    }
}

TEST(TerrainTexturesTest, OneLoweredPointGetsTransitionsFacingIt) {
    Terrain terrain = plain(12, 0.5f);
    lowerAndAssign(terrain, {{5, 5}}); // cells (4..5, 4..5) now average 0.375
    // Slot of band 0 and orientation of cells (3..6, 3..6), a row of z a line: tile 00
    // in the block, edge tiles 02 whose lower edge faces it (orientation 1: block at
    // higher x, 3: lower x, 2: higher z, 0: lower z), corner tiles 01 at the corners.
    const char* rows[] = {"11 22 22 12", "21 00 00 23", "21 00 00 23", "10 20 20 13"};
    for (std::uint32_t j = 0; j < 11; ++j)
        for (std::uint32_t i = 0; i < 11; ++i) {
            Tile want(tile10, 0);
            if (i >= 3 && i <= 6 && j >= 3 && j <= 6) {
                const char* cell = rows[j - 3] + 3 * (i - 3);
                want = Tile(tile00 + (cell[0] - '0'), cell[1] - '0');
            }
            EXPECT_EQ(tileAt(terrain, i, j), want) << i << ", " << j;
        }
}

TEST(TerrainTexturesTest, OppositeThreeAndFourCornerTransitions) {
    // Each lowered point makes a 2 x 2 block of tile 00 that touches cell (5, 5) at
    // one corner only: point (4, 4) at A, (7, 7) at C, (4, 7) at B, (7, 4) at D.
    // With all four corners marked the cell takes the lower band's full tile.
    struct Case {
        const char* name;
        std::initializer_list<Point> lowered;
        Tile expected;
    };
    for (const Case& c :
         {Case{"A C", {{4, 4}, {7, 7}}, {tile04, 1}}, Case{"B D", {{4, 7}, {7, 4}}, {tile04, 0}},
          Case{"A B C", {{4, 4}, {4, 7}, {7, 7}}, {tile03, 0}},
          Case{"B C D", {{4, 7}, {7, 7}, {7, 4}}, {tile03, 3}},
          Case{"A B C D", {{4, 4}, {4, 7}, {7, 7}, {7, 4}}, {tile00, 0}}}) {
        SCOPED_TRACE(c.name);
        Terrain terrain = plain(12, 0.5f);
        lowerAndAssign(terrain, c.lowered);
        EXPECT_EQ(tileAt(terrain, 5, 5), c.expected);
    }
}
