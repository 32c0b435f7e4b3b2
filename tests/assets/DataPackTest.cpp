// Loads the assembled data/ of the game folder through the game's own readers,
// the way the game core does at start, and checks what the game relies on in
// those files: formats, sizes, the tank's named nodes and where its muzzle
// lies, the tile picture rules, the sky's reach and every menu command.
#include "assets/Image.h"
#include "assets/Matrix4.h"
#include "assets/Menu.h"
#include "assets/Mesh.h"
#include "assets/Skeleton.h"

#include "support/CaptureStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string dataDir = std::string(VANTRELL_GAME_DIR) + "/data/";
const char* const skeletonFiles[] = {"tank.skel", "sphere.skel", "explosion.skel",
                                     "background.skel"};

Skeleton loadedSkeleton(const std::string& name) {
    Skeleton root;
    EXPECT_TRUE(loadSkeleton((dataDir + name).c_str(), root)) << name;
    return root;
}

void collectMeshNames(const Skeleton& node, std::set<std::string>& names) {
    if (!node.meshName.empty()) {
        names.insert(node.meshName);
    }
    for (const Skeleton& child : node.children) {
        collectMeshNames(child, names);
    }
}

Skeleton* findNode(Skeleton& node, const std::string& id) {
    if (node.id == id) {
        return &node;
    }
    for (Skeleton& child : node.children) {
        if (Skeleton* found = findNode(child, id)) {
            return found;
        }
    }
    return nullptr;
}

Mesh loadedMesh(const std::string& name) {
    Mesh mesh;
    CaptureStreams capture;
    EXPECT_TRUE(loadMesh((dataDir + name).c_str(), mesh)) << name;
    const std::string out = capture.out();
    const std::string last = "Mesh loaded.\n";
    EXPECT_TRUE(out.size() >= last.size() &&
                out.compare(out.size() - last.size(), last.size(), last) == 0)
        << name << " printed:\n"
        << out;
    EXPECT_EQ(capture.err(), "") << name;
    return mesh;
}

Image loadedImage(const std::string& name) {
    Image image;
    EXPECT_TRUE(loadImage((dataDir + name).c_str(), image)) << name;
    return image;
}

} // namespace

TEST(DataPack, EverySkeletonLoadsAndEveryMeshItNamesLoadsWithNormalsAndTextureCoordinates) {
    std::set<std::string> meshNames;
    for (const char* file : skeletonFiles) {
        SCOPED_TRACE(file);
        collectMeshNames(loadedSkeleton(file), meshNames);
    }
    EXPECT_GE(meshNames.size(), 4u);
    for (const std::string& name : meshNames) {
        SCOPED_TRACE(name);
        const Mesh mesh = loadedMesh(name);
        ASSERT_FALSE(mesh.vertices.empty());
        EXPECT_EQ(mesh.normals.size(), mesh.vertices.size());
        EXPECT_EQ(mesh.texCoords.size(), mesh.vertices.size());
        ASSERT_FALSE(mesh.indices.empty());
        EXPECT_EQ(mesh.indices.size() % 3, 0u);
        for (const Vector3& n : mesh.normals) {
            ASSERT_NEAR(length(n), 1.0f, 1e-3f) << "normals are unit length";
        }
    }
}

TEST(DataPack, EveryPictureLoadsWithTheBitsTheGameExpectsAndNeedsNoUnpackAlignment) {
    struct Case {
        const char* file;
        int bits;
        int width;
        int height;
    };
    const Case cases[] = {
        {"font.png", 8, 256, 256},
        {"giraffe.png", 24, 128, 128},
        {"fire.png", 24, 256, 256},
        {"selection.png", 32, 32, 32},
        {"background.png", 24, 1024, 256},
        {"splashscreen.png", 24, 512, 512},
        {"weapons/babymissile.png", 24, 32, 32},
        {"weapons/missile.png", 24, 32, 32},
        {"weapons/babynuke.png", 24, 32, 32},
        {"weapons/nuke.png", 24, 32, 32},
        {"weapons/mirv.png", 24, 32, 32},
        {"weapons/deathshead.png", 24, 32, 32},
        {"terrain/00.png", 24, 128, 128},
        {"terrain/01.png", 24, 128, 128},
        {"terrain/02.png", 24, 128, 128},
        {"terrain/03.png", 24, 128, 128},
        {"terrain/04.png", 24, 128, 128},
        {"terrain/10.png", 24, 128, 128},
        {"terrain/11.png", 24, 128, 128},
        {"terrain/12.png", 24, 128, 128},
        {"terrain/13.png", 24, 128, 128},
        {"terrain/14.png", 24, 128, 128},
        {"terrain/20.png", 24, 128, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Image image = loadedImage(c.file);
        EXPECT_EQ(image.bitsPerPixel, c.bits);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(c.width) * c.height * c.bits / 8);
        EXPECT_EQ(image.width * c.bits / 8 % 4, 0) << "rows must need no special alignment";
    }
}

