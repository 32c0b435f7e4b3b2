#include "world/Terrain.h"
#include "WorldTest.h"
#include "world/Random.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

namespace {

// The game's terrain: 64 x 64 vertices over 200 x 200 units, height scale 200.
Terrain gameTerrain(float ground) {
    Terrain terrain(64, 64, 200.0f, 200.0f, 200.0f);
    fill(terrain, ground);
    return terrain;
}

// Seeds the C generator after the one-time seeding from the clock has happened.
Terrain generated(unsigned seed) {
    Random once;
    std::srand(seed);
    Terrain terrain = gameTerrain(0.0f);
    terrain.generate(300, 0.25f, 0.75f);
    return terrain;
}

std::vector<float> heights(const Terrain& terrain) {
    std::vector<float> all;
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            all.push_back(terrain.cells().at(i, j).height);
    return all;
}

void expectNormals(const Terrain& terrain, const Vector3& n) {
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            EXPECT_NEAR(length(terrain.cells().at(i, j).normal - n), 0.0f, 1e-6f) << i << ", " << j;
}

} // namespace

TEST(TerrainTest, GeneratedGridSpansLowToHighAndRepeatsWithItsSeed) {
    for (unsigned seed : {1u, 77u, 12345u}) {
        SCOPED_TRACE(seed);
        TraceCapture capture;
        const std::vector<float> all = heights(generated(seed));
        // Hills near the far edges would index column or row 64 and be reported.
        EXPECT_EQ(capture.err(), "");
        EXPECT_EQ(*std::min_element(all.begin(), all.end()), 0.25f);
        EXPECT_EQ(*std::max_element(all.begin(), all.end()), 0.75f);
        EXPECT_EQ(heights(generated(seed)), all);
        EXPECT_NE(heights(generated(seed + 1)), all);
    }
}

TEST(TerrainTest, NormalsOfSlopedThenFlatGround) {
    // A 45 degree ramp rising along x: grid spacing 1, one unit of rise per column.
    Terrain terrain(4, 4, 4.0f, 1.0f, 4.0f);
    fill(terrain, 0.0f, 1.0f);
    terrain.recomputeNormals(0, 0, 3, 3);
    expectNormals(terrain, Vector3(-std::sqrt(0.5f), std::sqrt(0.5f), 0.0f));
    fill(terrain, 0.4f);
    terrain.recomputeNormals(0, 0, 3, 3);
    expectNormals(terrain, Vector3(0.0f, 1.0f, 0.0f));
}

// Ground at 100; vertex (32, 32) stands at x = z = 100, the next one 3.125 away. A
// sphere of radius 4 there takes its depth out of the ground; floating, its
// underside is above the ground one spacing away: that stays. No crater raises
// the ground, digs below 0 or reaches past the grid, wherever it is.
TEST(TerrainTest, CratersTakeTheSpheresDepthOutOfTheGroundAndNothingElse) {
    const float halfChord = std::sqrt(16.0f - 3.125f * 3.125f), any = std::nanf("");
    struct Case {
        Vector3 centre;
        float radius, atCentre, next; // heights at (32, 32) and beside it; any: not asked
        bool bottomsOut;              // the sphere reaches below height 0
    };
    for (const Case& c :
         {Case{{100, 100, 100}, 4, 96, 100 - halfChord, false},
          Case{{100, 80, 100}, 4, 92, 100 - 2 * halfChord, false},
          Case{{100, 103, 100}, 4, 99, 100, false}, Case{{100, 20, 100}, 80, any, any, true},
          Case{{0, 100, 0}, 10, any, any, false}, Case{{200, 100, 200}, 10, any, any, false},
          Case{{-30, 100, 230}, 50, any, any, false}, Case{{199, 100, 1}, 32, any, any, false}}) {
        SCOPED_TRACE(testing::Message() << c.centre.x << ", " << c.centre.y << ", " << c.centre.z);
        Terrain terrain = gameTerrain(0.5f);
        TraceCapture capture;
        terrain.crater(c.centre, c.radius);
        EXPECT_EQ(capture.err(), ""); // an index past the grid would be reported
        const std::vector<float> after = heights(terrain);
        const auto [lowest, highest] = std::minmax_element(after.begin(), after.end());
        EXPECT_EQ(*highest, 0.5f); // never raised
        EXPECT_TRUE(*lowest >= 0.0f && *lowest < 0.5f) << *lowest;
        EXPECT_EQ(*lowest == 0.0f, c.bottomsOut);
        if (std::isnan(c.atCentre))
            continue;
        EXPECT_FLOAT_EQ(terrain.heightAt(32, 32), c.atCentre);
        EXPECT_NEAR(terrain.heightAt(33, 32), c.next, 1e-4f);
        EXPECT_NEAR(terrain.heightAt(32, 31), c.next, 1e-4f);
        // Diagonal neighbours lie outside the sphere's shadow (distance 4.42 > 4).
        EXPECT_EQ(terrain.heightAt(33, 33), 100.0f);
        EXPECT_EQ(terrain.heightAt(34, 32), 100.0f);
        EXPECT_LT(terrain.cells().at(33, 32).normal.x, 0.0f); // the pit's sides lean inward
    }
}

// A crater redoes normals and tiles only near it; the result must be, to the bit,
// what passes over the whole grid give: checked against a twin whose grid is
// taken for editing before each crater, which makes it take the whole grid.
TEST(TerrainTest, CratersRedoNormalsAndTilesAsTheWholeGridWould) {
    std::mt19937 dice(3);
    const auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(dice);
    };
    for (bool rough : {false, true}) {
        // Rough ground puts band edges everywhere, so a crater's faint rim changes
        // tiles as far out as they can change.
        Terrain local = generated(5);
        for (std::uint32_t j = 0; rough && j < 64; ++j)
            for (std::uint32_t i = 0; i < 64; ++i)
                local.cells().at(i, j).height = uniform(0.3f, 0.7f);
        local.setBands({TerrainBand{0.4f, {1, 2, 3, 4, 5}}, TerrainBand{0.55f, {6, 7, 8, 9, 10}},
                        TerrainBand{1.0f, {11, 12, 13, 14, 15}}});
        local.recomputeNormals(0, 0, 63, 63);
        local.assignTextures(0, 0, 63, 63);
        Terrain whole = local;
        for (int n = 0; n < 150; ++n) {
            // Anywhere, the edges and beyond included; from shallow to deep.
            const float x = uniform(-20.0f, 220.0f);
            const float z = n % 4 == 0 ? uniform(185.0f, 205.0f) : uniform(-20.0f, 220.0f);
            const auto vertex = [](float w) {
                return std::uint32_t(std::clamp(w / 3.125f, 0.0f, 63.0f));
            };
            const Vector3 centre(x, local.heightAt(vertex(x), vertex(z)) + uniform(-10.0f, 5.0f),
                                 z);
            const float radius = uniform(1.0f, 33.0f);
            local.crater(centre, radius);
            whole.cells();
            whole.crater(centre, radius);
            const Matrix<TerrainCell>& a = std::as_const(local).cells();
            const Matrix<TerrainCell>& b = std::as_const(whole).cells();
            for (std::uint32_t q = 0; q < 64; ++q)
                for (std::uint32_t p = 0; p < 64; ++p)
                    ASSERT_EQ(std::memcmp(&a.at(p, q), &b.at(p, q), sizeof(TerrainCell)), 0)
                        << n << ": " << p << ", " << q;
        }
    }
}
