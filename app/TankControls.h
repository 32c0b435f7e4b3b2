#pragma once
#include <cstdint>
#include <string>

class GameCore;
struct Skeleton;

// The one road by which anybody acts as the tank whose turn it is: a person's
// keys, the computer players, and whoever comes next. Each operation does what
// the matching key does, on the current tank's own nodes, and keeps the
// heads-up texts in step; with no game on, or on a tank without the nodes, it
// does nothing (the velocity and the weapon are the game's, not a tank's, and
// always change). It works on the core's members and calls none of its
// operations, so an actor never reaches the core behind this.
class TankControls {
public:
    explicit TankControls(GameCore& game) : core(game) {}

    // Positive degrees turn the way 'a' does and raise the way 'w' does; the sign
    // of the amount says which key it stands for (-0 is 'd' or 's'), since each
    // key wraps or stops its node its own way.
    void turnTurret(float degrees);
    void raiseBarrel(float degrees);
    // As 'r' (faster) and 'f' (slower) held together or alone, each by `amount`.
    // The velocity is kept within 0 to 100 even when neither is pressed; its text
    // follows only a press.
    void changeVelocity(bool faster, bool slower, float amount);
    // Tab's step through the weapon table.
    void nextWeapon();
    // Space: fires the selected weapon from the current tank's tip, marks what it
    // fired with `shotId` (0: unmarked) so its shooter can follow the shot, and
    // passes the turn. False when nothing was fired; the turn passes all the same.
    bool fire(std::uint32_t shotId = 0);

    // After the current tank changed: its named nodes, and its own aim and health
    // in the heads-up texts.
    void selectTankNodes();

    // The game's launch velocity with its text, and the selected weapon: what one
    // player leaves set for whoever plays next.
    struct Settings {
        float launchVelocity = 0.0f;
        std::string velocityText;
        int weapon = 0; // place in the weapon table
    };
    Settings settings() const;
    void restore(const Settings& saved);

    // How fast held aiming keys move: degrees a second, and velocity units for 'r'
    // and 'f'. The computer aims no faster.
    static constexpr float degreesPerSecond = 90.0f;
    // The whole part of a value (toward zero), as the heads-up texts show it.
    static std::string wholeNumberText(float value);

private:
    // The named node of the current tank's skeleton, or null; never adds an entry.
    Skeleton* node(const char* id) const;

    GameCore& core;
};