TEST(DataPack, FontHasAGlyphForEveryPrintableCodeInItsCellAndBlackBordersAgainstBleeding) {
    const Image font = loadedImage("font.png");
    ASSERT_EQ(font.width, 256);
    ASSERT_EQ(font.height, 256);
    // Code c's cell is column c % 16 and row c / 16 counted from the top; in
    // memory the picture is held bottom row first.
    const auto texel = [&font](int code, int x, int yFromTop) {
        const int row = 255 - ((code / 16) * 16 + yFromTop);
        return font.pixels[static_cast<std::size_t>(row) * 256 + (code % 16) * 16 + x];
    };
    const auto inkRows = [&](int code, int& top, int& bottom) {
        int ink = 0;
        top = 16;
        bottom = -1;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (texel(code, x, y) > 128) {
                    ++ink;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        return ink;
    };
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        int top = 0, bottom = 0;
        const int ink = inkRows(code, top, bottom);
        if (code > 32 && code < 127) {
            EXPECT_GT(ink, 0) << "printable glyph is blank";
        } else {
            EXPECT_EQ(ink, 0) << "only printable ASCII has glyphs";
        }
        for (int i = 0; i < 16; ++i) {
            ASSERT_EQ(texel(code, i, 0), 0);
            ASSERT_EQ(texel(code, i, 15), 0);
            ASSERT_EQ(texel(code, 0, i), 0);
            ASSERT_EQ(texel(code, 15, i), 0);
        }
    }
    // Upright, not mirrored top to bottom: '_' sits low in its cell, '^' high,
    // and letters share a baseline with descenders below it.
    int top = 0, bottom = 0, hatTop = 0, hatBottom = 0, gTop = 0, gBottom = 0, hTop = 0,
        hBottom = 0;
    inkRows('_', top, bottom);
    inkRows('^', hatTop, hatBottom);
    inkRows('g', gTop, gBottom);
    inkRows('H', hTop, hBottom);
    EXPECT_GE(top, 11);
    EXPECT_LE(hatBottom, 7);
    EXPECT_GT(gBottom, hBottom);
    EXPECT_GE(hBottom - hTop + 1, 8) << "capitals at least 8 pixels tall";
}

TEST(DataPack, TexturesThatRepeatWrapWithoutASeam) {
    // The textures repeat across meshes and cells: the step from the last
    // column back to the first must look like any step between neighbours.
    struct Case {
        const char* file;
        bool wrapsVertically;
    };
    for (const Case& c : {Case{"giraffe.png", true}, Case{"fire.png", true},
                          Case{"terrain/00.png", true}, Case{"terrain/10.png", true},
                          Case{"terrain/20.png", true}, Case{"background.png", false}}) {
        SCOPED_TRACE(c.file);
        const Image image = loadedImage(c.file);
        ASSERT_EQ(image.bitsPerPixel, 24);
        const auto at = [&image](int x, int y, int k) {
            return static_cast<int>(
                image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3 + k]);
        };
        // Mean colour step between columns x and x2 (or rows, when across rows).
        const auto step = [&](int a, int b, bool acrossRows) {
            double sum = 0;
            const int count = acrossRows ? image.width : image.height;
            for (int i = 0; i < count; ++i) {
                for (int k = 0; k < 3; ++k) {
                    sum += acrossRows ? std::abs(at(i, a, k) - at(i, b, k))
                                      : std::abs(at(a, i, k) - at(b, i, k));
                }
            }
            return sum / count;
        };
        for (bool acrossRows : {false, true}) {
            if (acrossRows && !c.wrapsVertically) {
                continue;
            }
            const int size = acrossRows ? image.height : image.width;
            double mean = 0, largest = 0;
            for (int i = 0; i + 1 < size; ++i) {
                const double d = step(i, i + 1, acrossRows);
                mean += d / (size - 1);
                largest = std::max(largest, d);
            }
            const double seam = step(size - 1, 0, acrossRows);
            EXPECT_LE(seam, largest) << (acrossRows ? "top to bottom" : "right to left");
            EXPECT_LT(seam, 3.0 * mean + 1.0) << (acrossRows ? "top to bottom" : "right to left");
        }
    }
}

