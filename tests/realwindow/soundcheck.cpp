// Listens to what the game played into OpenAL's wave file, so a real-window test
// can check the sound without a person. The file is read with libsndfile; the
// moments of the test are given as the file's size in bytes when they happened,
// since the wave backend writes in real time.
//
//   vt_soundcheck burst WAV SHOT_BYTES BURST_BYTES
//       silent before the shot, a launch at it, loud after the burst, and the
//       burst louder in the left channel than in the right
//
// Exit status 0 when the answer is yes, 1 when no, 2 on bad use; one line on
// standard output says what was measured either way.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Below this a window counts as silence: a sixteenth of a 16-bit step.
constexpr double silenceFloor = 1.0 / (16 * 32768.0);

struct Recording {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved
    double dataOffset = 0;      // bytes of header before the first frame
    int frameBytes = 0;

    double seconds() const { return double(samples.size()) / channels / rate; }
    // The moment the file had grown to `bytes`.
    double secondsAt(double bytes) const { return (bytes - dataOffset) / frameBytes / rate; }

    // Root mean square of one channel (-1: both) from `from` to `to` seconds.
    double rms(double from, double to, int channel = -1) const {
        const long first = std::max(0L, long(from * rate));
        const long last = std::min(long(samples.size() / channels), long(to * rate));
        double sum = 0;
        long n = 0;
        for (long f = first; f < last; ++f)
            for (int c = 0; c < channels; ++c)
                if (channel < 0 || channel == c) {
                    const double s = samples[f * channels + c];
                    sum += s * s;
                    ++n;
                }
        return n > 0 ? std::sqrt(sum / n) : 0.0;
    }
};

int bytesPerSample(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_16:
        return 2;
    case SF_FORMAT_PCM_24:
        return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 4;
    default:
        return 0;
    }
}

bool load(const char* fileName, Recording& recording) {
    SF_INFO info{};
    SNDFILE* file = sf_open(fileName, SFM_READ, &info);
    const int width = bytesPerSample(info.format);
    if (file == nullptr || width == 0 || info.channels != 2) {
        std::cout << "cannot read " << fileName << " as a stereo recording: "
                  << sf_strerror(file) << std::endl;
        if (file)
            sf_close(file);
        return false;
    }
    recording.rate = info.samplerate;
    recording.channels = info.channels;
    recording.samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
    recording.samples.resize(
        static_cast<std::size_t>(sf_readf_float(file, recording.samples.data(), info.frames)) *
        info.channels);
    sf_close(file);
    // The wave backend writes no chunk after its samples.
    recording.frameBytes = width * info.channels;
    recording.dataOffset = double(std::filesystem::file_size(fileName)) -
                           double(recording.samples.size() / info.channels) * recording.frameBytes;
    return true;
}

int burst(const Recording& r, double shotBytes, double burstBytes) {
    const double shot = r.secondsAt(shotBytes);
    const double boom = r.secondsAt(burstBytes);
    // The moments are taken a little after the key press and the trace line; the
    // windows leave room for that.
    const double before = r.rms(0.2, shot - 0.5);
    const double launch = r.rms(shot - 0.3, shot + 0.6);
    const double after = r.rms(boom - 0.3, boom + 1.2);
    const double left = r.rms(boom - 0.3, boom + 1.2, 0);
    const double right = r.rms(boom - 0.3, boom + 1.2, 1);
    std::cout << "sound: " << r.seconds() << " s at " << r.rate << " Hz; shot at " << shot
              << " s, burst at " << boom << " s; RMS before the shot " << before
              << ", around the shot " << launch << ", after the burst " << after << " (left "
              << left << ", right " << right << ")" << std::endl;
    const bool timed = shot > 1.0 && boom > shot && boom + 1.2 <= r.seconds();
    const bool silentBefore = before < silenceFloor;
    const bool launched = launch > 20 * silenceFloor;
    const bool loudAfter = after > 0.02;
    const bool fromTheLeft = left > 2 * right;
    return timed && silentBefore && launched && loudAfter && fromTheLeft ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "burst" && argc == 5) {
        Recording recording;
        if (!load(argv[2], recording))
            return 1;
        return burst(recording, std::atof(argv[3]), std::atof(argv[4]));
    }
    std::cerr << "usage: vt_soundcheck burst WAV SHOT_BYTES BURST_BYTES" << std::endl;
    return 2;
}
