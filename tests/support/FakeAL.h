#pragma once
#include <cstddef>
#include <string>
#include <vector>

// A recording stand-in for the OpenAL functions the game calls, beside the fake
// GL: the names of the calls in order, and the state of the device, the sources,
// the buffers and the listener. A source plays from alSourcePlay until
// alSourceStop or finishAll(), as if its sound had run out.
namespace fakeal {

struct Source {
    unsigned buffer = 0;
    bool relative = false;
    float position[3] = {0.0f, 0.0f, 0.0f};
    float gain = 1.0f, pitch = 1.0f, referenceDistance = 1.0f, rolloff = 1.0f;
    float maxDistance = 0.0f;
    int state = 0; // AL_INITIAL, AL_PLAYING or AL_STOPPED
    int plays = 0; // alSourcePlay calls
};

struct Buffer {
    int format = 0, bytes = 0, rate = 0;
};

// Empties the log and the state: a device opens, with room for 256 sources.
void reset();
void setDeviceAvailable(bool available);
void setContextAvailable(bool available);
void setSourceLimit(int limit);

const std::vector<std::string>& calls();
std::size_t count(const std::string& name);
// Null for a name never handed out or deleted since.
const Source* source(unsigned name);
const Buffer* buffer(unsigned name);
std::vector<unsigned> sources(bool playingOnly = false);
const std::vector<unsigned>& played(); // the source of every alSourcePlay, in order
bool deviceOpen();
bool contextCurrent();
int distanceModel();
std::vector<float> listener(); // position, then the orientation's at and up

// Every playing sound comes to its end.
void finishAll();

} // namespace fakeal