TEST(DataPack, SelectionFrameIsOpaqueAtItsRimAndClearInItsMiddle) {
    const Image frame = loadedImage("selection.png");
    ASSERT_EQ(frame.bitsPerPixel, 32);
    const auto alpha = [&frame](int x, int y) {
        return frame.pixels[(static_cast<std::size_t>(y) * frame.width + x) * 4 + 3];
    };
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(alpha(i, 0), 255);
        EXPECT_EQ(alpha(0, i), 255);
        EXPECT_EQ(alpha(31, i), 255);
        EXPECT_EQ(alpha(i, 31), 255);
    }
    for (int y = 8; y < 24; ++y) {
        for (int x = 8; x < 24; ++x) {
            ASSERT_EQ(alpha(x, y), 0) << x << ", " << y;
        }
    }
}

TEST(DataPack, TransitionTilesPutTheLowerBandWhereTheOrientationTableExpectsIt) {
    // Corners in texture coordinates: (0, 0), (1, 0), (1, 1), (0, 1). A tile
    // shows the lower band at its marked corners, half way along each edge.
    struct Kind {
        int number;
        bool marked[4];
    };
    const Kind kinds[] = {{1, {true, false, false, false}},
                          {2, {true, true, false, false}},
                          {3, {false, true, true, true}},
                          {4, {true, false, true, false}}};
    const int corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int band = 0; band < 2; ++band) {
        const Image lower = loadedImage("terrain/" + std::to_string(band) + "0.png");
        const Image higher = loadedImage("terrain/" + std::to_string(band + 1) + "0.png");
        const auto mean = [](const Image& image) {
            double sum[3] = {0, 0, 0};
            for (std::size_t i = 0; i < image.pixels.size(); ++i) {
                sum[i % 3] += image.pixels[i];
            }
            const double count = image.pixels.size() / 3.0;
            return std::vector<double>{sum[0] / count, sum[1] / count, sum[2] / count};
        };
        const std::vector<double> lowerMean = mean(lower);
        const std::vector<double> higherMean = mean(higher);
        for (const Kind& kind : kinds) {
            const std::string name =
                "terrain/" + std::to_string(band) + std::to_string(kind.number) + ".png";
            SCOPED_TRACE(name);
            const Image tile = loadedImage(name);
            ASSERT_EQ(tile.bitsPerPixel, 24);
            // Averages a 5 x 5 patch at (s, t); memory row 0 is t = 0.
            const auto isLower = [&](float s, float t) {
                const int cx = std::min(125, std::max(2, static_cast<int>(s * 127)));
                const int cy = std::min(125, std::max(2, static_cast<int>(t * 127)));
                double d[2] = {0, 0};
                for (int y = cy - 2; y <= cy + 2; ++y) {
                    for (int x = cx - 2; x <= cx + 2; ++x) {
                        for (int k = 0; k < 3; ++k) {
                            const double v =
                                tile.pixels[(static_cast<std::size_t>(y) * 128 + x) * 3 + k];
                            d[0] += (v - lowerMean[k]) * (v - lowerMean[k]);
                            d[1] += (v - higherMean[k]) * (v - higherMean[k]);
                        }
                    }
                }
                return d[0] < d[1];
            };
            for (int c = 0; c < 4; ++c) {
                const int n = (c + 1) % 4;
                // Along the edge from corner c to corner n: near each end the
                // band of that end's corner; neighbours see the same.
                for (float f : {0.02f, 0.15f, 0.3f}) {
                    const float sNear = corner[c][0] + (corner[n][0] - corner[c][0]) * f;
                    const float tNear = corner[c][1] + (corner[n][1] - corner[c][1]) * f;
                    EXPECT_EQ(isLower(sNear, tNear), kind.marked[c])
                        << "edge " << c << "-" << n << " at " << f;
                    const float sFar = corner[n][0] + (corner[c][0] - corner[n][0]) * f;
                    const float tFar = corner[n][1] + (corner[c][1] - corner[n][1]) * f;
                    EXPECT_EQ(isLower(sFar, tFar), kind.marked[n])
                        << "edge " << c << "-" << n << " at " << 1 - f;
                }
            }
        }
    }
}

