#include "assets/XMLParser.h"

#include <expat.h>

#include <fstream>
#include <vector>

void XMLParser::startElement(void*, const char*, const char**) {}
void XMLParser::endElement(void*, const char*) {}
void XMLParser::characterData(void*, const char*, int) {}

bool XMLParser::parse(const char* fileName) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (parser == nullptr) {
        return false;
    }
    XML_SetUserData(parser, this);

    // Read the whole file in one piece; one over the limit is refused before
    // anything is allocated for it.
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        XML_ParserFree(parser);
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (!file || length < 0 || length > maxFileBytes) {
        XML_ParserFree(parser);
        return false;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    file.read(buffer.data(), length);
    const int readLength = static_cast<int>(file.gcount());

    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    XML_SetEntityDeclHandler(parser, onEntityDeclaration);

    handle = parser;
    stopped = false;
    entityDeclarations = 0;
    const bool accepted = XML_Parse(parser, buffer.data(), readLength, 1) != XML_STATUS_ERROR;
    handle = nullptr;
    XML_ParserFree(parser);
    return accepted && !stopped;
}

void XMLParser::stopParsing() {
    // expat may still deliver an event or two after a stop (the end of an
    // empty element); the flag keeps them from the subclass.
    stopped = true;
    if (handle != nullptr) {
        XML_StopParser(handle, XML_FALSE);
    }
}

void XMLParser::onStart(void* userData, const char* name, const char** attributes) {
    XMLParser* parser = static_cast<XMLParser*>(userData);
    if (!parser->stopped) {
        parser->startElement(userData, name, attributes);
    }
}

void XMLParser::onEnd(void* userData, const char* name) {
    XMLParser* parser = static_cast<XMLParser*>(userData);
    if (!parser->stopped) {
        parser->endElement(userData, name);
    }
}

void XMLParser::onText(void* userData, const char* text, int length) {
    XMLParser* parser = static_cast<XMLParser*>(userData);
    if (!parser->stopped) {
        parser->characterData(userData, text, length);
    }
}

void XMLParser::onEntityDeclaration(void* userData, const char*, int, const char*, int, const char*,
                                    const char*, const char*, const char*) {
    XMLParser* parser = static_cast<XMLParser*>(userData);
    if (++parser->entityDeclarations > maxEntityDeclarations) {
        parser->stopParsing();
    }
}
