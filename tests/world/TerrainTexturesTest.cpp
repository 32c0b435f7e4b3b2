#include "world/Terrain.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>
#include <vector>

// Fake texture names: 100 + slot for tiles 00 to 04, 110 + slot for 10 to 14 and
// 120 + slot for the last band, so every slot of every band is told apart.
namespace {

constexpr std::uint32_t tile00 = 100, tile01 = 101, tile02 = 102, tile03 = 103, tile04 = 104;
constexpr std::uint32_t tile10 = 110, tile11 = 111, tile12 = 112;
constexpr std::uint32_t tile20 = 120;

std::vector<TerrainBand> gameBands() {
    return {TerrainBand{0.4f, {100, 101, 102, 103, 104}},
            TerrainBand{0.55f, {110, 111, 112, 113, 114}},
            TerrainBand{1.0f, {120, 121, 122, 123, 124}}};
}

Terrain plain(std::uint32_t size, float height) {
    Terrain terrain(size, size, 200.0f, 200.0f, 200.0f);
    terrain.setBands(gameBands());
    for (std::uint32_t j = 0; j < size; ++j)
        for (std::uint32_t i = 0; i < size; ++i)
            terrain.cells().at(i, j).height = height;
    return terrain;
}

void assignAll(Terrain& terrain) {
    terrain.assignTextures(0, 0, terrain.width() - 1, terrain.height() - 1);
}

struct Tile {
    std::uint32_t texture;
    std::int32_t orientation;
};

Tile tileAt(const Terrain& terrain, std::uint32_t i, std::uint32_t j) {
    const TerrainCell& cell = terrain.cells().at(i, j);
    return {cell.texture, cell.orientation};
}

void expectTile(const Terrain& terrain, std::uint32_t i, std::uint32_t j, Tile expected) {
    const Tile got = tileAt(terrain, i, j);
    EXPECT_EQ(got.texture, expected.texture) << "cell " << i << ", " << j;
    EXPECT_EQ(got.orientation, expected.orientation) << "cell " << i << ", " << j;
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
        assignAll(terrain);
        for (std::uint32_t j = 0; j < 5; ++j)
            for (std::uint32_t i = 0; i < 5; ++i)
                expectTile(terrain, i, j, {c.texture, 0});
    }
}

TEST(TerrainTexturesTest, OneLoweredPointGetsTransitionsFacingIt) {
    Terrain terrain = plain(12, 0.5f);
    terrain.cells().at(5, 5).height = 0.0f; // cells (4..5, 4..5) now average 0.375
    assignAll(terrain);

    const std::vector<std::pair<std::pair<int, int>, Tile>> expected = {
        // the block around the lowered point
        {{4, 4}, {tile00, 0}},
        {{5, 4}, {tile00, 0}},
        {{4, 5}, {tile00, 0}},
        {{5, 5}, {tile00, 0}},
        // edge tiles: the lower-band edge faces the block
        {{3, 4}, {tile02, 1}},
        {{3, 5}, {tile02, 1}}, // block at higher x: corners D, C
        {{6, 4}, {tile02, 3}},
        {{6, 5}, {tile02, 3}}, // block at lower x: corners A, B
        {{4, 3}, {tile02, 2}},
        {{5, 3}, {tile02, 2}}, // block at higher z: corners B, C
        {{4, 6}, {tile02, 0}},
        {{5, 6}, {tile02, 0}}, // block at lower z: corners A, D
        // corner tiles: the marked corner touches the block
        {{3, 3}, {tile01, 1}}, // C
        {{6, 3}, {tile01, 2}}, // B
        {{3, 6}, {tile01, 0}}, // D
        {{6, 6}, {tile01, 3}}, // A
    };
    for (std::uint32_t j = 0; j < 11; ++j)
        for (std::uint32_t i = 0; i < 11; ++i) {
            Tile want{tile10, 0};
            for (const auto& e : expected)
                if (e.first.first == static_cast<int>(i) && e.first.second == static_cast<int>(j))
                    want = e.second;
            expectTile(terrain, i, j, want);
        }
}

