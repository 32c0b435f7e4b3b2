#include "assets/ReplayReader.h"
#include "assets/ReplayWriter.h"
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

ReplayHeader sampleHeader() {
    ReplayHeader header;
    header.gameVersion = "0.9.0";
    header.packDigest = 0x0123456789ABCDEFull;
    header.seed = 4000000000u;
    return header;
}

std::string bytesOf(const ReplayHeader& header, const std::vector<ReplayEvent>& events) {
    std::string bytes;
    ReplayWriter::appendHeader(header, bytes);
    for (const ReplayEvent& event : events)
        ReplayWriter::appendEvent(event, bytes);
    return bytes;
}

std::vector<ReplayEvent> everyKind() {
    return {ReplayEvent::update(0.016f),
            ReplayEvent::update(0.0f),
            ReplayEvent::update(0.127f),
            ReplayEvent::update(0.1234567f),
            ReplayEvent::update(3.75f),
            ReplayEvent::keyboard(200, true, 5),
            ReplayEvent::keyboard(' ', false, 0),
            ReplayEvent::mouse(true, 0.5f, 0.25f, -0.01f, 1e-7f),
            ReplayEvent::mouse(false, 1.5f, -2.0f, 0.0f, 0.0f),
            ReplayEvent::reshape(640, 480),
            ReplayEvent::reshape(0, 1),
            ReplayEvent::gameStart(),
            ReplayEvent::network(std::string("\x03\x00\xff", 3)),
            ReplayEvent::network(std::string(ReplayEvent::maxNetworkBytes, 'n')),
            ReplayEvent::network("")};
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSame(const ReplayEvent& a, const ReplayEvent& b) {
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_TRUE(sameBits(a.seconds, b.seconds)) << a.seconds << " " << b.seconds;
    EXPECT_EQ(a.key, b.key);
    EXPECT_EQ(a.down, b.down);
    EXPECT_EQ(a.modifiers, b.modifiers);
    EXPECT_TRUE(sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.dx, b.dx) &&
                sameBits(a.dy, b.dy));
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.bytes, b.bytes);
}

} // namespace

// Playback must see the very bits the game saw, so the short form for whole
// milliseconds is taken only when it gives them back.
TEST(ReplayReader, EveryKindOfEventComesBackBitForBit) {
    const std::vector<ReplayEvent> events = everyKind();
    ReplayReader reader;
    std::string why;
    ASSERT_TRUE(reader.parse(bytesOf(sampleHeader(), events), why)) << why;
    EXPECT_EQ(reader.header().gameVersion, "0.9.0");
    EXPECT_EQ(reader.header().packDigest, 0x0123456789ABCDEFull);
    EXPECT_EQ(reader.header().seed, 4000000000u);
    EXPECT_EQ(reader.eventCount(), events.size());
    EXPECT_TRUE(reader.hasGameStart());
    EXPECT_FALSE(reader.truncated());
    ReplayEvent read;
    for (const ReplayEvent& written : events) {
        ASSERT_TRUE(reader.next(read));
        expectSame(written, read);
    }
    EXPECT_FALSE(reader.next(read));

    // A frame of whole milliseconds is one byte; any other time five.
    std::string one, five;
    ReplayWriter::appendEvent(ReplayEvent::update(0.016f), one);
    ReplayWriter::appendEvent(ReplayEvent::update(0.0165f), five);
    EXPECT_EQ(one.size(), 1u);
    EXPECT_EQ(five.size(), 5u);
}

// Whatever the bytes: refused with a reason, or read without reading past them.
TEST(ReplayReader, DamagedFilesAreRefusedWithAReason) {
    const std::string good = bytesOf(sampleHeader(), everyKind());
    const std::size_t headerSize = 8 + 2 + 1 + 5 + 8 + 4;
    auto patched = [&](std::size_t at, std::string with) {
        return good.substr(0, at) + with + good.substr(at + with.size());
    };
    std::string nan(4, '\0');
    const float notANumber = std::nanf("");
    std::memcpy(nan.data(), &notANumber, 4);
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", "", "is not a replay"},
        {"another file", "\x89PNG\r\n\x1a\n....", "is not a replay"},
        {"magic only", good.substr(0, 8), "is cut short in its header"},
        {"newer format", patched(8, std::string("\x02\x00", 2)), "format 2"},
        {"newer format, header of its own", std::string("VTREPLAY\x03\x00", 10), "format 3"},
        {"version too long", patched(10, "\x40"), "has a damaged header"},
        {"header cut", good.substr(0, headerSize - 1), "is cut short in its header"},
        {"unknown record", good.substr(0, headerSize) + "\x7f", "is damaged at byte"},
        {"NaN update", good.substr(0, headerSize) + "\x01" + nan, "is damaged at byte"},
        {"key neither up nor down",
         good.substr(0, headerSize) + std::string("\x02"
                                                  "a\x02\x00",
                                                  4),
         "is damaged at byte"},
        {"network record past the bound",
         good.substr(0, headerSize) + std::string("\x06\x01\x10", 3) + std::string(4097, 'x'),
         "is damaged at byte"},
        {"huge window",
         good.substr(0, headerSize) + std::string("\x04\x00\x00\x01\x00\x10\x00\x00\x00", 9),
         "is damaged at byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReplayReader reader;
        std::string why;
        EXPECT_FALSE(reader.parse(c.bytes, why));
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        ReplayEvent event;
        EXPECT_FALSE(reader.next(event));
    }
}

// A game killed while its file was written leaves a record cut short: the whole
// ones before it play, and the reader says it was cut.
TEST(ReplayReader, AStreamCutShortKeepsItsWholeRecords) {
    const std::vector<ReplayEvent> events = everyKind();
    const std::string good = bytesOf(sampleHeader(), events);
    const std::size_t headerSize = bytesOf(sampleHeader(), {}).size();
    std::size_t wholeRecords = 0, recordEnd = headerSize;
    std::vector<std::size_t> ends;
    for (const ReplayEvent& event : events) {
        std::string one;
        ReplayWriter::appendEvent(event, one);
        recordEnd += one.size();
        ends.push_back(recordEnd);
    }
    for (std::size_t length = headerSize; length <= good.size(); ++length) {
        SCOPED_TRACE(length);
        while (wholeRecords < ends.size() && ends[wholeRecords] <= length)
            ++wholeRecords;
        ReplayReader reader;
        std::string why;
        ASSERT_TRUE(reader.parse(good.substr(0, length), why)) << why;
        EXPECT_EQ(reader.eventCount(), wholeRecords);
        EXPECT_EQ(reader.truncated(),
                  wholeRecords == 0 ? length != headerSize : ends[wholeRecords - 1] != length);
        std::size_t played = 0;
        for (ReplayEvent event; reader.next(event);)
            ++played;
        EXPECT_EQ(played, wholeRecords);
    }
}

// Through the file: a missing file and a folder cannot be read.
TEST(ReplayReader, WhatIsNoFileCannotBeRead) {
    for (const char* path : {"/nonexistent/game.vtr", "/tmp"}) {
        SCOPED_TRACE(path);
        ReplayReader reader;
        std::string why;
        EXPECT_FALSE(reader.load(path, why));
        EXPECT_EQ(why, "cannot be read");
    }
}
