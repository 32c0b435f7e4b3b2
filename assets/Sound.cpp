// Sound files come through libsndfile, never read by hand, but libsndfile is
// handed only what this reader has checked: a file no larger than a sound the
// game would take, already in memory (so its size is known and cannot change
// under the reader), that starts like a WAV file. Only plain samples are taken
// (integers or floats, no compressed encodings): the game's own sounds are
// 16-bit WAV, and every decoder left out is one less a hostile file can reach
// (libsndfile's Vorbis reader leaks on some broken files). The header's
// channels, rate and length are checked before any sample is read. libsndfile
// measures a WAV's samples against the file's size, so a header that promises
// more than the file holds loads what the file holds; the samples come in small
// blocks all the same, so what is allocated follows what is really read, and a
// file whose frames differ from what libsndfile counted is refused.
#include "assets/Sound.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <utility>

namespace {

constexpr sf_count_t blockFrames = 4096;

// libsndfile's virtual I/O over bytes in memory, read only.
struct Bytes {
    std::vector<unsigned char> data;
    sf_count_t at = 0;

    sf_count_t size() const { return static_cast<sf_count_t>(data.size()); }
};

sf_count_t bytesLength(void* user) {
    return static_cast<Bytes*>(user)->size();
}

sf_count_t bytesSeek(sf_count_t offset, int whence, void* user) {
    Bytes& bytes = *static_cast<Bytes*>(user);
    const sf_count_t base = whence == SEEK_CUR ? bytes.at : whence == SEEK_END ? bytes.size() : 0;
    // Offsets come from chunk sizes in the file: keep the sum from overflowing.
    if ((offset > 0 && base > std::numeric_limits<sf_count_t>::max() - offset) || base + offset < 0)
        return -1;
    bytes.at = base + offset;
    return bytes.at;
}

sf_count_t bytesRead(void* destination, sf_count_t count, void* user) {
    Bytes& bytes = *static_cast<Bytes*>(user);
    if (count <= 0 || bytes.at >= bytes.size())
        return 0;
    const sf_count_t n = std::min(count, bytes.size() - bytes.at);
    std::memcpy(destination, bytes.data.data() + bytes.at, static_cast<std::size_t>(n));
    bytes.at += n;
    return n;
}

sf_count_t bytesWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t bytesTell(void* user) {
    return static_cast<Bytes*>(user)->at;
}

bool readFile(const char* fileName, Bytes& bytes, std::string& problem) {
    std::ifstream file(fileName, std::ios::binary | std::ios::ate);
    if (!file) {
        problem = "cannot be opened";
        return false;
    }
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > maxSoundFileBytes) {
        problem = "is larger than any sound the game plays";
        return false;
    }
    bytes.data.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(bytes.data.data()), size)) {
        problem = "cannot be read";
        return false;
    }
    return true;
}

// RIFF....WAVE: the container the game's sounds come in.
bool startsLikeWav(const std::vector<unsigned char>& data) {
    return data.size() >= 12 && std::memcmp(data.data(), "RIFF", 4) == 0 &&
           std::memcmp(data.data() + 8, "WAVE", 4) == 0;
}

// Bytes of one sample of the plain encodings; 0 for the others, which are refused.
int bytesPerSample(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_S8:
        return 1;
    case SF_FORMAT_PCM_16:
        return 2;
    case SF_FORMAT_PCM_24:
        return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 4;
    case SF_FORMAT_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

// libsndfile gives every encoding as floats from -1 to 1, 16-bit samples as
// multiples of 1/32768; so they come back exactly. Beyond the range is clipped,
// and what is not a number is silence.
std::int16_t toSample(float value) {
    if (!(value == value))
        return 0;
    const float scaled = std::round(value * 32768.0f);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

// The header's promises against the bounds; the reason for a refusal, or empty.
std::string checkHeader(const SF_INFO& info, sf_count_t fileSize) {
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        return "is not a WAV file";
    const int width = bytesPerSample(info.format);
    if (width == 0)
        return "holds compressed samples where plain ones are read";
    if (info.channels != 1)
        return "has " + std::to_string(info.channels) + " channels where one is played";
    if (info.samplerate < minSoundRate || info.samplerate > maxSoundRate)
        return "plays at " + std::to_string(info.samplerate) + " Hz, outside " +
               std::to_string(minSoundRate) + " to " + std::to_string(maxSoundRate);
    if (info.frames <= 0)
        return "holds no sound";
    if (info.frames > static_cast<sf_count_t>(info.samplerate) * maxSoundSeconds)
        return "lasts longer than " + std::to_string(maxSoundSeconds) + " seconds";
    if (info.frames > fileSize / width)
        return "declares more samples than the file holds";
    return "";
}

} // namespace

bool loadSound(const char* fileName, Sound& sound, std::string& problem) {
    sound = Sound();
    problem.clear();
    Bytes bytes;
    if (!readFile(fileName, bytes, problem))
        return false;
    if (!startsLikeWav(bytes.data)) {
        problem = "is not a WAV file";
        return false;
    }

    SF_VIRTUAL_IO io{bytesLength, bytesSeek, bytesRead, bytesWrite, bytesTell};
    SF_INFO info{};
    SNDFILE* const file = sf_open_virtual(&io, SFM_READ, &info, &bytes);
    if (file == nullptr) {
        problem = std::string("cannot be decoded: ") + sf_strerror(nullptr);
        return false;
    }
    problem = checkHeader(info, bytes.size());

    // One frame more than promised may come; then the promise was false.
    std::vector<std::int16_t> samples;
    if (problem.empty()) {
        const sf_count_t wanted = info.frames + 1;
        sf_count_t got = 0;
        float block[blockFrames];
        while (got < wanted) {
            const sf_count_t n = std::min(blockFrames, wanted - got);
            const sf_count_t read = sf_readf_float(file, block, n);
            for (sf_count_t i = 0; i < read; ++i)
                samples.push_back(toSample(block[i]));
            got += read > 0 ? read : 0;
            if (read < n)
                break;
        }
        if (got != info.frames)
            problem = "holds " + std::to_string(got) + " frames where its header declares " +
                      std::to_string(info.frames);
    }
    sf_close(file);
    if (!problem.empty())
        return false;
    sound.sampleRate = info.samplerate;
    sound.samples = std::move(samples);
    return true;
}
