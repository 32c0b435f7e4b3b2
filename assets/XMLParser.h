#pragma once
#include <cstddef>

struct XML_ParserStruct; // expat's parser; only the source file knows expat

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

    // Files are read whole into memory; anything larger is refused unread.
    static constexpr long maxFileBytes = 16L * 1024 * 1024;
    // Each nested entity reference costs expat a stack frame, so a chain of
    // declarations is the one way a small file could exhaust the stack.
    static constexpr int maxEntityDeclarations = 64;

protected:
    // For a handler that meets a document it must not build (too deep, too
    // big): parse then returns false and no handler is called again.
    void stopParsing();

private:
    static void onStart(void* userData, const char* name, const char** attributes);
    static void onEnd(void* userData, const char* name);
    static void onText(void* userData, const char* text, int length);
    static void onEntityDeclaration(void* userData, const char* entityName, int isParameterEntity,
                                    const char* value, int valueLength, const char* base,
                                    const char* systemId, const char* publicId,
                                    const char* notationName);

    XML_ParserStruct* handle = nullptr; // valid only within parse
    bool stopped = false;
    int entityDeclarations = 0;
};
