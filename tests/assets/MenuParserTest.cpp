#include "assets/MenuParser.h"
#include "support/TempDir.h"
#include <gtest/gtest.h>

namespace {

bool loadText(const TempDir& dir, const std::string& text, std::vector<Menu>& menus) {
    return loadMenu(dir.write("menu.xml", text).c_str(), menus);
}

} // namespace

// The list starts with five menus: "menulist" empties it. Values are kept
// untrimmed.
TEST(MenuParser, MenuWithoutIdInheritsAndIdsOutsideAMenuNameNothing) {
    TempDir dir;
    std::vector<Menu> menus(5);
    ASSERT_TRUE(loadText(dir,
                         "<?xml version=\"1.0\"?>\n<menulist><id>list</id>\n"
                         "<menu><label>stray</label><option><label>Play</label>"
                         "<execute>tanks 2; menu none</execute><id>play</id></option></menu>\n"
                         "<menu><id>first</id><option><id>o</id><label> Quit </label>"
                         "<choice>2</choice><choice>3</choice></option></menu>\n"
                         "<menu><option><label>y</label></option></menu></menulist>",
                         menus));
    ASSERT_EQ(menus.size(), 3u);
    for (const Menu& menu : menus)
        ASSERT_EQ(menu.options.size(), 1u);
    const MenuOption &play = menus[0].options[0], &quit = menus[1].options[0];
    EXPECT_EQ(menus[0].id, "");
    EXPECT_EQ(play.label + "|" + play.id + "|" + play.execute, "Play|play|tanks 2; menu none");
    EXPECT_TRUE(play.choices.empty());
    EXPECT_EQ(quit.label, " Quit ");
    EXPECT_EQ(quit.choices, (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(menus[2].id, "first");
    EXPECT_EQ(menus[2].options[0].label + "|" + menus[2].options[0].id, "y|");
}

// Every nested end tag copies what is being built again: this 100 KB file
// would otherwise ask for some 200 MB of copies.
TEST(MenuParser, NestedCopiesAreRefusedBeyondTheLimit) {
    TempDir dir;
    std::string open = "<menulist>";
    std::string close = "</menulist>";
    for (int i = 0; i < 64; ++i) {
        open += "<menu><option>";
        close = "</option></menu>" + close;
    }
    const std::string label = "<label>" + std::string(100000, 'x') + "</label>";
    std::vector<Menu> menus;
    EXPECT_FALSE(loadText(dir, open + label + close, menus));
    std::size_t bytes = 0;
    for (const Menu& menu : menus)
        for (const MenuOption& option : menu.options)
            bytes += option.label.size();
    EXPECT_LE(bytes, MenuParser::maxCopiedBytes);
}
