#pragma once
#include "assets/TraceSink.h"
#include <string>

// Takes every trace and error line the game writes while it lives, each ended by
// its newline, and keeps them off the streams, so a test can compare them exactly.
// It listens to the sink: a line written past the sink is not caught, and shows.
class TraceCapture {
public:
    TraceCapture()
        : listen(
              [this](TraceSink::Stream stream, const std::string& line) {
                  (stream == TraceSink::Stream::out ? outText : errText) += line + '\n';
              },
              true) {}

    const std::string& out() const { return outText; }
    const std::string& err() const { return errText; }
    void clear() { outText.clear(), errText.clear(); }

private:
    std::string outText;
    std::string errText;
    TraceSink::Listen listen;
};
