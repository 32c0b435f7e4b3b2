#include "app/Console.h"
#include <gtest/gtest.h>
#include <list>
#include <string>

// Newest first, 128 at most: while typing the input line may be the 129th, and
// committing trims it back.
TEST(ConsoleTest, NewestLineComesFirstAndTheOldestDropsPastTheLimit) {
    Console console;
    for (int i = 1; i <= 129; ++i)
        console.addLine("line " + std::to_string(i));
    ASSERT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().back(), "line 2");
    console.setInputLine("typed");
    EXPECT_EQ(console.lines().size(), 129u);
    console.commitInputLine();
    EXPECT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().front(), "typed");
}

// A message goes behind an open input line, kept as typed, blanks and all.
TEST(ConsoleTest, MessagesGoBehindAnOpenInputLineAndACommitOpensAFreshOne) {
    Console console;
    console.addLine("Vantrell");
    console.setInputLine("  set fp ");
    console.addLine("Invalid variable.");
    using Lines = std::list<std::string>;
    EXPECT_EQ(console.lines(), (Lines{"  set fp ", "Invalid variable.", "Vantrell"}));
    console.commitInputLine();
    EXPECT_FALSE(console.inputOpen());
    EXPECT_EQ(console.inputLine(), "");
    EXPECT_EQ(console.lines(), (Lines{"", "  set fp ", "Invalid variable.", "Vantrell"}));
}
