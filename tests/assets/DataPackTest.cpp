// Loads the assembled data/ of the game folder through the game's own readers,
// the way the game does at start, and checks what the game relies on in those
// files: formats, the tank's named nodes and where its muzzle lies, the closed
// sky, and every menu command. (The sounds load in the audio tests.)
#include "assets/Menu.h"
#include "assets/Mesh.h"
#include "assets/Skeleton.h"
#include "assets/SphereLevels.h"
#include "render/Image.h"
#include "support/TraceCapture.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace {

const std::string dataDir = std::string(VANTRELL_GAME_DIR) + "/data/";

Skeleton* findNode(Skeleton& root, const std::string& id) {
    Skeleton* node = &root;
    while (node != nullptr && node->id != id)
        node = nextTowards(*node, id);
    return node;
}

// Every triangle of the list faces out and sinks at most `deepestFacet` below
// the unit sphere; every edge, by where its ends lie, borders two triangles.
void checkClosedAndRound(const Mesh& mesh, const std::vector<std::uint32_t>& indices,
                         float deepestFacet) {
    using Point = std::array<long, 3>;
    const auto at = [&](std::uint32_t index) {
        const Vector3& v = mesh.vertices[index];
        return Point{std::lround(v.x * 1e4), std::lround(v.y * 1e4), std::lround(v.z * 1e4)};
    };
    std::map<std::pair<Point, Point>, int> edges;
    for (std::size_t t = 0; t < indices.size() / 3; ++t) {
        const std::uint32_t* corner = &indices[3 * t];
        for (int k = 0; k < 3; ++k)
            ++edges[std::minmax(at(corner[k]), at(corner[(k + 1) % 3]))];
        const Vector3& a = mesh.vertices[corner[0]];
        const Vector3 facing = cross(mesh.vertices[corner[1]] - a, mesh.vertices[corner[2]] - a);
        const float sunk = 1.0f - dot(facing, a) / length(facing); // NaN for a sliver
        ASSERT_TRUE(sunk <= deepestFacet) << "triangle " << t << " sunk by " << sunk;
    }
    EXPECT_EQ(
        std::count_if(edges.begin(), edges.end(), [](auto& edge) { return edge.second != 2; }), 0)
        << "edges not shared by two triangles";
}

void collectMeshNames(const Skeleton& node, std::set<std::string>& names) {
    if (!node.meshName.empty())
        names.insert(node.meshName);
    for (const Skeleton& child : node.children)
        collectMeshNames(child, names);
}

} // namespace

// The font is an alpha mask and the selection blends over the icons; every other
// picture is RGB. All 23 are there: 4 skins and screens, font, selection, 6 icons
// and 11 tiles. The four skeletons load, and every mesh they name loads cleanly.
TEST(DataPack, EveryPictureSkeletonAndMeshLoadsAsTheGameReadsIt) {
    std::size_t pictures = 0, skeletons = 0;
    std::set<std::string> meshNames;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dataDir)) {
        const std::string name = entry.path().stem(), type = entry.path().extension();
        Image image;
        Skeleton root;
        if (type == ".png") {
            EXPECT_TRUE(loadImage(entry.path().c_str(), image)) << name;
            EXPECT_EQ(image.bitsPerPixel, name == "font"        ? 8
                                          : name == "selection" ? 32
                                                                : 24)
                << name;
            ++pictures;
        } else if (type == ".skel") {
            EXPECT_TRUE(loadSkeleton(entry.path().c_str(), root)) << name;
            collectMeshNames(root, meshNames);
            ++skeletons;
        }
    }
    EXPECT_EQ(pictures, 23u);
    EXPECT_EQ(skeletons, 4u);
    EXPECT_GE(meshNames.size(), 4u);
    for (const std::string& name : meshNames) {
        Mesh mesh;
        TraceCapture capture;
        EXPECT_TRUE(loadMesh((dataDir + name).c_str(), mesh)) << name;
        EXPECT_EQ(capture.err(), "") << name;
        EXPECT_FALSE(mesh.indices.empty()) << name;
        EXPECT_EQ(mesh.normals.size(), mesh.vertices.size()) << name;
    }
}