TEST(DataPack, TankHasItsNodesAndItsMuzzleClearsTheTankAtEveryAim) {
    const Skeleton tank = loadedSkeleton("tank.skel");
    Skeleton probe = tank;
    ASSERT_NE(findNode(probe, "turret"), nullptr);
    ASSERT_NE(findNode(probe, "barrel"), nullptr);
    ASSERT_NE(findNode(probe, "tip"), nullptr);

    // The tank is a sphere of radius 3 and a shell one of radius 1: a shell
    // starting at the tip must not touch its own tank.
    constexpr float clearance = 3.0f + 1.0f;
    for (int turret = 0; turret <= 360; turret += 10) {
        for (int barrel = -90; barrel <= 0; barrel += 5) {
            SCOPED_TRACE(::testing::Message() << "turret " << turret << " barrel " << barrel);
            Skeleton aimed = tank;
            findNode(aimed, "turret")->rotate.y = static_cast<float>(turret);
            findNode(aimed, "barrel")->rotate.x = static_cast<float>(barrel);
            Vector3 tip(0, 0, 0);
            ASSERT_TRUE(transformFromNode(aimed, tip, "tip"));
            EXPECT_GT(length(tip), clearance);
            // Shells leave along the barrel: the launch direction the game
            // computes from the two angles runs from the pivot to the tip.
            Vector3 pivot(0, 0, 0);
            ASSERT_TRUE(transformFromNode(aimed, pivot, "barrel"));
            const float yaw = turret * 3.14159265f / 180.0f;
            const float pitch = barrel * 3.14159265f / 180.0f;
            const Vector3 launch(std::sin(yaw) * std::cos(pitch), -std::sin(pitch),
                                 std::cos(yaw) * std::cos(pitch));
            const Vector3 along = tip - pivot;
            const Vector3 unit = along / length(along);
            EXPECT_NEAR(unit.x, launch.x, 1e-4f);
            EXPECT_NEAR(unit.y, launch.y, 1e-4f);
            EXPECT_NEAR(unit.z, launch.z, 1e-4f);
        }
    }
}

TEST(DataPack, TankStandsOnItsTracksAtMinusThreeAndShellsAndFireballsAreUnitSpheres) {
    const Mesh hull = loadedMesh("hull.mesh");
    float lowest = 1e9f;
    for (const Vector3& v : hull.vertices) {
        lowest = std::min(lowest, v.y);
    }
    EXPECT_NEAR(lowest, -3.0f, 1e-3f);
    for (const char* file : {"sphere.skel", "explosion.skel"}) {
        SCOPED_TRACE(file);
        const Skeleton skeleton = loadedSkeleton(file);
        EXPECT_EQ(skeleton.scale, Vector3(1, 1, 1));
        EXPECT_EQ(skeleton.translate, Vector3(0, 0, 0));
        ASSERT_FALSE(skeleton.meshName.empty());
        for (const Vector3& v : loadedMesh(skeleton.meshName).vertices) {
            ASSERT_NEAR(length(v), 1.0f, 1e-3f);
        }
    }
}

