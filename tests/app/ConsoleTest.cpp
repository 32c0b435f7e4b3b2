#include "app/Console.h"
#include <gtest/gtest.h>
#include <list>
#include <string>

// Newest first, 128 at most: while typing the input line may be the 129th, and
// committing trims it back. A message goes behind an open input line, kept as
// typed, blanks and all; after a commit the next input line is a fresh one.
TEST(ConsoleTest, NewestLineComesFirstBehindTheInputLineAndTheOldestDropsPastTheLimit) {
    Console console;
    for (int i = 1; i <= 129; ++i)
        console.addLine("line " + std::to_string(i));
    ASSERT_EQ(console.lines().size(), 128u);
    EXPECT_EQ(console.lines().back(), "line 2");
    console.setInputLine("  set fp ");
    EXPECT_EQ(console.lines().size(), 129u);
    console.addLine("Invalid variable.");
    using Lines = std::list<std::string>;
    EXPECT_EQ(Lines(console.lines().begin(), std::next(console.lines().begin(), 3)),
              (Lines{"  set fp ", "Invalid variable.", "line 129"}));
    console.commitInputLine();
    EXPECT_EQ(console.lines().size(), 128u);
    EXPECT_FALSE(console.inputOpen());
    EXPECT_EQ(console.inputLine(), "");
    EXPECT_EQ(Lines(console.lines().begin(), std::next(console.lines().begin(), 2)),
              (Lines{"", "  set fp "}));
}
