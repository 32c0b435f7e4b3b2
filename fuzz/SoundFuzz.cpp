#include "assets/Sound.h"

#include "FuzzFile.h"

// Whatever the bytes, a sound that loads is within the bounds, and a refusal
// always says why.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".wav");
    Sound sound;
    std::string problem;
    const bool loaded = loadSound(file.write(data, size), sound, problem);
    if (loaded &&
        (sound.sampleRate < minSoundRate || sound.sampleRate > maxSoundRate ||
         sound.samples.empty() ||
         sound.samples.size() > static_cast<std::size_t>(sound.sampleRate) * maxSoundSeconds)) {
        std::abort();
    }
    if (!loaded && (problem.empty() || !sound.samples.empty())) {
        std::abort();
    }
    return 0;
}
