#pragma once
#include "world/Vector3.h"
#include "world/WorldEvents.h"
#include <AL/alc.h>
#include <cstdint>
#include <string>
#include <vector>

struct Sound;

// The sounds the game plays, one buffer each; bursts by the blast radius they
// are made for.
enum class Cue { launch, burst4, burst8, burst16, burst32, split, death, win, draw };
constexpr int cueCount = 9;

// The one owner of OpenAL state, as the Display is of OpenGL's: the device, the
// context, a buffer per cue and a small pool of sources (voices). It is told
// what happened and where, in world units, and decides what plays, how loud and
// on which voice; it never looks into the world itself. Without a device, or
// without a cue's file, it stays silent and says so once on standard error;
// it never writes to standard output.
class Audio : public WorldEvents {
public:
    // Opens the default device, or stays silent.
    Audio();
    ~Audio() override;
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // Reads every cue's file from `folder` (with its final '/'). Missing or bad
    // files are left out, with one line on standard error for all of them.
    void loadSounds(const std::string& folder);
    // Makes the cue's buffer from a sound; false without a device or samples.
    bool setSound(Cue cue, const Sound& sound);

    // The listener stands at the camera and faces where it looks: the rotation in
    // degrees about x, then y, then z, as the Display's setCamera takes it, so a
    // sound on the left of the picture is heard on the left.
    void setListener(const Vector3& position, const Vector3& rotationDegrees);

    // A shell leaves the barrel at `muzzle`.
    void launch(const Vector3& muzzle);
    // A tank is removed where it stood.
    void death(const Vector3& position);
    // The result is announced: heard inside the head, on a voice of its own that
    // no burst can take.
    void result(bool draw);
    void exploded(const Vector3& centre, float radius) override;
    void split(const Vector3& centre) override;

    // Stops every sound and lets go of the device. The game ends through exit(),
    // which never destroys the core, so an Audio alive then is shut down by the
    // process's exit; OpenAL would otherwise complain of a device left open.
    void shutDown();

    // While muted nothing starts to play: a replay passes silently over what
    // comes before its game.
    void setMuted(bool silent) { muted = silent; }

    bool active() const { return device != nullptr; }
    std::uint32_t buffer(Cue cue) const { return buffers[static_cast<int>(cue)]; }

    // The pool: one voice for the result, the others shared by everything else.
    static constexpr int poolSize = 16;

private:
    // Among the shared voices, which sound may take the place of which.
    enum Priority { launchPriority = 1, splitPriority, burstPriority, deathPriority };

    struct Voice {
        std::uint32_t source = 0;
        int priority = 0;
        std::uint64_t started = 0; // order of starts: the oldest gives way first
    };
    struct Placement {
        Vector3 position;
        float gain;
        float referenceDistance; // world units within which it plays at full gain
        float pitch;
    };

    void open();
    Voice* voiceFor(int priority);
    void play(Cue cue, int priority, const Placement& where);
    void start(Voice& voice, Cue cue, const Placement& where, bool relative);
    float nextPitchVariation();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::uint32_t buffers[cueCount] = {};
    std::vector<Voice> voices; // voices[0] is the result's
    std::uint64_t starts = 0;
    bool muted = false;
};
