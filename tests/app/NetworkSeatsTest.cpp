#include "app/NetworkSeats.h"
#include <gtest/gtest.h>

// People's tanks go round the machines in join order; a machine that left is
// dealt nothing in later games and its tanks in the game on have no seat.
TEST(NetworkSeats, DealsRoundRobinOverTheMachinesStillThere) {
    NetworkSeats seats;
    seats.beginSession({0, 2, 5});
    seats.deal({11, 12, 13, 14});
    EXPECT_EQ(seats.machineOf(11), 0);
    EXPECT_EQ(seats.machineOf(12), 2);
    EXPECT_EQ(seats.machineOf(13), 5);
    EXPECT_EQ(seats.machineOf(14), 0);
    EXPECT_EQ(seats.numberOf(13), 2);
    EXPECT_EQ(seats.tankAt(3), 14u);

    EXPECT_EQ(seats.leave(0), (std::vector<std::uint32_t>{11, 14}));
    EXPECT_EQ(seats.machineOf(11), NetworkSeats::noSeat);
    EXPECT_TRUE(seats.isGone(0));

    seats.deal({21, 22, 23});
    EXPECT_EQ(seats.machineOf(21), 2);
    EXPECT_EQ(seats.machineOf(22), 5);
    EXPECT_EQ(seats.machineOf(23), 2);
}

TEST(NetworkSeats, UnknownTanksAndNumbersHaveNoSeat) {
    NetworkSeats seats;
    seats.beginSession({0, 1});
    seats.deal({7});
    for (const int number : {-1, 1, 255})
        EXPECT_EQ(seats.tankAt(number), 0u) << number;
    EXPECT_EQ(seats.machineOf(8), NetworkSeats::noSeat);
    EXPECT_EQ(seats.numberOf(8), -1);
    // Every machine gone: a new game's tanks are nobody's.
    seats.leave(0);
    seats.leave(1);
    seats.deal({9, 10});
    EXPECT_EQ(seats.machineOf(9), NetworkSeats::noSeat);
}