// Every edge of the sky, by where its ends lie, borders exactly two triangles: the
// sky has no hole for the black of an empty frame to show through. And it holds
// every place the camera can reach and all ground, from 0 up to 200.
TEST(DataPack, TheSkyIsClosedRoundTheWholeField) {
    Skeleton sky;
    ASSERT_TRUE(loadSkeleton((dataDir + "background.skel").c_str(), sky));
    Mesh mesh;
    TraceCapture quiet;
    ASSERT_TRUE(loadMesh((dataDir + sky.meshName).c_str(), mesh));
    using Point = std::array<long, 3>;
    const auto at = [&](std::uint32_t index) {
        const Vector3& v = mesh.vertices[index];
        return Point{std::lround(v.x * 100), std::lround(v.y * 100), std::lround(v.z * 100)};
    };
    std::map<std::pair<Point, Point>, int> edges;
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3)
        for (int k = 0; k < 3; ++k)
            ++edges[std::minmax(at(mesh.indices[t + k]), at(mesh.indices[t + (k + 1) % 3]))];
    EXPECT_EQ(
        std::count_if(edges.begin(), edges.end(), [](auto& edge) { return edge.second != 2; }), 0)
        << "edges not shared by two triangles";

    float lowest = 1e9f, highest = -1e9f, nearest = 1e9f;
    for (const Vector3& v : mesh.vertices) {
        lowest = std::min(lowest, v.y + sky.translate.y);
        highest = std::max(highest, v.y + sky.translate.y);
        if (std::hypot(v.x, v.z) > 1.0f) // the centres of the lid and the floor
            nearest = std::min(nearest, std::hypot(v.x, v.z));
    }
    EXPECT_LT(lowest, 0.0f);
    EXPECT_GT(highest, 200.0f);
    EXPECT_EQ(sky.translate, Vector3(100, 0, 100));
    EXPECT_GT(nearest * std::cos(3.14159f / 64), std::hypot(100.0f, 100.0f))
        << "a wall between two vertices cuts a corner of the field";
}

// The shell and the fireball are unit spheres the game scales. Each is closed
// (every edge, by where its ends lie, borders two triangles), lit as a ball
// (normals along the radius) and round to the eye: every triangle faces out
// and its plane sinks at most so far below the surface, about 2 pixels at the
// nearest view (24 pixels to a unit of a shell's radius at 10 units, 190 to a
// unit of a baby nuke's fireball at the follow camera's 26 units). A salvo
// draws hundreds of both in one frame, each from the coarsest level its size
// on screen allows, down to the 8 triangles of a sphere 3 pixels in radius.
TEST(DataPack, ShellAndFireballAreRoundClosedUnitSpheresOfFewTriangles) {
    struct Case {
        const char* skeleton;
        std::size_t mostTriangles;
        float deepestFacet;
    };
    for (const Case& c : {Case{"sphere.skel", 128, 0.07f}, Case{"explosion.skel", 2208, 0.01f}}) {
        SCOPED_TRACE(c.skeleton);
        Skeleton node;
        ASSERT_TRUE(loadSkeleton((dataDir + c.skeleton).c_str(), node));
        Mesh mesh;
        TraceCapture quiet;
        ASSERT_TRUE(loadMesh((dataDir + node.meshName).c_str(), mesh));
        const std::size_t triangles = mesh.indices.size() / 3;
        EXPECT_LE(triangles, c.mostTriangles);

        for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
            const Vector3& v = mesh.vertices[i];
            ASSERT_NEAR(length(v), 1.0f, 1e-4f) << "vertex " << i;
            ASSERT_GT(dot(v, mesh.normals[i]), 0.9999f) << "normal " << i;
        }
        // The mesh, and each coarser level drawn where it is small on screen,
        // whose facets sink as deep as their fewer segments make them.
        const SphereLevels levels(mesh);
        ASSERT_GT(levels.segments(), 0) << "the renderer finds no coarser levels";
        ASSERT_FALSE(levels.coarser().empty());
        EXPECT_EQ(levels.coarser().back().indices.size(), 8u * 3u);
        checkClosedAndRound(mesh, mesh.indices, c.deepestFacet);
        for (const SphereLevels::Level& level : levels.coarser()) {
            SCOPED_TRACE(level.segments);
            const float cosine = std::cos(3.14159265f / level.segments);
            checkClosedAndRound(mesh, level.indices, 1.0f - cosine * cosine + 1e-3f);
        }
    }
}

// The tank is a sphere of radius 3 and a shell one of radius 1: a shell starting
// at the tip must not touch its own tank, however it aims.
TEST(DataPack, TankHasItsNodesAndItsMuzzleClearsTheTankAtEveryAim) {
    Skeleton tank;
    ASSERT_TRUE(loadSkeleton((dataDir + "tank.skel").c_str(), tank));
    Skeleton* const turret = findNode(tank, "turret");
    Skeleton* const barrel = findNode(tank, "barrel");
    ASSERT_TRUE(turret != nullptr && barrel != nullptr);
    for (int yaw = 0; yaw < 360; yaw += 10) {
        for (int pitch = -90; pitch <= 0; pitch += 5) {
            turret->rotate.y = static_cast<float>(yaw);
            barrel->rotate.x = static_cast<float>(pitch);
            Vector3 tip(0, 0, 0);
            ASSERT_TRUE(transformFromNode(tank, tip, "tip"));
            EXPECT_GT(length(tip), 3.0f + 1.0f) << "turret " << yaw << " barrel " << pitch;
        }
    }
}

