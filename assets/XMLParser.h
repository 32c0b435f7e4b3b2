#pragma once
#include <cstddef>

// Base of the game's XML readers: reads a whole file, hands it to expat in one
// call and turns expat's callbacks into the three virtual handlers.
class XMLParser {
public:
    XMLParser() = default;
    virtual ~XMLParser() = default;
    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    virtual void startElement(void* userData, const char* name, const char** attributes);
    virtual void endElement(void* userData, const char* name);
    virtual void characterData(void* userData, const char* text, int length);

    // True when expat accepted the whole document.
    bool parse(const char* fileName);
};
