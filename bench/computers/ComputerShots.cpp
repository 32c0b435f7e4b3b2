// How many shots the computer needs to kill a tank that never fires back, per
// level, over seeded games: "terrain;tanks 2;computers 1 LEVEL" on flat ground
// with the C generator seeded 1, 2, ... before the terrain, Player 1 standing still (its
// turret taken off, so its Space passes the turn), Player 2 the computer. The
// real game core runs on the tests' recording fake of OpenGL and GLUT, updated at
// 60 frames a second of game time, from the game folder so the tank is the real
// one.
//   computer_shots [games]      (default 50; run from anywhere)
#include "app/KeyCodes.h"
#include "support/GameCorePeer.h"
#include "world/Random.h"
#include "world/TankObject.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr float frameSeconds = 1.0f / 60.0f;
constexpr float giveUpSeconds = 30.0f * 60.0f; // of game time
constexpr int giveUpShots = 40;

int computerShots(GameCorePeer& game) {
    int shots = 0;
    for (const std::string& line : game.console.lines())
        if (line.find("(computer, ") != std::string::npos)
            ++shots;
    return shots;
}

// The computer's shots until Player 1 dies; giveUpShots + 1 when it does not.
int playOne(GameCore& core, unsigned seed, const std::string& level) {
    // New ground is raised on the old, and the first was seeded from the clock:
    // each game starts from flat ground so its seed alone makes its terrain.
    Random once; // the one seeding from the clock happens before ours
    GameCorePeer game(core);
    for (std::uint32_t i = 0; i < game.terrain.width(); ++i)
        for (std::uint32_t j = 0; j < game.terrain.height(); ++j)
            game.terrain.cells().at(i, j).height = 0.0f;
    std::srand(seed);
    game.console = Console(); // count this game's lines only
    core.processCommands("terrain;tanks 2;computers 1 " + level);
    game.variables["menu"] = 0;
    TankObject* const still = game.tanks.front();
    still->skeleton.children.clear();
    core.selectTankNodes();
    for (float t = 0.0f; t < giveUpSeconds; t += frameSeconds) {
        core.update(frameSeconds);
        if (game.tanks.size() < 2 || game.tanks.front() != still)
            return computerShots(game);
        if (computerShots(game) > giveUpShots)
            break;
        if (*game.currentTank == still) {
            core.keyboard(keys::space, true, 0);
            core.keyboard(keys::space, false, 0);
        }
    }
    return giveUpShots + 1;
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    std::filesystem::current_path(VANTRELL_GAME_DIR);
    std::vector<std::string> report;
    {
        // The games' trace lines are not the report.
        const TraceSink::Listen quiet([](TraceSink::Stream, const std::string&) {}, true);
        GameCore core;
        for (const char* level : {"easy", "normal", "hard"}) {
            std::vector<int> shots;
            for (int seed = 1; seed <= games; ++seed)
                shots.push_back(playOne(core, static_cast<unsigned>(seed), level));
            double sum = 0.0;
            for (int n : shots)
                sum += n;
            std::sort(shots.begin(), shots.end());
            char line[160];
            std::snprintf(line, sizeof line,
                          "%-6s mean %.2f shots to kill over %d games (fewest %d, median %d, "
                          "most %d)",
                          level, sum / games, games, shots.front(), shots[shots.size() / 2],
                          shots.back());
            report.push_back(line);
        }
    }
    for (const std::string& line : report)
        std::cout << line << std::endl;
    return 0;
}
