#include "assets/MenuParser.h"

namespace {

std::size_t bytesOf(const MenuOption& option) {
    std::size_t bytes =
        sizeof(MenuOption) + option.id.size() + option.label.size() + option.execute.size();
    for (const std::string& choice : option.choices) {
        bytes += sizeof(std::string) + choice.size();
    }
    return bytes;
}

} // namespace

MenuParser::MenuParser(std::vector<Menu>& target) : menus(target) {}

MenuParser::~MenuParser() = default;

bool MenuParser::charge(std::size_t bytes) {
    copiedBytes += bytes;
    if (copiedBytes > maxCopiedBytes) {
        stopParsing();
        return false;
    }
    return true;
}

void MenuParser::startElement(void*, const char* name, const char**) {
    const std::string element(name);
    openElements.push_back(element);
    if (element == "menulist") {
        menus.clear();
    } else if (element == "option") {
        option = MenuOption();
    } else if (element == "menu") {
        // The id stays: a menu without one answers to the previous menu's id.
        menu.options.clear();
        menu.selected = 0;
        menuBytes = sizeof(Menu);
    }
}

void MenuParser::endElement(void*, const char* name) {
    const std::string element(name);
    if (element == "menu") {
        if (charge(menuBytes + menu.id.size())) {
            menus.push_back(menu);
        }
    } else if (element == "option") {
        const std::size_t bytes = bytesOf(option);
        if (charge(bytes)) {
            menuBytes += bytes;
            menu.options.push_back(option);
        }
    }
    openElements.pop_back();
}

void MenuParser::characterData(void*, const char* text, int length) {
    if (openElements.empty()) {
        return;
    }
    const std::string value(text, static_cast<std::size_t>(length));
    const std::string& innermost = openElements.back();
    const std::size_t open = openElements.size();
    if (innermost == "id") {
        if (open < 3) {
            return;
        }
        const std::string& enclosing = openElements[open - 2];
        if (enclosing == "option") {
            option.id = value;
        } else if (enclosing == "menu") {
            menu.id = value;
        }
    } else if (innermost == "label") {
        option.label = value;
    } else if (innermost == "execute") {
        option.execute = value;
    } else if (innermost == "choice" && open >= 3) {
        if (charge(sizeof(std::string) + value.size())) {
            option.choices.push_back(value);
        }
    }
}
