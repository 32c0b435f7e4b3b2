// The game's sound. Sources are placed in world units and heard from the
// camera, with OpenAL's clamped inverse distance law: full gain within a
// sound's reference distance, half at twice it, and so on; a big blast has a
// large reference distance, so it carries across the 200-unit field while a
// launch fades. The pool is small and fixed: a voice that finished is taken
// first, then the oldest of the least important, never a more important one,
// so a salvo of bursts cannot silence a death, and the result has a voice of
// its own.
#include "audio/Audio.h"
#include "assets/Sound.h"
#include "assets/TraceSink.h"

#include <AL/al.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

namespace {

struct CueFile {
    Cue cue;
    const char* name;
};
constexpr CueFile cueFiles[cueCount] = {
    {Cue::launch, "launch.wav"},   {Cue::burst4, "burst4.wav"},   {Cue::burst8, "burst8.wav"},
    {Cue::burst16, "burst16.wav"}, {Cue::burst32, "burst32.wav"}, {Cue::split, "split.wav"},
    {Cue::death, "death.wav"},     {Cue::win, "win.wav"},         {Cue::draw, "draw.wav"},
};

// Beyond this a sound grows no quieter: across the whole field a Nuke is heard.
constexpr float maxDistance = 400.0f;
constexpr float resultGain = 0.6f;

// OpenAL Soft, and the ALSA library it may load, report on standard error every
// backend they try and fail. The game says what matters in one line of its own,
// so their lines are swallowed while the device is opened, unless someone asked
// for OpenAL's log (ALSOFT_LOGLEVEL set).
class QuietStandardError {
public:
    QuietStandardError() {
        if (std::getenv("ALSOFT_LOGLEVEL") != nullptr)
            return;
        std::cerr.flush();
        std::fflush(stderr);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nowhere < 0)
            return;
        saved = ::dup(STDERR_FILENO);
        if (saved >= 0)
            ::dup2(nowhere, STDERR_FILENO);
        ::close(nowhere);
    }
    ~QuietStandardError() {
        if (saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved = -1;
};

// The Audio that exit() must shut down, if any; there is one per game.
Audio* openAudio = nullptr;

void shutDownAtExit() {
    if (openAudio != nullptr)
        openAudio->shutDown();
}

// Row `row` of Rx(x) * Ry(y) * Rz(z), the rotation the Display's camera applies.
Vector3 cameraRow(const Vector3& degrees, int row) {
    constexpr double toRadians = 3.14159265358979323846 / 180.0;
    const double a = degrees.x * toRadians, b = degrees.y * toRadians, c = degrees.z * toRadians;
    const double rx[3][3] = {
        {1, 0, 0}, {0, std::cos(a), -std::sin(a)}, {0, std::sin(a), std::cos(a)}};
    const double ry[3][3] = {
        {std::cos(b), 0, std::sin(b)}, {0, 1, 0}, {-std::sin(b), 0, std::cos(b)}};
    const double rz[3][3] = {
        {std::cos(c), -std::sin(c), 0}, {std::sin(c), std::cos(c), 0}, {0, 0, 1}};
    double xy[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m)
            xy[k] += rx[row][m] * ry[m][k];
    double out[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m)
            out[k] += xy[m] * rz[m][k];
    return Vector3(static_cast<float>(out[0]), static_cast<float>(out[1]),
                   static_cast<float>(out[2]));
}

// How the listener's head is turned, as OpenAL takes it: unit vectors in world
// coordinates along the line of sight, then toward the top of the head. The
// camera maps a world direction d to eye space by R d; the eye looks along -z
// with +y up, so in the world it looks along -(third row of R) and its up is the
// second row (R is a rotation: its inverse is its transpose).
void listenerOrientation(const Vector3& rotationDegrees, ALfloat orientation[6]) {
    const Vector3 back = cameraRow(rotationDegrees, 2);
    const Vector3 up = cameraRow(rotationDegrees, 1);
    const ALfloat values[6] = {-back.x, -back.y, -back.z, up.x, up.y, up.z};
    std::copy(values, values + 6, orientation);
}

} // namespace

Audio::Audio() {
    open();
}

Audio::~Audio() {
    shutDown();
}

void Audio::open() {
    bool opened = false;
    {
        QuietStandardError quiet;
        device = alcOpenDevice(nullptr);
        opened = device != nullptr;
        if (opened) {
            context = alcCreateContext(device, nullptr);
            if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
                if (context != nullptr)
                    alcDestroyContext(context);
                context = nullptr;
                alcCloseDevice(device);
                device = nullptr;
            }
        }
    }
    if (!opened) {
        ErrorLine() << "Sound: no audio device could be opened; playing without sound.";
        return;
    }
    if (device == nullptr) {
        ErrorLine() << "Sound: the audio device could not be set up; playing without sound.";
        return;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);

    // One at a time: a device with fewer voices gives what it has.
    alGetError();
    while (voices.size() < static_cast<std::size_t>(poolSize)) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            break;
        alSourcef(source, AL_ROLLOFF_FACTOR, 1.0f);
        alSourcef(source, AL_MAX_DISTANCE, maxDistance);
        voices.push_back(Voice{source, 0, 0});
    }
    if (voices.size() < 2) {
        shutDown();
        ErrorLine() << "Sound: the audio device has no voices to spare; playing without sound.";
        return;
    }
    static bool exitHandled = false;
    if (!exitHandled)
        exitHandled = std::atexit(shutDownAtExit) == 0;
    openAudio = this;
}

