#include "assets/Menu.h"

#include "assets/MenuParser.h"

bool loadMenu(const char* fileName, std::vector<Menu>& menus) {
    MenuParser parser(menus);
    return parser.parse(fileName);
}
