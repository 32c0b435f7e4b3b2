// Compiled against the real headers, so a call with a wrong signature fails to
// build here just as it would against the real library.
#include "support/FakeAL.h"
#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>
#include <utility>

namespace {

char deviceToken, contextToken; // opaque handles: only their addresses matter
unsigned nextName = 1;
ALenum error = AL_NO_ERROR;

fakeal::State& state() { return fakeal::state(); }

// A source that was handed out and not deleted; else a dummy nobody looks at.
fakeal::Source& source(ALuint name) {
    static fakeal::Source none;
    const auto found = state().sources.find(name);
    return found == state().sources.end() ? none = fakeal::Source() : found->second;
}

} // namespace

fakeal::State& fakeal::state() {
    static State s;
    return s;
}
void fakeal::reset() {
    state() = State();
    error = AL_NO_ERROR;
}
void fakeal::finishAll() {
    for (auto& named : state().sources)
        named.second.playing = false;
}

// The stubs, one a line, as in the fake GL.
// clang-format off
ALCdevice* alcOpenDevice(const ALCchar*) {
    state().deviceOpen = state().deviceAvailable;
    return state().deviceOpen ? reinterpret_cast<ALCdevice*>(&deviceToken) : nullptr;
}
ALCboolean alcCloseDevice(ALCdevice*) { state().deviceOpen = false; return ALC_TRUE; }
ALCcontext* alcCreateContext(ALCdevice*, const ALCint*) {
    return state().contextAvailable ? reinterpret_cast<ALCcontext*>(&contextToken) : nullptr;
}
void alcDestroyContext(ALCcontext*) {}
ALCboolean alcMakeContextCurrent(ALCcontext*) { return ALC_TRUE; }

ALenum alGetError() { return std::exchange(error, AL_NO_ERROR); }
void alDistanceModel(ALenum) {}
void alGenBuffers(ALsizei n, ALuint* names) { std::generate_n(names, n, [] { return nextName++; }); }
void alDeleteBuffers(ALsizei, const ALuint*) {}
void alBufferData(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei) {}
void alGenSources(ALsizei n, ALuint* names) {
    if (static_cast<int>(state().sources.size()) + n > state().sourceLimit)
        error = AL_OUT_OF_MEMORY;
    for (ALsizei i = 0; i < n && error == AL_NO_ERROR; ++i)
        state().sources[names[i] = nextName++] = fakeal::Source();
}
void alDeleteSources(ALsizei n, const ALuint* names) {
    std::for_each(names, names + n, [](ALuint s) { state().sources.erase(s); });
}
void alSourcei(ALuint name, ALenum param, ALint value) {
    fakeal::Source& s = source(name);
    if (param == AL_BUFFER && s.playing) error = AL_INVALID_OPERATION; // it keeps its buffer
    if (param == AL_BUFFER && !s.playing) s.buffer = static_cast<unsigned>(value);
    if (param == AL_SOURCE_RELATIVE) s.relative = value != AL_FALSE;
}
void alSourcef(ALuint, ALenum, ALfloat) {}
void alSource3f(ALuint name, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    if (param == AL_POSITION) source(name).position = Vector3(x, y, z);
}
void alSourcePlay(ALuint name) { source(name).playing = true; state().played.push_back(name); }
void alSourceStop(ALuint name) { source(name).playing = false; }
void alGetSourcei(ALuint name, ALenum param, ALint* value) {
    if (param == AL_SOURCE_STATE) *value = source(name).playing ? AL_PLAYING : AL_STOPPED;
}
void alListener3f(ALenum, ALfloat, ALfloat, ALfloat) {}
void alListenerfv(ALenum, const ALfloat*) {}
// clang-format on