TEST(DataPack, SkyEnclosesEveryCameraPlaceAndStaysWithinTheFarPlaneOfALevelView) {
    const Skeleton sky = loadedSkeleton("background.skel");
    const Mesh mesh = loadedMesh(sky.meshName);
    Matrix4 place = localTransform(sky);
    float nearestWall = 1e9f, top = -1e9f, bottom = 1e9f, farthest = 0.0f;
    for (const Vector3& local : mesh.vertices) {
        const Vector3 v = transformPoint(place, local);
        const float fromCentre = std::hypot(v.x - 100.0f, v.z - 100.0f);
        if (fromCentre > 1.0f) {
            nearestWall = std::min(nearestWall, fromCentre);
        }
        top = std::max(top, v.y);
        bottom = std::min(bottom, v.y);
        // The camera stays within x and z 0 to 200; the farthest of those
        // places from a wall point is a field corner.
        for (const float cx : {0.0f, 200.0f}) {
            for (const float cz : {0.0f, 200.0f}) {
                farthest = std::max(farthest, std::hypot(v.x - cx, v.z - cz));
            }
        }
    }
    EXPECT_GT(nearestWall, 141.5f) << "the field's corners lie 141.4 from its centre";
    EXPECT_GT(top, 200.0f) << "the camera climbs to 200";
    EXPECT_LT(bottom, 0.0f);
    EXPECT_LT(farthest, 300.0f) << "the far plane";
    for (const TexCoord& t : mesh.texCoords) {
        EXPECT_GT(t.v, 0.0f) << "exactly 0 or 1 would blend the top and bottom rows";
        EXPECT_LT(t.v, 1.0f);
    }
}

TEST(DataPack, MenusOfferGamesSettingsControlsAndQuitAndEveryCommandIsOneTheGameKnows) {
    std::vector<Menu> menus;
    ASSERT_TRUE(loadMenu((dataDir + "menu.xml").c_str(), menus));
    ASSERT_GE(menus.size(), 3u);
    std::set<std::string> menuIds;
    for (const Menu& menu : menus) {
        menuIds.insert(menu.id);
    }
    EXPECT_EQ(menuIds.size(), menus.size()) << "menu ids are unique";

    const std::set<std::string> variables = {"normals",  "keydump", "wireframe",
                                             "lighting", "menu",    "fps"};
    std::map<std::string, std::set<int>> valuesSet;
    std::set<std::string> executes;
    for (const Menu& menu : menus) {
        SCOPED_TRACE(menu.id);
        EXPECT_FALSE(menu.options.empty());
        EXPECT_LE(menu.options.size() * 32, 480u) << "fits a 640 x 480 window";
        for (const MenuOption& option : menu.options) {
            SCOPED_TRACE(option.label);
            EXPECT_LE(option.label.size() * 32, 640u);
            EXPECT_TRUE(option.choices.empty()) << "a choice never enters the command";
            executes.insert(option.execute);
            std::istringstream line(option.execute);
            std::string command;
            ASSERT_FALSE(option.execute.empty());
            while (std::getline(line, command, ';')) {
                std::istringstream words(command);
                std::string word, name;
                int value = 0;
                words >> word;
                if (word == "set") {
                    ASSERT_TRUE(words >> name >> value) << command;
                    EXPECT_EQ(variables.count(name), 1u) << command;
                    valuesSet[name].insert(value);
                } else if (word == "tanks") {
                    ASSERT_TRUE(words >> value) << command;
                    EXPECT_GE(value, 2);
                } else if (word == "menu") {
                    ASSERT_TRUE(words >> name) << command;
                    EXPECT_EQ(menuIds.count(name), 1u) << command;
                } else {
                    EXPECT_TRUE(word == "terrain" || word == "quit") << command;
                }
            }
        }
    }
    // A game start leaves the menu up: the Esc that closes it also clears the
    // result latch, so the new game's winner is announced.
    for (const char* start : {"terrain;tanks 2", "terrain;tanks 3", "terrain;tanks 4", "quit"}) {
        bool inMain = false;
        for (const MenuOption& option : menus.front().options) {
            inMain = inMain || option.execute == start;
        }
        EXPECT_TRUE(inMain) << "the first menu offers " << start;
    }
    for (const char* setting : {"wireframe", "lighting", "fps", "normals"}) {
        EXPECT_EQ(valuesSet[setting], (std::set<int>{0, 1})) << setting << " on and off";
    }
    EXPECT_EQ(menuIds.count("settings"), 1u);
    EXPECT_EQ(menuIds.count("controls"), 1u);
}
