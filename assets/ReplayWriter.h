#pragma once
#include "assets/ReplayEvent.h"
#include <string>

// Turns a replay's header and events into their bytes. It only appends to a
// string: where the bytes go (a file, a test's buffer) is the caller's.
class ReplayWriter {
public:
    static void appendHeader(const ReplayHeader& header, std::string& out);
    static void appendEvent(const ReplayEvent& event, std::string& out);
};