TEST(TerrainTexturesTest, OppositeAndThreeCornerTransitions) {
    // Each lowered point makes a 2 x 2 block of tile 00 that touches cell (5, 5) at
    // one corner only: point (4, 4) at A, (7, 7) at C, (4, 7) at B, (7, 4) at D.
    struct Case {
        const char* name;
        std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> lowered;
        Tile expected;
    };
    const Case cases[] = {
        {"A", {{4, 4}}, {tile01, 3}},
        {"A C", {{4, 4}, {7, 7}}, {tile04, 1}},
        {"B D", {{4, 7}, {7, 4}}, {tile04, 0}},
        {"A B C", {{4, 4}, {4, 7}, {7, 7}}, {tile03, 0}},
        {"B C D", {{4, 7}, {7, 7}, {7, 4}}, {tile03, 3}},
        {"A B C D", {{4, 4}, {4, 7}, {7, 7}, {7, 4}}, {tile00, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Terrain terrain = plain(12, 0.5f);
        for (const auto& p : c.lowered)
            terrain.cells().at(p.first, p.second).height = 0.0f;
        assignAll(terrain);
        expectTile(terrain, 5, 5, c.expected);
    }
}

TEST(TerrainTexturesTest, CellOfAHigherBandEnclosedByLowGroundTakesTheLowerFullTile) {
    // Cell (5, 5) averages 0.45 (band 10 on its own); its eight neighbours stay
    // below 0.4, so all four of its corners are marked in the second pass.
    Terrain terrain = plain(12, 0.3f);
    for (std::uint32_t j : {5u, 6u})
        for (std::uint32_t i : {5u, 6u})
            terrain.cells().at(i, j).height = 0.45f;
    assignAll(terrain);
    expectTile(terrain, 5, 5, {tile00, 0});
    expectTile(terrain, 4, 5, {tile00, 0});
}

TEST(TerrainTexturesTest, SecondBandTransitionsSurroundTheFirstBandsOnes) {
    // A wide dip in high ground: tile 00 in the middle, 0x transitions around it,
    // then 1x transitions around those, and tile 20 beyond.
    Terrain terrain = plain(16, 0.9f);
    for (std::uint32_t j = 6; j <= 10; ++j)
        for (std::uint32_t i = 6; i <= 10; ++i)
            terrain.cells().at(i, j).height = 0.2f;
    assignAll(terrain);
    // The 4 x 4 block of cells (6..9, 6..9) averages 0.2: tile 00.
    expectTile(terrain, 7, 7, {tile00, 0});
    // Cells (5, 6..9) touch it on one edge but average (0.9 + 0.9 + 0.2 + 0.2) / 4 =
    // 0.55, so they are not band 10: they take the edge tile 02 in pass 2.
    expectTile(terrain, 5, 7, {tile02, 1});
    // Cell (4, 7) touches those transitions on its high-x edge: edge tile 12.
    expectTile(terrain, 4, 7, {tile12, 1});
    expectTile(terrain, 3, 7, {tile20, 0});
    expectTile(terrain, 4, 4, {tile11, 1});
}

TEST(TerrainTexturesTest, LastRowAndColumnAreTiledOnceThenKept) {
    // Flat band-10 ground. In the first run the never-cleared last row and column
    // take edge tiles of band 10 facing the drawn cells, and the far corner a
    // one-corner tile; a second run keeps them as they are.
    Terrain terrain = plain(4, 0.5f);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        assignAll(terrain);
        for (std::uint32_t k = 0; k < 3; ++k) {
            expectTile(terrain, 3, k, {tile12, 3}); // drawn cells at lower x: A, B
            expectTile(terrain, k, 3, {tile12, 0}); // drawn cells at lower z: A, D
            for (std::uint32_t i = 0; i < 3; ++i)
                expectTile(terrain, i, k, {tile10, 0});
        }
        expectTile(terrain, 3, 3, {tile11, 3});
    }
}

TEST(TerrainTexturesTest, NoBandsLeaveEveryCellUntextured) {
    Terrain terrain(5, 5, 200.0f, 200.0f, 200.0f);
    terrain.cells().at(1, 1).texture = 7;
    assignAll(terrain);
    for (std::uint32_t j = 0; j < 4; ++j)
        for (std::uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(terrain.cells().at(i, j).texture, 0u);
}
