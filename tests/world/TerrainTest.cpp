#include "world/Terrain.h"
#include "support/CaptureStreams.h"
#include "world/Random.h"
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The game's terrain: 64 x 64 vertices over 200 x 200 units, height scale 200.
Terrain gameTerrain() {
    return Terrain(64, 64, 200.0f, 200.0f, 200.0f);
}

void fill(Terrain& terrain, float height) {
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            terrain.cells().at(i, j).height = height;
}

std::vector<float> heights(const Terrain& terrain) {
    std::vector<float> all;
    for (std::uint32_t j = 0; j < terrain.height(); ++j)
        for (std::uint32_t i = 0; i < terrain.width(); ++i)
            all.push_back(terrain.cells().at(i, j).height);
    return all;
}

// Seeds the C generator after the one-time seeding from the clock has happened.
void seed(unsigned value) {
    Random once;
    std::srand(value);
}

void expectNormal(const Terrain& terrain, std::uint32_t i, std::uint32_t j, const Vector3& n) {
    const Vector3& got = terrain.cells().at(i, j).normal;
    EXPECT_NEAR(got.x, n.x, 1e-6f) << i << ", " << j;
    EXPECT_NEAR(got.y, n.y, 1e-6f) << i << ", " << j;
    EXPECT_NEAR(got.z, n.z, 1e-6f) << i << ", " << j;
}

} // namespace

TEST(TerrainTest, ConstructedFlatWithUpwardNormals) {
    const Terrain terrain = gameTerrain();
    EXPECT_EQ(terrain.width(), 64u);
    EXPECT_EQ(terrain.height(), 64u);
    for (std::uint32_t j = 0; j < 64; j += 9)
        for (std::uint32_t i = 0; i < 64; i += 7) {
            EXPECT_EQ(terrain.cells().at(i, j).height, 0.0f);
            EXPECT_EQ(terrain.cells().at(i, j).normal, Vector3(0.0f, 1.0f, 0.0f));
            EXPECT_EQ(terrain.cells().at(i, j).texture, 0u);
        }
}

TEST(TerrainTest, GeneratedRangeIsExactlyLowToHighAndStaysInTheGrid) {
    for (unsigned s : {1u, 2u, 77u, 12345u}) {
        SCOPED_TRACE(s);
        Terrain terrain = gameTerrain();
        seed(s);
        CaptureStreams capture;
        terrain.generate(300, 0.25f, 0.75f);
        // Hills near the far edges would index column or row 64 and be reported.
        EXPECT_EQ(capture.err(), "");
        const std::vector<float> all = heights(terrain);
        float lowest = all[0];
        float highest = all[0];
        for (float h : all) {
            lowest = std::min(lowest, h);
            highest = std::max(highest, h);
        }
        EXPECT_EQ(lowest, 0.25f);
        EXPECT_EQ(highest, 0.75f);
        EXPECT_EQ(terrain.heightAt(0, 0), all[0] * 200.0f);
    }
}

TEST(TerrainTest, SameSeedSameGridOtherSeedOtherGrid) {
    Terrain a = gameTerrain();
    Terrain b = gameTerrain();
    Terrain c = gameTerrain();
    seed(42);
    a.generate(300, 0.25f, 0.75f);
    seed(42);
    b.generate(300, 0.25f, 0.75f);
    seed(43);
    c.generate(300, 0.25f, 0.75f);
    EXPECT_EQ(heights(a), heights(b));
    EXPECT_NE(heights(a), heights(c));
}

TEST(TerrainTest, GenerationWithoutReliefGivesTheLowHeight) {
    // No hills on a flat grid: every squared height is equal, so there is no range
    // to rescale from.
    Terrain terrain(8, 8, 200.0f, 200.0f, 200.0f);
    terrain.generate(0, 0.25f, 0.75f);
    for (float h : heights(terrain))
        EXPECT_EQ(h, 0.25f);
    expectNormal(terrain, 3, 4, Vector3(0.0f, 1.0f, 0.0f));
}

