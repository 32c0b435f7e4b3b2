#pragma once
#include "world/Vector3.h"
#include "world/World.h"
#include "world/WorldEvents.h"
#include <cstdint>
#include <list>
#include <map>
#include <vector>

class Object;
class TankObject;

// What the frame needs, beyond the world itself, to make a battle easy to follow:
// each player's colour, the recent path of every flying shell and the bursts that
// just went off. It hears the world's events first and passes each one on to the
// listener it was given (the sound), so the world still has a single listener.
// Everything ages with the game's updates, never with the wall clock, so the
// same updates always leave the same marks.
class BattleMarks : public WorldEvents {
public:
    // `next` must outlive this object.
    explicit BattleMarks(WorldEvents& next);

    void exploded(const Vector3& centre, float radius) override;
    void split(const Vector3& centre) override;

    // A new game: every old shell and burst is forgotten, and each tank takes the
    // colour of its place in the turn order, which it keeps until the next game.
    void startGame(const std::list<TankObject*>& tanks);
    // After the physics of an update: ages the marks by the update's time and
    // follows every shell still flying. `objects` must be in creation order, as
    // the world's list is.
    void update(const ObjectList& objects, float dtSeconds);

    // The colour of a player's tank, white for one that was not there at the start.
    Vector3 colourOf(const Object& tank) const;
    // The colour of the place-th player (from 0): clearly different hues first.
    static Vector3 playerColour(int place);

    struct Trail {
        std::uint32_t shellId;
        std::vector<Vector3> points; // oldest first; the last is where the shell is
        std::vector<float> ages;     // seconds since each point was left behind
    };
    struct Flash {
        Vector3 centre;
        float radius;              // the burst's, world units
        float age = 0.0f;          // seconds since it went off
        bool newThisUpdate = true; // not aged by the update in which it went off
    };
    const std::vector<Trail>& trails() const { return shellTrails; }
    const std::vector<Flash>& flashes() const { return bursts; }

    static constexpr float trailSeconds = 0.4f;   // how far back a trail reaches
    static constexpr float sampleSeconds = 0.05f; // the spacing of a trail's points: a gentle curve
    static constexpr float flashSeconds = 0.25f;  // how long a burst's flash lasts

private:
    WorldEvents& next;
    std::map<std::uint32_t, int> places; // tank id to its place at the start
    std::vector<Trail> shellTrails;      // in the order of the object list
    std::vector<Flash> bursts;
};
