#pragma once
#include <string>
#include <vector>

struct MenuOption {
    std::string id;
    std::string label;
    std::string execute;  // command line run when the option is chosen
    int choice = 0;
    std::vector<std::string> choices;
};

struct Menu {
    std::vector<MenuOption> options;
    int selected = 0;
    std::string id;
};

// Reads an XML menu file into `menus` (emptied by the root element).
bool loadMenu(const char* fileName, std::vector<Menu>& menus);
