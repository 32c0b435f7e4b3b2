#pragma once
#include <cstdint>
#include <string>

// What a replay holds: the header that says which game made it, then everything
// that reached the game core from outside, in the order it arrived. The bytes
// are laid out in docs/REPLAYS.md; ReplayWriter writes them, ReplayReader reads them.
struct ReplayHeader {
    static constexpr std::uint16_t currentFormat = 1;
    static constexpr std::size_t maxVersionLength = 32;

    std::uint16_t format = currentFormat;
    std::string gameVersion;      // the project's version, at most maxVersionLength bytes
    std::uint64_t packDigest = 0; // over every file under data/ (PackDigest)
    std::uint32_t seed = 0;       // the generator's seed at the program's start
};

struct ReplayEvent {
    enum class Kind : std::uint8_t { update, key, mouse, reshape, gameStart, network };
    // A networked game's record: what the network gave the core, in bytes the
    // core alone reads. Bounded like a network message.
    static constexpr std::size_t maxNetworkBytes = 4096;

    Kind kind = Kind::update;
    float seconds = 0.0f; // update: the elapsed time the update was given
    unsigned char key = 0;
    bool down = false;                              // key: pressed or let go; mouse: a button held
    int modifiers = 0;                              // key: GLUT's modifier bits (0 to 255)
    float x = 0.0f, y = 0.0f, dx = 0.0f, dy = 0.0f; // mouse: fractions of the window
    int width = 0, height = 0;                      // reshape: pixels
    std::string bytes;                              // network: at most maxNetworkBytes

    static ReplayEvent update(float seconds);
    static ReplayEvent keyboard(unsigned char key, bool down, int modifiers);
    static ReplayEvent mouse(bool buttonDown, float x, float y, float dx, float dy);
    static ReplayEvent reshape(int width, int height);
    static ReplayEvent gameStart();
    static ReplayEvent network(std::string bytes);
};

// Record tags. An update of a whole number of milliseconds, which a frame of the
// millisecond timer almost always is, takes one byte: msTag + the milliseconds.
namespace replaytag {
constexpr std::uint8_t update = 0x01;
constexpr std::uint8_t key = 0x02;
constexpr std::uint8_t mouse = 0x03;
constexpr std::uint8_t reshape = 0x04;
constexpr std::uint8_t gameStart = 0x05;
constexpr std::uint8_t network = 0x06; // then the length (2 bytes) and the bytes
constexpr std::uint8_t msTag = 0x80; // 0x80 to 0xFF: an update of 0 to 127 ms
constexpr char magic[8] = {'V', 'T', 'R', 'E', 'P', 'L', 'A', 'Y'};
// A window side past this is no window the game ever had.
constexpr int maxWindowSide = 1 << 15;
} // namespace replaytag
