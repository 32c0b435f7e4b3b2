#pragma once
#include "assets/Menu.h"
#include "assets/XMLParser.h"
#include <cstddef>
#include <string>
#include <vector>

// Builds the menu list from the menu file. Lives for one loadMenu call; the list
// stays owned by the caller.
class MenuParser : public XMLParser {
public:
    explicit MenuParser(std::vector<Menu>& menus);
    ~MenuParser() override;

    void startElement(void* userData, const char* name, const char** attributes) override;
    void endElement(void* userData, const char* name) override;
    void characterData(void* userData, const char* text, int length) override;

    // Every "menu" and "option" end tag copies what is being built, and nested
    // ones copy it again, so a small file could ask for copies without end.
    // The bytes copied into the list and the menu are counted against this.
    static constexpr std::size_t maxCopiedBytes = 32u * 1024 * 1024;

private:
    bool charge(std::size_t bytes); // false once over the limit: copy nothing

    std::vector<Menu>& menus;
    std::vector<std::string> openElements; // innermost last
    Menu menu;                             // the menu being built
    MenuOption option;                     // the option being built
    std::size_t menuBytes = 0;             // what copying `menu` costs
    std::size_t copiedBytes = 0;
};
