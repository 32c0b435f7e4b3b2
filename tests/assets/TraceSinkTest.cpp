#include "assets/TraceSink.h"
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

// Trace lines are an interface: each reaches its stream whole, with its newline,
// numbers as a stream writes them (six significant digits), before a listener
// hears it; while a quiet listener lives, lines reach it and not the streams.
TEST(TraceSinkTest, LinesReachTheirStreamWholeAndThenTheListeners) {
    std::ostringstream out, err;
    std::streambuf* const realOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* const realErr = std::cerr.rdbuf(err.rdbuf());
    // Each line heard, and whether its stream held it by then.
    std::vector<std::string> heard;
    const auto written = [&](TraceSink::Stream stream, const std::string& line) {
        const std::string text = (stream == TraceSink::Stream::out ? out : err).str();
        return line + (text.find(line + '\n') == std::string::npos ? " (not written)" : "");
    };
    {
        const TraceSink::Listen loud([&](TraceSink::Stream stream, const std::string& line) {
            heard.push_back(written(stream, line));
        });
        TraceLine() << "damage(" << 29.935213f << ") health = " << 70 << ", " << int{true};
        ErrorLine() << "Unable to open file: "
                    << "x.mesh";
        const TraceSink::Listen quiet([](TraceSink::Stream, const std::string&) {}, true);
        TraceLine() << "held back";
    }
    TraceLine() << "";
    std::cout.rdbuf(realOut);
    std::cerr.rdbuf(realErr);
    EXPECT_EQ(out.str(), "damage(29.9352) health = 70, 1\n\n");
    EXPECT_EQ(err.str(), "Unable to open file: x.mesh\n");
    EXPECT_EQ(heard,
              (std::vector<std::string>{"damage(29.9352) health = 70, 1",
                                        "Unable to open file: x.mesh", "held back (not written)"}));
}
