#include "app/NetworkRecord.h"
#include "app/ReplayedNetworkLink.h"
#include "support/TraceCapture.h"
#include <cmath>
#include <gtest/gtest.h>

// A networked game's replay gives back the beginning, the actions at their
// steps and each update's number of steps, whatever bytes it is handed.
TEST(NetworkRecord, ARecordedGameStepsAsItWasPlayed) {
    ReplayedNetworkLink link(false);
    link.feed(NetworkRecord::begin(Begin{77, {0, 3}}, 3));
    ASSERT_NE(link.beginning(), nullptr);
    EXPECT_EQ(link.beginning()->seed, 77u);
    EXPECT_EQ(link.machine(), 3);
    EXPECT_FALSE(link.isHost());
    ASSERT_EQ(link.takeEvents().size(), 1u);

    ShotMessage shot;
    shot.step = 2;
    shot.tank = 1;
    shot.turretDegrees = 12.5f;
    shot.velocity = 33.0f;
    link.feed(NetworkRecord::applied(LockstepAction{2, 3, 5, shot}));
    link.feed(NetworkRecord::applied(LockstepAction{2, 0, 9, Command{2, 4, "tanks 2"}}));
    link.feed(NetworkRecord::stepsRun(3));

    std::vector<std::size_t> actionsPerStep;
    while (link.mayStep()) {
        actionsPerStep.push_back(link.takeActions().size());
        link.stepped();
    }
    EXPECT_EQ(actionsPerStep, (std::vector<std::size_t>{0, 0, 2}));
    EXPECT_EQ(link.step(), 3u);

    link.feed(NetworkRecord::ended("The host left the game"));
    const std::vector<SessionEvent> events = link.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].text, "The host left the game");
}

TEST(NetworkRecord, ActionsComeBackExactly) {
    ShotMessage shot;
    shot.step = 900;
    shot.tank = 63;
    shot.turretDegrees = 359.99997f;
    shot.barrelDegrees = -0.0f;
    shot.velocity = 100.0f;
    shot.weapon = 5;
    const NetworkRecord read = NetworkRecord::read(NetworkRecord::applied(LockstepAction{900, 1, 42, shot}));
    ASSERT_EQ(read.kind, NetworkRecord::Kind::action);
    EXPECT_EQ(read.action.step, 900u);
    EXPECT_EQ(read.action.machine, 1);
    EXPECT_EQ(read.action.sequence, 42u);
    const ShotMessage& back = std::get<ShotMessage>(read.action.body);
    EXPECT_EQ(back.turretDegrees, shot.turretDegrees);
    EXPECT_TRUE(std::signbit(back.barrelDegrees));
    EXPECT_EQ(back.weapon, 5);
}

TEST(NetworkRecord, DamagedBytesAreNoRecord) {
    std::string truncated = NetworkRecord::applied(LockstepAction{1, 0, 1, Command{1, 0, "terrain"}});
    truncated.pop_back();
    const std::string cases[] = {"", std::string(1, '\x09'), std::string(1, '\x02') + "abc",
                                 std::string(1, '\x01') + "junk", truncated,
                                 std::string(1, '\x03') + std::string(4, '\0')};
    for (const std::string& bytes : cases)
        EXPECT_EQ(NetworkRecord::read(bytes).kind, NetworkRecord::Kind::damaged) << bytes.size();

    TraceCapture capture;
    ReplayedNetworkLink link(true);
    link.feed(truncated);
    EXPECT_FALSE(link.mayStep());
    EXPECT_EQ(capture.err(), "Replay: a damaged network record was passed over\n");
}