TEST(TerrainTest, RandomRangeCoversLowToHighMinusOne) {
    Random random;
    std::srand(9);
    bool seen[4] = {};
    for (int n = 0; n < 2000; ++n) {
        const int v = random.range(2, 6);
        ASSERT_GE(v, 2);
        ASSERT_LT(v, 6);
        seen[v - 2] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
}

TEST(TerrainTest, NormalsOfFlatAndSlopedGround) {
    Terrain flat = gameTerrain();
    fill(flat, 0.4f);
    flat.recomputeNormals(0, 0, 63, 63);
    for (std::uint32_t j : {0u, 1u, 31u, 63u})
        for (std::uint32_t i : {0u, 1u, 62u, 63u})
            expectNormal(flat, i, j, Vector3(0.0f, 1.0f, 0.0f));

    // A 45 degree ramp rising along x: grid spacing 1, one unit of rise per column.
    Terrain ramp(4, 4, 4.0f, 1.0f, 4.0f);
    for (std::uint32_t j = 0; j < 4; ++j)
        for (std::uint32_t i = 0; i < 4; ++i)
            ramp.cells().at(i, j).height = static_cast<float>(i);
    ramp.recomputeNormals(0, 0, 3, 3);
    const float k = std::sqrt(0.5f);
    for (std::uint32_t j = 0; j < 4; ++j)
        for (std::uint32_t i = 0; i < 4; ++i)
            expectNormal(ramp, i, j, Vector3(-k, k, 0.0f));
}

TEST(TerrainTest, VertexNormalIsTheUnnormalisedMeanOfItsTriangles) {
    // One raised vertex in the middle of a 3 x 3 grid (spacing 1, scale 1): the
    // inner vertex averages six tilted triangles whose sideways parts cancel.
    Terrain bump(3, 3, 3.0f, 1.0f, 3.0f);
    bump.cells().at(1, 1).height = 1.0f;
    bump.recomputeNormals(0, 0, 2, 2);
    const Vector3& n = bump.cells().at(1, 1).normal;
    EXPECT_NEAR(n.x, 0.0f, 1e-6f);
    EXPECT_NEAR(n.z, 0.0f, 1e-6f);
    // Four triangles have the raised vertex and one low edge: normals like
    // (0, 1, 1) / sqrt 2. The two whose diagonal runs through it: (1, 1, -1) / sqrt 3.
    EXPECT_NEAR(n.y, (4.0f * std::sqrt(0.5f) + 2.0f / std::sqrt(3.0f)) / 6.0f, 1e-6f);
}

TEST(TerrainTest, SingleRowHasNoTrianglesAndSaysSo) {
    Terrain row(3, 1, 3.0f, 1.0f, 1.0f);
    CaptureStreams capture;
    row.recomputeNormals(0, 0, 2, 0);
    EXPECT_EQ(capture.out(), "No count\nNo count\nNo count\n");
    EXPECT_EQ(capture.err(), "");
    expectNormal(row, 1, 0, Vector3(0.0f, 0.0f, 0.0f));
}

TEST(TerrainTest, CraterAtGroundLevelLowersTheCentreByTheRadius) {
    Terrain terrain = gameTerrain();
    fill(terrain, 0.5f); // ground at 100
    // Vertex (32, 32) stands at x = z = 100.
    terrain.crater(Vector3(100.0f, 100.0f, 100.0f), 4.0f);
    EXPECT_FLOAT_EQ(terrain.heightAt(32, 32), 96.0f);
    // One spacing (3.125) away the sphere's bottom lies at 100 - sqrt(16 - 3.125^2).
    EXPECT_NEAR(terrain.heightAt(33, 32), 100.0f - std::sqrt(16.0f - 9.765625f), 1e-4f);
    EXPECT_NEAR(terrain.heightAt(32, 31), 100.0f - std::sqrt(16.0f - 9.765625f), 1e-4f);
    // Diagonal neighbours lie outside the sphere's shadow (distance 4.42 > 4).
    EXPECT_EQ(terrain.heightAt(33, 33), 100.0f);
    EXPECT_EQ(terrain.heightAt(34, 32), 100.0f);
    // The pit's normals lean inward.
    EXPECT_LT(terrain.cells().at(33, 32).normal.x, 0.0f);
    EXPECT_GT(terrain.cells().at(31, 32).normal.x, 0.0f);
}

TEST(TerrainTest, CraterBelowTheSurfaceRemovesTheWholeChord) {
    Terrain terrain = gameTerrain();
    fill(terrain, 0.5f);
    terrain.crater(Vector3(100.0f, 80.0f, 100.0f), 4.0f);
    EXPECT_FLOAT_EQ(terrain.heightAt(32, 32), 92.0f);
    EXPECT_NEAR(terrain.heightAt(33, 32), 100.0f - 2.0f * std::sqrt(16.0f - 9.765625f), 1e-4f);
}

TEST(TerrainTest, CraterNeverRaisesNorDigsBelowZero) {
    Terrain terrain = gameTerrain();
    seed(3);
    terrain.generate(300, 0.25f, 0.75f);
    const std::vector<float> before = heights(terrain);
    terrain.crater(Vector3(100.0f, 20.0f, 100.0f), 80.0f);
    const std::vector<float> after = heights(terrain);
    for (std::size_t n = 0; n < after.size(); ++n) {
        EXPECT_LE(after[n], before[n]);
        EXPECT_GE(after[n], 0.0f);
    }
    EXPECT_EQ(terrain.heightAt(32, 32), 0.0f);
}

TEST(TerrainTest, EdgeCratersStayInsideTheGrid) {
    struct Case {
        Vector3 centre;
        float radius;
    };
    for (const Case& c :
         {Case{{0.0f, 100.0f, 0.0f}, 10.0f}, Case{{200.0f, 100.0f, 200.0f}, 10.0f},
          Case{{-30.0f, 100.0f, 230.0f}, 50.0f}, Case{{199.0f, 100.0f, 1.0f}, 32.0f}}) {
        SCOPED_TRACE(c.centre.x);
        Terrain terrain = gameTerrain();
        fill(terrain, 0.5f);
        CaptureStreams capture;
        terrain.crater(c.centre, c.radius);
        EXPECT_EQ(capture.err(), "");
        EXPECT_EQ(capture.out(), "");
        bool lowered = false;
        for (float h : heights(terrain))
            lowered = lowered || h < 0.5f;
        EXPECT_TRUE(lowered);
    }
}
