#pragma once
#include "world/Vector3.h"
#include <map>
#include <vector>

// A stand-in for the OpenAL calls the game makes, beside the fake GL: it keeps
// the state a test asks about. A source plays from alSourcePlay until
// alSourceStop or finishAll(), as if its sound had run out.
namespace fakeal {

struct Source {
    unsigned buffer = 0;
    bool relative = false, playing = false;
    Vector3 position;
};

struct State {
    bool deviceAvailable = true, contextAvailable = true, deviceOpen = false;
    int sourceLimit = 256;
    std::map<unsigned, Source> sources;
    std::vector<unsigned> played; // the source of every alSourcePlay, in order
};

State& state();
void reset(); // a device that opens, with room for 256 sources
void finishAll();
// The last source started.
inline const Source& last() { return state().sources.at(state().played.back()); }

} // namespace fakeal