void Audio::shutDown() {
    if (openAudio == this)
        openAudio = nullptr;
    if (device == nullptr)
        return;
    for (const Voice& voice : voices) {
        alSourceStop(voice.source);
        alDeleteSources(1, &voice.source);
    }
    voices.clear();
    for (std::uint32_t& name : buffers) {
        if (name != 0)
            alDeleteBuffers(1, &name);
        name = 0;
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}

void Audio::loadSounds(const std::string& folder) {
    if (!active())
        return;
    int missing = 0;
    std::string first;
    for (const CueFile& file : cueFiles) {
        const std::string path = folder + file.name;
        Sound sound;
        std::string problem;
        if (loadSound(path.c_str(), sound, problem) && setSound(file.cue, sound))
            continue;
        if (missing++ == 0)
            first = path + (problem.empty() ? " cannot be played" : " " + problem);
    }
    if (missing > 0)
        ErrorLine() << "Sound: " << missing << " of " << cueCount << " sound files missing or bad ("
                    << first << "); playing without them.";
}

bool Audio::setSound(Cue cue, const Sound& sound) {
    if (!active() || sound.samples.empty())
        return false;
    std::uint32_t& name = buffers[static_cast<int>(cue)];
    if (name == 0)
        alGenBuffers(1, &name);
    alGetError();
    alBufferData(name, AL_FORMAT_MONO16, sound.samples.data(),
                 static_cast<ALsizei>(sound.samples.size() * sizeof(std::int16_t)),
                 sound.sampleRate);
    if (alGetError() == AL_NO_ERROR)
        return true;
    alDeleteBuffers(1, &name);
    name = 0;
    return false;
}

void Audio::setListener(const Vector3& position, const Vector3& rotationDegrees) {
    if (!active())
        return;
    ALfloat orientation[6];
    listenerOrientation(rotationDegrees, orientation);
    alListener3f(AL_POSITION, position.x, position.y, position.z);
    alListenerfv(AL_ORIENTATION, orientation);
}

void Audio::launch(const Vector3& muzzle) {
    play(Cue::launch, launchPriority, {muzzle, 0.7f, 15.0f, nextPitchVariation()});
}

void Audio::death(const Vector3& position) {
    play(Cue::death, deathPriority, {position, 0.9f, 25.0f, 1.0f});
}

void Audio::split(const Vector3& centre) {
    play(Cue::split, splitPriority, {centre, 0.8f, 20.0f, 1.0f});
}

// The largest burst the blast reaches picks the file; the radius also sets how
// far it carries. Gains rise with size on top of the files' own loudness.
void Audio::exploded(const Vector3& centre, float radius) {
    const Cue cue = radius >= 32.0f   ? Cue::burst32
                    : radius >= 16.0f ? Cue::burst16
                    : radius >= 8.0f  ? Cue::burst8
                                      : Cue::burst4;
    const float gain = cue == Cue::burst32   ? 1.0f
                       : cue == Cue::burst16 ? 0.85f
                       : cue == Cue::burst8  ? 0.7f
                                             : 0.55f;
    const float reach = 10.0f + 1.5f * std::min(std::max(radius, 0.0f), 64.0f);
    play(cue, burstPriority, {centre, gain, reach, nextPitchVariation()});
}

void Audio::result(bool draw) {
    if (!active())
        return;
    const Cue cue = draw ? Cue::draw : Cue::win;
    if (buffer(cue) == 0)
        return;
    start(voices[0], cue, {Vector3(0.0f, 0.0f, 0.0f), resultGain, 1.0f, 1.0f}, true);
}

// Shells of one salvo burst within moments of each other; five pitches a few
// percent apart, in turn, keep them from ringing as one.
float Audio::nextPitchVariation() {
    return 1.0f + 0.02f * static_cast<float>(static_cast<int>(starts % 5) - 2);
}

void Audio::play(Cue cue, int priority, const Placement& where) {
    if (!active() || buffer(cue) == 0)
        return;
    if (Voice* voice = voiceFor(priority)) {
        voice->priority = priority;
        start(*voice, cue, where, false);
    }
}

// A voice that is not playing; else the oldest of the least important playing
// ones, if that is not more important than the new sound; else none.
Audio::Voice* Audio::voiceFor(int priority) {
    Voice* best = nullptr;
    for (std::size_t i = 1; i < voices.size(); ++i) {
        Voice& voice = voices[i];
        ALint state = AL_STOPPED;
        alGetSourcei(voice.source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            return &voice;
        if (best == nullptr || voice.priority < best->priority ||
            (voice.priority == best->priority && voice.started < best->started))
            best = &voice;
    }
    return best != nullptr && best->priority <= priority ? best : nullptr;
}

void Audio::start(Voice& voice, Cue cue, const Placement& where, bool relative) {
    assert(active() && "a voice plays only while the device is open");
    // Silenced sounds still take their turn in the pitch order, so what is heard
    // after the silence is what was heard then.
    voice.started = ++starts;
    if (muted)
        return;
    const ALuint source = voice.source;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer(cue)));
    alSourcei(source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_POSITION, where.position.x, where.position.y, where.position.z);
    alSourcef(source, AL_GAIN, where.gain);
    alSourcef(source, AL_PITCH, where.pitch);
    alSourcef(source, AL_REFERENCE_DISTANCE, where.referenceDistance);
    alSourcePlay(source);
}
