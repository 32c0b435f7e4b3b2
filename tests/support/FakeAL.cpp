// The recording fake of OpenAL used by the unit tests. It is compiled against the
// real headers, so a call with a wrong signature fails to build here just as it
// would against the real library.
#include "support/FakeAL.h"
#include <AL/al.h>
#include <AL/alc.h>
#include <algorithm>
#include <map>

namespace {

struct State {
    std::vector<fakeal::Call> log;
    std::map<unsigned, fakeal::Source> sources;
    std::map<unsigned, fakeal::Buffer> buffers;
    unsigned nextName = 1;
    int sourceLimit = 256;
    bool deviceAvailable = true;
    bool contextAvailable = true;
    bool deviceOpen = false;
    bool contextCurrent = false;
    ALenum error = AL_NO_ERROR;
    int distanceModel = AL_INVERSE_DISTANCE_CLAMPED; // OpenAL's default
    std::vector<float> listenerPosition = {0.0f, 0.0f, 0.0f};
    std::vector<float> listenerOrientation = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
};

State& state() {
    static State s;
    return s;
}

// Opaque handles: only their addresses matter.
char deviceToken;
char contextToken;

void record(const char* name, std::vector<double> args = {}) {
    state().log.push_back({name, std::move(args)});
}

fakeal::Source* find(ALuint name) {
    const auto found = state().sources.find(name);
    return found == state().sources.end() ? nullptr : &found->second;
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
const std::vector<Call>& calls() {
    return state().log;
}
std::size_t count(const std::string& name) {
    return std::count_if(state().log.begin(), state().log.end(),
                         [&](const Call& c) { return c.name == name; });
}
const Source* source(unsigned name) {
    return find(name);
}
const Buffer* buffer(unsigned name) {
    const auto found = state().buffers.find(name);
    return found == state().buffers.end() ? nullptr : &found->second;
}
std::vector<unsigned> liveSources() {
    std::vector<unsigned> names;
    for (const auto& [name, s] : state().sources)
        names.push_back(name);
    return names;
}
std::vector<unsigned> playingSources() {
    std::vector<unsigned> names;
    for (const auto& [name, s] : state().sources)
        if (s.state == AL_PLAYING)
            names.push_back(name);
    return names;
}
bool deviceOpen() {
    return state().deviceOpen;
}
bool contextCurrent() {
    return state().contextCurrent;
}
std::vector<float> listenerPosition() {
    return state().listenerPosition;
}
std::vector<float> listenerOrientation() {
    return state().listenerOrientation;
}
int distanceModel() {
    return state().distanceModel;
}
void finishAll() {
    for (auto& [name, s] : state().sources)
        if (s.state == AL_PLAYING)
            s.state = AL_STOPPED;
}

} // namespace fakeal

// ---- ALC ----
ALCdevice* alcOpenDevice(const ALCchar*) {
    record("alcOpenDevice");
    if (!state().deviceAvailable)
        return nullptr;
    state().deviceOpen = true;
    return reinterpret_cast<ALCdevice*>(&deviceToken);
}
ALCboolean alcCloseDevice(ALCdevice*) {
    record("alcCloseDevice");
    state().deviceOpen = false;
    return ALC_TRUE;
}
ALCcontext* alcCreateContext(ALCdevice*, const ALCint*) {
    record("alcCreateContext");
    return state().contextAvailable ? reinterpret_cast<ALCcontext*>(&contextToken) : nullptr;
}
void alcDestroyContext(ALCcontext*) {
    record("alcDestroyContext");
}
ALCboolean alcMakeContextCurrent(ALCcontext* context) {
    record("alcMakeContextCurrent", {context ? 1.0 : 0.0});
    state().contextCurrent = context != nullptr;
    return ALC_TRUE;
}

// ---- AL ----
ALenum alGetError() {
    const ALenum error = state().error;
    state().error = AL_NO_ERROR;
    return error;
}
void alDistanceModel(ALenum model) {
    record("alDistanceModel", {double(model)});
    state().distanceModel = model;
}
void alGenBuffers(ALsizei n, ALuint* names) {
    record("alGenBuffers", {double(n)});
    for (ALsizei i = 0; i < n; ++i) {
        names[i] = state().nextName++;
        state().buffers[names[i]] = fakeal::Buffer();
    }
}
void alDeleteBuffers(ALsizei n, const ALuint* names) {
    for (ALsizei i = 0; i < n; ++i) {
        record("alDeleteBuffers", {double(names[i])});
        state().buffers.erase(names[i]);
    }
}
void alBufferData(ALuint name, ALenum format, const ALvoid*, ALsizei size, ALsizei rate) {
    record("alBufferData", {double(name), double(format), double(size), double(rate)});
    const auto found = state().buffers.find(name);
    if (found == state().buffers.end()) {
        state().error = AL_INVALID_NAME;
        return;
    }
    found->second = fakeal::Buffer{format, size, rate};
}
void alGenSources(ALsizei n, ALuint* names) {
    record("alGenSources", {double(n)});
    if (static_cast<int>(state().sources.size()) + n > state().sourceLimit) {
        state().error = AL_OUT_OF_MEMORY;
        return;
    }
    for (ALsizei i = 0; i < n; ++i) {
        names[i] = state().nextName++;
        fakeal::Source& s = state().sources[names[i]];
        s.state = AL_INITIAL;
    }
}
void alDeleteSources(ALsizei n, const ALuint* names) {
    for (ALsizei i = 0; i < n; ++i) {
        record("alDeleteSources", {double(names[i])});
        state().sources.erase(names[i]);
    }
}
void alSourcei(ALuint name, ALenum param, ALint value) {
    record("alSourcei", {double(name), double(param), double(value)});
    fakeal::Source* s = find(name);
    if (s == nullptr)
        return;
    if (param == AL_BUFFER) {
        // A playing source cannot change its buffer.
        if (s->state == AL_PLAYING)
            state().error = AL_INVALID_OPERATION;
        else
            s->buffer = static_cast<unsigned>(value);
    } else if (param == AL_SOURCE_RELATIVE) {
        s->relative = value != AL_FALSE;
    }
}
void alSourcef(ALuint name, ALenum param, ALfloat value) {
    record("alSourcef", {double(name), double(param), value});
    fakeal::Source* s = find(name);
    if (s == nullptr)
        return;
    if (param == AL_GAIN)
        s->gain = value;
    else if (param == AL_PITCH)
        s->pitch = value;
    else if (param == AL_REFERENCE_DISTANCE)
        s->referenceDistance = value;
    else if (param == AL_ROLLOFF_FACTOR)
        s->rolloff = value;
    else if (param == AL_MAX_DISTANCE)
        s->maxDistance = value;
}
void alSource3f(ALuint name, ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    record("alSource3f", {double(name), double(param), x, y, z});
    fakeal::Source* s = find(name);
    if (s != nullptr && param == AL_POSITION) {
        s->position[0] = x;
        s->position[1] = y;
        s->position[2] = z;
    }
}
void alSourcePlay(ALuint name) {
    record("alSourcePlay", {double(name)});
    if (fakeal::Source* s = find(name)) {
        s->state = AL_PLAYING;
        ++s->plays;
    }
}
void alSourceStop(ALuint name) {
    record("alSourceStop", {double(name)});
    if (fakeal::Source* s = find(name))
        if (s->state != AL_INITIAL)
            s->state = AL_STOPPED;
}
void alGetSourcei(ALuint name, ALenum param, ALint* value) {
    const fakeal::Source* s = find(name);
    if (s != nullptr && param == AL_SOURCE_STATE)
        *value = s->state;
}
void alListener3f(ALenum param, ALfloat x, ALfloat y, ALfloat z) {
    record("alListener3f", {double(param), x, y, z});
    if (param == AL_POSITION)
        state().listenerPosition = {x, y, z};
}
void alListenerfv(ALenum param, const ALfloat* values) {
    record("alListenerfv", {double(param)});
    if (param == AL_ORIENTATION)
        state().listenerOrientation.assign(values, values + 6);
}
