#pragma once
#include <cstddef>
#include <string>
#include <vector>

// A recording stand-in for the OpenAL functions the game calls, beside the fake
// GL. Each call appends {name, numeric arguments} to a log in call order; sources
// and buffers keep the state a test asks about. A source plays from alSourcePlay
// until alSourceStop or finishAll(), as if its sound had run out.
namespace fakeal {

struct Call {
    std::string name;
    std::vector<double> args; // numeric arguments in order (enums as their values)
};

struct Source {
    unsigned buffer = 0;
    bool relative = false;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float gain = 1.0f;
    float pitch = 1.0f;
    float referenceDistance = 1.0f;
    float rolloff = 1.0f;
    float maxDistance = 0.0f;
    int state = 0; // AL_INITIAL, AL_PLAYING or AL_STOPPED
    int plays = 0; // alSourcePlay calls
};

struct Buffer {
    int format = 0;
    int bytes = 0;
    int rate = 0;
};

// Empties the log and the state. A device opens, with room for `sourceLimit`
// sources (OpenAL Soft gives 256).
void reset();
void setDeviceAvailable(bool available);
void setContextAvailable(bool available);
void setSourceLimit(int limit);

const std::vector<Call>& calls();
std::size_t count(const std::string& name);

// State by name; null for a name never handed out or deleted since.
const Source* source(unsigned name);
const Buffer* buffer(unsigned name);
std::vector<unsigned> liveSources();
std::vector<unsigned> playingSources();
bool deviceOpen();
bool contextCurrent();
std::vector<float> listenerPosition();
std::vector<float> listenerOrientation(); // at, then up
int distanceModel();

// Every playing sound comes to its end.
void finishAll();

} // namespace fakeal
