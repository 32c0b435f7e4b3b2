#include "app/Console.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const Console& console) {
    return {console.lines().begin(), console.lines().end()};
}

} // namespace

TEST(ConsoleTest, NewestLineComesFirstAndTheOldestDropsPastTheLimit) {
    Console console;
    for (int i = 1; i <= 129; ++i)
        console.addLine("line " + std::to_string(i));
    ASSERT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().front(), "line 129");
    EXPECT_EQ(console.lines().back(), "line 2");
}

TEST(ConsoleTest, MessagesGoBehindAnOpenInputLine) {
    Console console;
    console.addLine("Vantrell");
    console.setInputLine("set fp");
    console.addLine("Invalid variable.");
    EXPECT_EQ(linesOf(console),
              (std::vector<std::string>{"set fp", "Invalid variable.", "Vantrell"}));
    EXPECT_EQ(console.inputLine(), "set fp");
}

TEST(ConsoleTest, InputLineOpensAFreshLineRatherThanReusingACommittedOne) {
    Console console;
    console.setInputLine("tanks 2");
    console.commitInputLine();
    EXPECT_FALSE(console.inputOpen());
    EXPECT_EQ(console.inputLine(), "");
    EXPECT_TRUE(console.inputOpen());
    EXPECT_EQ(linesOf(console), (std::vector<std::string>{"", "tanks 2"}));
}

TEST(ConsoleTest, InputLineOnAnEmptyConsoleIsEmptyAndNotTrimmed) {
    Console console;
    EXPECT_EQ(console.inputLine(), "");
    console.setInputLine("  menu options  ");
    EXPECT_EQ(console.inputLine(), "  menu options  ");
    EXPECT_EQ(console.lines().size(), 1u);
}

TEST(ConsoleTest, CommittingTrimsToTheLimit) {
    Console console;
    for (int i = 0; i < 128; ++i)
        console.addLine("old");
    console.setInputLine("typed"); // the 129th line, allowed while typing
    EXPECT_EQ(console.lines().size(), 129u);
    console.commitInputLine();
    EXPECT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().front(), "typed");
}
