#pragma once
#include "assets/ReplayEvent.h"
#include <cstddef>
#include <string>

// Reads a replay written by ReplayWriter. The whole stream is checked before
// anything is played, so a damaged file is refused up front rather than played
// half way and then wrongly. A stream cut inside its last record (a game killed
// while writing) keeps every whole record before the cut.
class ReplayReader {
public:
    // Larger files are refused before anything is allocated: an hour of play
    // is well under a megabyte.
    static constexpr std::size_t maxFileBytes = 64u << 20;

    // False with the reason in why (one line, no file name) for a file that
    // cannot be read, is no replay, or whose stream is damaged.
    bool load(const std::string& path, std::string& why);
    bool parse(std::string bytes, std::string& why);

    // The next event in file order; false at the end.
    bool next(ReplayEvent& event);

    const ReplayHeader& header() const { return head; }
    std::size_t eventCount() const { return events; }
    bool hasGameStart() const { return gameStarts > 0; }
    bool truncated() const { return cutShort; }

private:
    // One record at offset at into event; the offset after it, or 0 for a
    // record that is cut short, or npos for one that is damaged.
    std::size_t decode(std::size_t at, ReplayEvent& event) const;

    std::string data;
    std::size_t streamStart = 0;
    std::size_t streamEnd = 0; // after the last whole record
    std::size_t cursor = 0;
    std::size_t events = 0;
    std::size_t gameStarts = 0;
    bool cutShort = false;
    ReplayHeader head;
};
