#include "app/Console.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(ConsoleTest, NewestLineComesFirstAndTheOldestDropsPastTheLimit) {
    Console console;
    for (int i = 1; i <= 129; ++i)
        console.addLine("line " + std::to_string(i));
    ASSERT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().front(), "line 129");
    EXPECT_EQ(console.lines().back(), "line 2");

    // While typing, the input line may be the 129th; committing trims it back.
    console.setInputLine("typed");
    EXPECT_EQ(console.lines().size(), 129u);
    console.commitInputLine();
    EXPECT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().front(), "typed");
}

TEST(ConsoleTest, MessagesGoBehindAnOpenInputLineAndACommitOpensAFreshOne) {
    Console console;
    console.addLine("Vantrell");
    EXPECT_EQ(console.inputLine(), "");
    console.setInputLine("  set fp "); // kept as typed, blanks and all
    console.addLine("Invalid variable.");
    EXPECT_EQ(std::vector<std::string>(console.lines().begin(), console.lines().end()),
              (std::vector<std::string>{"  set fp ", "Invalid variable.", "Vantrell"}));

    console.commitInputLine();
    EXPECT_FALSE(console.inputOpen());
    EXPECT_EQ(console.inputLine(), "");
    EXPECT_TRUE(console.inputOpen());
    EXPECT_EQ(console.lines().size(), 4u);
    EXPECT_EQ(*std::next(console.lines().begin()), "  set fp ");
}
