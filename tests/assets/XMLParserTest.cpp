#include "assets/XMLParser.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every handler call as one line, and whether expat handed the parser
// itself as user data.
class RecordingParser : public XMLParser {
public:
    void startElement(void* userData, const char* name, const char** attributes) override {
        std::string line = std::string("start ") + name;
        for (const char** a = attributes; *a != nullptr; a += 2) {
            line += std::string(" ") + a[0] + "=" + a[1];
        }
        record(userData, line);
        if (stopAt == name) {
            stopParsing();
        }
    }
    void endElement(void* userData, const char* name) override {
        record(userData, std::string("end ") + name);
    }
    void characterData(void* userData, const char* text, int length) override {
        record(userData, "text " + std::string(text, static_cast<std::size_t>(length)));
    }

    std::vector<std::string> events;
    bool userDataWasThis = true;
    std::string stopAt;

private:
    void record(void* userData, const std::string& line) {
        userDataWasThis = userDataWasThis && userData == this;
        events.push_back(line);
    }
};

// Text runs are joined: expat may split one run over several calls.
std::vector<std::string> joinedEvents(const std::vector<std::string>& events) {
    std::vector<std::string> joined;
    for (const std::string& e : events) {
        if (!joined.empty() && e.rfind("text ", 0) == 0 && joined.back().rfind("text ", 0) == 0) {
            joined.back() += e.substr(5);
        } else {
            joined.push_back(e);
        }
    }
    return joined;
}

} // namespace

TEST(XMLParser, SameCallbacksForLfCrLfAndNoFinalLineEnd) {
    TempDir dir;
    const std::vector<std::string> expected = {
        "start menu", "text \n  ", "start id a=1", "text main", "end id",
        "text \n  ",  "start x",   "end x",        "text \n",   "end menu"};
    const std::string lf = "<menu>\n  <id a=\"1\">main</id>\n  <x/>\n</menu>";
    std::string crlf;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    for (const std::string& text : {lf + "\n", crlf + "\r\n", lf, crlf}) {
        SCOPED_TRACE(::testing::PrintToString(text));
        RecordingParser parser;
        EXPECT_TRUE(parser.parse(dir.write("doc.xml", text).c_str()));
        EXPECT_EQ(joinedEvents(parser.events), expected);
        EXPECT_TRUE(parser.userDataWasThis);
    }
}

TEST(XMLParser, RefusedFilesCallNothingOrKeepWhatRanBeforeTheError) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"second root", "<a>t</a><b/>", {"start a", "text t", "end a"}},
        {"mismatched", "<a><b></a>", {"start a", "start b"}},
        {"not utf-8", "<a>\xff</a>", {"start a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingParser parser;
        EXPECT_FALSE(parser.parse(dir.write("doc.xml", c.text).c_str()));
        EXPECT_EQ(parser.events, c.events);
    }
    RecordingParser missing;
    EXPECT_FALSE(missing.parse(dir.path("missing.xml").c_str()));
    EXPECT_TRUE(missing.events.empty());
}

TEST(XMLParser, StopParsingFailsTheDocumentAndSilencesLaterEvents) {
    TempDir dir;
    RecordingParser parser;
    parser.stopAt = "b";
    EXPECT_FALSE(parser.parse(dir.write("doc.xml", "<a><b/><c>t</c></a>").c_str()));
    EXPECT_EQ(parser.events, (std::vector<std::string>{"start a", "start b"}));
}

// The whole file is read into memory, so its size is the bound.
TEST(XMLParser, FileLargerThanTheLimitIsRefusedUnread) {
    TempDir dir;
    const std::string root = "<a/>";
    std::string text = root + std::string(XMLParser::maxFileBytes - root.size(), ' ');
    RecordingParser atLimit;
    EXPECT_TRUE(atLimit.parse(dir.write("doc.xml", text).c_str()));
    RecordingParser over;
    EXPECT_FALSE(over.parse(dir.write("doc.xml", text + " ").c_str()));
    EXPECT_TRUE(over.events.empty());
}

TEST(XMLParser, EntitiesWorkButLongDeclarationChainsAreRefused) {
    TempDir dir;
    RecordingParser few;
    const std::string fewText =
        "<!DOCTYPE a [<!ENTITY e1 \"x\"><!ENTITY e2 \"&e1;&e1;\">]><a>&e2;</a>";
    EXPECT_TRUE(few.parse(dir.write("few.xml", fewText).c_str()));
    EXPECT_EQ(joinedEvents(few.events), (std::vector<std::string>{"start a", "text xx", "end a"}));

    // Each reference nests one level deeper inside expat; a chain this long
    // would exhaust the stack if it were expanded.
    std::string chain = "<!DOCTYPE a [<!ENTITY e0 \"x\">";
    const int length = 200000;
    for (int i = 1; i <= length; ++i) {
        chain += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">";
    }
    chain += "]><a>&e" + std::to_string(length) + ";</a>";
    RecordingParser deep;
    EXPECT_FALSE(deep.parse(dir.write("deep.xml", chain).c_str()));
    EXPECT_TRUE(deep.events.empty());
}
