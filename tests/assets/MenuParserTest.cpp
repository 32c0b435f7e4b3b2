#include "assets/MenuParser.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool loadText(const TempDir& dir, const std::string& text, std::vector<Menu>& menus) {
    return loadMenu(dir.write("menu.xml", text).c_str(), menus);
}

std::vector<std::string> labels(const Menu& menu) {
    std::vector<std::string> result;
    for (const MenuOption& option : menu.options) {
        result.push_back(option.label);
    }
    return result;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(MenuParser, MenusAndOptionsInFileOrderWithTheirValues) {
    TempDir dir;
    std::vector<Menu> menus;
    ASSERT_TRUE(loadText(dir,
                         "<?xml version=\"1.0\"?>\n<menulist>\n"
                         " <menu><id>main</id>\n"
                         "  <option><label>Play</label><execute>tanks 2; menu none</execute>"
                         "<id>play</id></option>\n"
                         "  <option><label> Quit </label><execute>quit</execute></option>\n"
                         " </menu>\n"
                         " <menu><id>setup</id>\n"
                         "  <option><label>Players</label><choice>2</choice><choice>3</choice>"
                         "<choice>4</choice></option>\n"
                         "  <option><label>A</label></option><option><label>B</label></option>\n"
                         " </menu>\n"
                         "</menulist>\n",
                         menus));
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0].id, "main");
    EXPECT_EQ(labels(menus[0]), (Strings{"Play", " Quit "})); // nothing is trimmed
    EXPECT_EQ(menus[0].options[0].id, "play");
    EXPECT_EQ(menus[0].options[0].execute, "tanks 2; menu none");
    EXPECT_TRUE(menus[0].options[1].choices.empty());
    EXPECT_EQ(menus[1].id, "setup");
    EXPECT_EQ(labels(menus[1]), (Strings{"Players", "A", "B"}));
    EXPECT_EQ(menus[1].options[0].choices, (Strings{"2", "3", "4"}));
    for (const Menu& menu : menus) {
        EXPECT_EQ(menu.selected, 0);
        for (const MenuOption& option : menu.options) {
            EXPECT_EQ(option.choice, 0);
        }
    }
}

TEST(MenuParser, MenuWithoutIdInheritsAndStrayTextIsLost) {
    TempDir dir;
    std::vector<Menu> menus;
    ASSERT_TRUE(loadText(dir,
                         "<menulist><id>list</id>"
                         "<menu><label>stray</label><option><label>x</label></option></menu>"
                         "<menu><id>first</id><option><id>o</id></option></menu>"
                         "<menu><option><label>y</label></option></menu></menulist>",
                         menus));
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].id, ""); // an id directly in menulist names nothing
    EXPECT_EQ(labels(menus[0]), (Strings{"x"}));
    EXPECT_EQ(menus[2].id, "first");
    EXPECT_EQ(labels(menus[2]), (Strings{"y"}));
    EXPECT_EQ(menus[2].options[0].id, "");
}

TEST(MenuParser, MenulistEmptiesSoLoadingTwiceGivesTheListOnce) {
    TempDir dir;
    const std::string file = dir.write(
        "menu.xml", "<menulist><menu><id>a</id></menu><menu><id>b</id></menu></menulist>");
    std::vector<Menu> menus(5);
    ASSERT_TRUE(loadMenu(file.c_str(), menus));
    ASSERT_TRUE(loadMenu(file.c_str(), menus));
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[1].id, "b");
}

TEST(MenuParser, MalformedFileKeepsTheMenusClosedBeforeTheError) {
    TempDir dir;
    std::vector<Menu> menus;
    EXPECT_FALSE(
        loadText(dir, "<menulist><menu><id>a</id></menu><menu><id>b</id></menulist>", menus));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].id, "a");
    EXPECT_FALSE(loadMenu(dir.path("missing.xml").c_str(), menus));
}

// Every nested end tag copies what is being built again: this 100 KB file
// would otherwise ask for some 200 MB of copies.
TEST(MenuParser, NestedCopiesAreRefusedBeyondTheLimit) {
    TempDir dir;
    const int depth = 64;
    std::string text = "<menulist>";
    for (int i = 0; i < depth; ++i) {
        text += "<menu><option>";
    }
    text += "<label>" + std::string(100000, 'x') + "</label>";
    for (int i = 0; i < depth; ++i) {
        text += "</option></menu>";
    }
    text += "</menulist>";
    std::vector<Menu> menus;
    EXPECT_FALSE(loadText(dir, text, menus));
    std::size_t bytes = 0;
    for (const Menu& menu : menus) {
        for (const MenuOption& option : menu.options) {
            bytes += option.label.size();
        }
    }
    EXPECT_LE(bytes, MenuParser::maxCopiedBytes);
}
