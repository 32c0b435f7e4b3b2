// The recording fake of OpenAL used by the unit tests. It is compiled against the
// real headers, so a call with a wrong signature fails to build here just as it
// would against the real library.
#include "support/FakeAL.h"
#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>
#include <map>
#include <utility>

namespace {

struct State {
    std::vector<std::string> log;
    std::map<unsigned, fakeal::Source> sources;
    std::map<unsigned, fakeal::Buffer> buffers;
    unsigned nextName = 1;
    std::vector<unsigned> played;
    int sourceLimit = 256;
    bool deviceAvailable = true, contextAvailable = true;
    bool deviceOpen = false, contextCurrent = false;
    ALenum error = AL_NO_ERROR;
    int distanceModel = AL_INVERSE_DISTANCE_CLAMPED; // OpenAL's default
    std::vector<float> listener = {0, 0, 0, 0, 0, -1, 0, 1, 0};
};

State& state() {
    static State s;
    return s;
}

char deviceToken, contextToken; // opaque handles: only their addresses matter

fakeal::Source* find(ALuint name) {
    const auto found = state().sources.find(name);
    return found == state().sources.end() ? nullptr : &found->second;
}

// Logs the call and returns the named source, if there is one.
fakeal::Source* call(const char* name, ALuint source = 0) {
    state().log.push_back(name);
    return find(source);
}

} // namespace

namespace fakeal {

void reset() {
    state() = State();
}
void setDeviceAvailable(bool available) {
    state().deviceAvailable = available;
}
void setContextAvailable(bool available) {
    state().contextAvailable = available;
}
void setSourceLimit(int limit) {
    state().sourceLimit = limit;
}
const std::vector<std::string>& calls() {
    return state().log;
}
std::size_t count(const std::string& name) {
    return std::count(state().log.begin(), state().log.end(), name);
}
const Source* source(unsigned name) {
    return find(name);
}
const Buffer* buffer(unsigned name) {
    const auto found = state().buffers.find(name);
    return found == state().buffers.end() ? nullptr : &found->second;
}
std::vector<unsigned> sources(bool playingOnly) {
    std::vector<unsigned> names;
    for (const auto& [name, s] : state().sources)
        if (!playingOnly || s.state == AL_PLAYING)
            names.push_back(name);
    return names;
}
const std::vector<unsigned>& played() {
    return state().played;
}
bool deviceOpen() {
    return state().deviceOpen;
}
bool contextCurrent() {
    return state().contextCurrent;
}
int distanceModel() {
    return state().distanceModel;
}
std::vector<float> listener() {
    return state().listener;
}
void finishAll() {
    for (auto& [name, s] : state().sources)
        if (s.state == AL_PLAYING)
            s.state = AL_STOPPED;
}

} // namespace fakeal

// ---- ALC ----
ALCdevice* alcOpenDevice(const ALCchar*) {
    call("alcOpenDevice");
    state().deviceOpen = state().deviceAvailable;
    return state().deviceOpen ? reinterpret_cast<ALCdevice*>(&deviceToken) : nullptr;
}
ALCboolean alcCloseDevice(ALCdevice*) {
    call("alcCloseDevice");
    state().deviceOpen = false;
    return ALC_TRUE;
}
ALCcontext* alcCreateContext(ALCdevice*, const ALCint*) {
    call("alcCreateContext");
    return state().contextAvailable ? reinterpret_cast<ALCcontext*>(&contextToken) : nullptr;
}
void alcDestroyContext(ALCcontext*) {
    call("alcDestroyContext");
}
ALCboolean alcMakeContextCurrent(ALCcontext* context) {
    call("alcMakeContextCurrent");
    state().contextCurrent = context != nullptr;
    return ALC_TRUE;
}

// ---- AL ----
ALenum alGetError() {
    return std::exchange(state().error, AL_NO_ERROR);
}
void alDistanceModel(ALenum model) {
    call("alDistanceModel");
    state().distanceModel = model;
}
void alGenBuffers(ALsizei n, ALuint* names) {
    call("alGenBuffers");
    for (ALsizei i = 0; i < n; ++i)
        state().buffers[names[i] = state().nextName++] = fakeal::Buffer();
}
void alDeleteBuffers(ALsizei n, const ALuint* names) {
    call("alDeleteBuffers");
    for (ALsizei i = 0; i < n; ++i)
        state().buffers.erase(names[i]);
}
void alBufferData(ALuint name, ALenum format, const ALvoid*, ALsizei size, ALsizei rate) {
    call("alBufferData");
    if (state().buffers.count(name) == 0)
        state().error = AL_INVALID_NAME;
    else
        state().buffers[name] = fakeal::Buffer{format, size, rate};
}
void alGenSources(ALsizei n, ALuint* names) {
    call("alGenSources");
    if (static_cast<int>(state().sources.size()) + n > state().sourceLimit) {
        state().error = AL_OUT_OF_MEMORY;
        return;
    }
    for (ALsizei i = 0; i < n; ++i)
        state().sources[names[i] = state().nextName++].state = AL_INITIAL;
}
void alDeleteSources(ALsizei n, const ALuint* names) {
    call("alDeleteSources");
    for (ALsizei i = 0; i < n; ++i)
        state().sources.erase(names[i]);
}
void alSourcei(ALuint name, ALenum param, ALint value) {
    fakeal::Source* s = call("alSourcei", name);
    if (s != nullptr && param == AL_BUFFER) {
        // A playing source cannot change its buffer.
        if (s->state == AL_PLAYING)
            state().error = AL_INVALID_OPERATION;
        else
            s->buffer = static_cast<unsigned>(value);
    } else if (s != nullptr && param == AL_SOURCE_RELATIVE) {
        s->relative = value != AL_FALSE;
    }
}
void alSourcef(ALuint name, ALenum param, ALfloat value) {
    fakeal::Source* s = call("alSourcef", name);
    if (s == nullptr)
        return;
    const std::map<ALenum, float*> fields = {{AL_GAIN, &s->gain},
                                             {AL_PITCH, &s->pitch},
                                             {AL_REFERENCE_DISTANCE, &s->referenceDistance},
                                             {AL_ROLLOFF_FACTOR, &s->rolloff},
                                             {AL_MAX_DISTANCE, &s->maxDistance}};
    if (fields.count(param))
        *fields.at(param) = value;
}
void alSource3f(ALuint name, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    fakeal::Source* s = call("alSource3f", name);
    if (s != nullptr && param == AL_POSITION) {
        s->position[0] = x;
        s->position[1] = y;
        s->position[2] = z;
    }
}
void alSourcePlay(ALuint name) {
    if (fakeal::Source* s = call("alSourcePlay", name)) {
        s->state = AL_PLAYING;
        ++s->plays;
        state().played.push_back(name);
    }
}
void alSourceStop(ALuint name) {
    fakeal::Source* s = call("alSourceStop", name);
    if (s != nullptr && s->state != AL_INITIAL)
        s->state = AL_STOPPED;
}
void alGetSourcei(ALuint name, ALenum param, ALint* value) {
    const fakeal::Source* s = find(name);
    if (s != nullptr && param == AL_SOURCE_STATE)
        *value = s->state;
}
void alListener3f(ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    call("alListener3f");
    if (param == AL_POSITION)
        std::copy_n(std::vector<float>{x, y, z}.begin(), 3, state().listener.begin());
}
void alListenerfv(ALenum param, const ALfloat* values) {
    call("alListenerfv");
    if (param == AL_ORIENTATION)
        std::copy_n(values, 6, state().listener.begin() + 3);
}
