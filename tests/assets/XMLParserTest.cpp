#include "assets/XMLParser.h"
#include "support/TempDir.h"
#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

// Records every handler call as one line; text runs are joined, as expat may
// split one over several calls.
class RecordingParser : public XMLParser {
public:
    void startElement(void*, const char* name, const char**) override {
        events.push_back(std::string("start ") + name);
        if (events.back() == "start b")
            stopParsing();
    }
    void endElement(void*, const char* name) override {
        events.push_back(std::string("end ") + name);
    }
    void characterData(void*, const char* text, int length) override {
        const std::string run(text, static_cast<std::size_t>(length));
        if (!events.empty() && events.back().rfind("text ", 0) == 0)
            events.back() += run;
        else
            events.push_back("text " + run);
    }

    Events events;
};

} // namespace

// A handler's stop (the parser above stops at "b") fails the document like a
// syntax error, and nothing is reported after it.
TEST(XMLParser, RefusedFilesKeepOnlyWhatRanBeforeTheError) {
    TempDir dir;
    // Each entity reference nests one level deeper inside expat; a chain this
    // long would exhaust the stack if it were expanded.
    std::string chain = "<!DOCTYPE a [<!ENTITY e0 \"x\">";
    for (int i = 1; i <= 200000; ++i)
        chain += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">";
    struct Case {
        std::string text;
        Events events;
    };
    const Case cases[] = {
        {"", {}},
        {"<a><c></a>", {"start a", "start c"}},
        {"<a><b/><c>t</c></a>", {"start a", "start b"}},
        // The whole file is read into memory, so its size is the bound.
        {"<a/>" + std::string(XMLParser::maxFileBytes - 3, ' '), {}},
        {chain + "]><a>&e200000;</a>", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        RecordingParser parser;
        EXPECT_FALSE(parser.parse(dir.write("doc.xml", c.text).c_str()));
        EXPECT_EQ(parser.events, c.events);
    }
    RecordingParser missing;
    EXPECT_FALSE(missing.parse(dir.path("missing.xml").c_str()));
    EXPECT_TRUE(missing.events.empty());
    RecordingParser atLimit;
    EXPECT_TRUE(atLimit.parse(
        dir.write("doc.xml", "<a/>" + std::string(XMLParser::maxFileBytes - 4, ' ')).c_str()));
}
