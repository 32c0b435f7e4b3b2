#pragma once
#include "world/Vector3.h"
#include <cstdint>
#include <vector>

class PlayerView;
class Terrain;

// Moves the camera so a player sees the turn: at a turn's start it glides (in
// about a second) behind the current tank, looking over its turret at the field
// it aims at; while a shot flies it keeps its shells in sight, lingers a moment
// on the burst, then goes on to the next shot still flying (shots are followed
// in the order they were fired, by their shot marks) or to the tank whose turn
// it is. A person who takes the camera (a camera key, a drag) keeps it until the
// next turn.
//
// It is driven by the game's updates alone, never by a clock, so the same game
// moves the camera the same way wherever it runs.
class CameraDirector {
public:
    // One update's worth of camera work, after the physics and the keys: moves
    // `position` and `rotation` (the free camera's degrees: x pitch, y yaw)
    // toward the framing of the moment. A person steering the camera (a camera
    // key held) takes it, a new turn or not. False when it left the camera
    // alone: no game on, or a person has it.
    bool update(const PlayerView& view, Vector3& position, Vector3& rotation, float dtSeconds,
                bool personSteers);
    // A person took the camera: leave it alone until the next turn starts.
    void handOver() { handedOver = true; }
    bool handedOverToPerson() const { return handedOver; }

    // Seconds in which the camera covers most of the way to a new framing.
    static constexpr float glideSeconds = 0.25f;
    // How long the camera stays on a burst before going on to the next tank.
    static constexpr float lingerSeconds = 0.75f;

private:
    // Where the camera wants to be and the point it looks at.
    struct Framing {
        Vector3 eye;
        Vector3 target;
    };
    // True while a shot is followed, its shells' centre and heading kept below.
    bool followShot(const PlayerView& view, float dtSeconds);
    static Framing behindTank(const PlayerView& view);
    static Framing behind(const Terrain& terrain, const Vector3& subject, Vector3 ahead, float back,
                          float up, float lookAhead);

    std::uint32_t turnTankId = 0; // the tank whose turn the camera last saw start
    // Marks of the shots seen flying, oldest first; the first is followed.
    std::vector<std::uint32_t> shots;
    bool handedOver = false;
    float lingerLeft = 0.0f;  // seconds still to look at the followed shot's burst
    Vector3 lastShellCentre;  // where the followed shells were last seen
    Vector3 lastShellHeading; // and which way they flew, flattened
};
