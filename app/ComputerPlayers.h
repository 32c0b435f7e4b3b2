#pragma once
#include "app/TankControls.h"
#include "world/Bracket.h"
#include "world/ShotSolver.h"
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

class PlayerView;

enum class ComputerLevel { easy, normal, hard };

// The tanks the computer plays, and the turn it is playing. It sees the game as
// a player does, through the view, and plays with a person's controls: the
// turret, the barrel and the launch velocity move at the held keys' rate,
// stopping at its aim; it steps to its weapon and fires, so the turn passes as
// after anyone's shot. Tanks are known by id and looked up each update, so a
// death or a new game leaves it nothing to dangle from. The launch velocity and
// the weapon are the game's, not a tank's: what the people left set is put back
// when the turn comes back to one of them.
class ComputerPlayers {
public:
    // "computers N [easy|normal|hard]": the last `count` tanks of the current game
    // become the computer's, at the level `levelWord` names (normal when empty).
    // Returns the console line; a bad count or level changes nothing and the line
    // says why.
    std::string assign(const PlayerView& game, int count, const std::string& levelWord);
    // One more tank for the computer (its machine left a networked game), at
    // the level it plays, or normal when it had no tanks.
    void take(const PlayerView& game, std::uint32_t tankId);
    // Every tank back to people; the turn in progress and all memory dropped but
    // the people's settings, which the next update puts back.
    void clear();
    // Follows the shots it fired and, on a turn of its own and unless `held` (the
    // menu or the console is up), plays on; on a person's turn, first puts back
    // what the people left set. Returns what it announces for the console (a shot
    // and its target), empty when it has nothing to say.
    std::string update(const PlayerView& game, TankControls& controls, float dtSeconds, bool held);

    // Whether the tank whose turn it is belongs to the computer.
    bool playsTurn(const PlayerView& game) const;
    bool plays(std::uint32_t tankId) const;
    // The level's aiming error; nothing else differs between the levels.
    static AimError aimError(ComputerLevel level);

    static constexpr float thinkSeconds = 0.7f;    // from the turn's start to the first move
    static constexpr float tabSeconds = 0.25f;     // between two steps to the next weapon
    static constexpr float settleSeconds = 0.3f;   // from the last step to the shot
    static constexpr float maxWaitSeconds = 15.0f; // for the tanks and its last shot to settle

private:
    enum class Phase { thinking, aiming, choosing, firing, idle };
    struct Turn {
        std::uint32_t tankId = 0; // 0: none in progress
        Phase phase = Phase::thinking;
        float clock = 0.0f; // seconds in this phase, paused time not counted
        std::uint32_t targetId = 0;
        Shot shot;       // the aim, and where it lands
        int weapon = -1; // position in the weapon table
    };
    // A shot in the world, followed until every part of it is gone.
    struct WatchedShot {
        std::uint32_t shotId = 0;
        std::uint32_t shooterId = 0;
        std::uint32_t targetId = 0;
        Vector3 predicted{0.0f, 0.0f, 0.0f};
        Vector3 landingSum{0.0f, 0.0f, 0.0f}; // of its explosions' centres
        int landings = 0;
        std::vector<std::uint32_t> seen; // explosions counted
    };

    std::string play(const PlayerView& game, TankControls& controls, float dtSeconds, bool held);
    void watchShots(const PlayerView& game);
    bool settled(const PlayerView& game) const;
    void plan(const PlayerView& game);
    std::uint32_t chooseTarget(const PlayerView& game) const;
    bool aimStep(const PlayerView& game, TankControls& controls, float dtSeconds) const;
    std::string fire(const PlayerView& game, TankControls& controls);

    std::vector<std::uint32_t> tankIds;
    ComputerLevel currentLevel = ComputerLevel::normal;
    std::mt19937 dice; // its own: the C library's generator makes the terrain
    std::map<std::uint32_t, Bracket> brackets; // by the shooting tank's id
    std::vector<WatchedShot> watched;
    Turn turn;
    // Taken when its turns begin, while a person's setting still stands; none
    // while people play.
    std::optional<TankControls::Settings> peoples;
    std::uint32_t lastShotId = 0;
};
