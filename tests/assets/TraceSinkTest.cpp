#include "assets/TraceSink.h"
#include "support/CaptureStreams.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using Heard = std::vector<std::pair<TraceSink::Stream, std::string>>;

TEST(TraceSinkTest, LinesReachTheirStreamWholeAndListenersHearThemAfter) {
    CaptureStreams capture;
    Heard heard;
    {
        const TraceSink::Listen listen([&](TraceSink::Stream stream, const std::string& line) {
            // Written before it is heard: the stream holds it already.
            const std::string written =
                stream == TraceSink::Stream::out ? capture.out() : capture.err();
            EXPECT_NE(written.find(line + "\n"), std::string::npos) << line;
            heard.emplace_back(stream, line);
        });
        TraceLine() << "damage(" << 29.935213f << ") health = " << 70 << ", " << int{true};
        ErrorLine() << "Unable to open file: "
                    << "x.mesh";
        TraceLine() << "";
    }
    TraceLine() << "after";
    EXPECT_EQ(capture.out(), "damage(29.9352) health = 70, 1\n\nafter\n");
    EXPECT_EQ(capture.err(), "Unable to open file: x.mesh\n");
    const Heard expected{{TraceSink::Stream::out, "damage(29.9352) health = 70, 1"},
                         {TraceSink::Stream::error, "Unable to open file: x.mesh"},
                         {TraceSink::Stream::out, ""}};
    EXPECT_EQ(heard, expected) << "a listener gone hears nothing more";
}

TEST(TraceSinkTest, AQuietListenerKeepsLinesFromTheStreamsOnlyWhileItLives) {
    CaptureStreams capture;
    std::vector<std::string> outer, inner;
    const TraceSink::Listen loud(
        [&](TraceSink::Stream, const std::string& l) { outer.push_back(l); });
    {
        const TraceSink::Listen quiet(
            [&](TraceSink::Stream, const std::string& l) { inner.push_back(l); }, true);
        TraceLine() << "held back";
    }
    TraceLine() << "written";
    EXPECT_EQ(capture.out(), "written\n");
    EXPECT_EQ(inner, std::vector<std::string>{"held back"});
    EXPECT_EQ(outer, (std::vector<std::string>{"held back", "written"}));
}
