#include "assets/Menu.h"

#include "FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFile file(".xml");
    std::vector<Menu> menus;
    loadMenu(file.write(data, size), menus);
    return 0;
}