// "set menu" is left out on purpose: only Esc may close the menu, because only
// Esc also clears the last game's latched result. The first menu offers every
// game start, against and among computers too and across machines, then the
// way to the second page (Watch Last Game, Settings and Quit); the result test
// walks it on screen.
TEST(DataPack, EveryMenuCommandIsOneTheGameKnowsAndTheFirstMenuStartsGames) {
    std::vector<Menu> menus;
    ASSERT_TRUE(loadMenu((dataDir + "menu.xml").c_str(), menus));
    ASSERT_FALSE(menus.empty());
    std::vector<std::string> first;
    for (const MenuOption& option : menus.front().options)
        first.push_back(option.execute);
    EXPECT_EQ(first, (std::vector<std::string>{"terrain;tanks 2", "terrain;tanks 3",
                                               "terrain;tanks 4", "terrain;tanks 2;computers 1",
                                               "terrain;tanks 4;computers 4", "host", "join",
                                               "menu more"}));
    const std::set<std::string> variables = {"normals", "keydump", "wireframe", "lighting",
                                             "fps",     "follow",  "marks"},
                                levels = {"easy", "normal", "hard"};
    for (const Menu& menu : menus) {
        for (const MenuOption& option : menu.options) {
            EXPECT_FALSE(option.execute.empty()) << option.label;
            std::istringstream line(option.execute);
            int tanks = 0; // of the game this line starts: computers take some of them
            for (std::string command; std::getline(line, command, ';');) {
                std::istringstream words(command);
                std::string word, name;
                int value = 0;
                words >> word;
                EXPECT_TRUE(word == "terrain" || word == "quit" || command == "replay last" ||
                            command == "host" || command == "join" ||
                            (word == "set" && words >> name >> value && variables.count(name)) ||
                            (word == "tanks" && words >> tanks && tanks >= 2 && tanks <= 4) ||
                            (word == "computers" && words >> value && value >= 1 &&
                             value <= tanks && (!(words >> name) || levels.count(name))) ||
                            (word == "menu" && words >> name &&
                             std::any_of(menus.begin(), menus.end(),
                                         [&](const Menu& to) { return to.id == name; })))
                    << command;
            }
        }
    }
}

// A menu is centred on the window, 32 pixels a line, and the title picture keeps
// its title to the top 112 pixels: eight lines of at most 20 glyphs stay clear of
// it and inside the window. Every page is reached from the first menu, every page
// leads on, and on the pages reached each setting turns both on and off.
TEST(DataPack, MenusFitUnderTheTitleAndReachEverySetting) {
    std::vector<Menu> menus;
    ASSERT_TRUE(loadMenu((dataDir + "menu.xml").c_str(), menus));
    ASSERT_FALSE(menus.empty());
    std::set<std::string> reached, commands;
    std::vector<std::string> toVisit = {menus.front().id};
    while (!toVisit.empty()) {
        const std::string id = toVisit.back();
        toVisit.pop_back();
        if (!reached.insert(id).second)
            continue;
        const auto menu =
            std::find_if(menus.begin(), menus.end(), [&](const Menu& m) { return m.id == id; });
        ASSERT_NE(menu, menus.end()) << id;
        bool leadsOn = false;
        for (const MenuOption& option : menu->options) {
            std::istringstream line(option.execute);
            for (std::string command; std::getline(line, command, ';');) {
                commands.insert(command);
                if (command.rfind("menu ", 0) == 0)
                    toVisit.push_back(command.substr(5));
                leadsOn = leadsOn || command.rfind("menu ", 0) == 0 || command == "quit";
            }
        }
        EXPECT_TRUE(leadsOn) << id << " is a dead end";
    }
    EXPECT_EQ(reached.size(), menus.size()) << "a page no menu leads to";
    for (const Menu& menu : menus) {
        EXPECT_LE(menu.options.size(), 8u) << menu.id << " reaches into the title";
        for (const MenuOption& option : menu.options)
            EXPECT_LE(option.label.size(), 20u) << option.label;
    }
    for (const std::string name : {"follow", "marks", "fps", "lighting", "wireframe", "normals"})
        for (const std::string value : {" 0", " 1"})
            EXPECT_EQ(commands.count("set " + name + value), 1u) << name << value;
}
