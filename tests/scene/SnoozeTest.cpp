// The pause between passes counts whole seconds of local time and ends for good.
#include "scene/Snooze.h"

#include <gtest/gtest.h>

#include "base/FakeClock.h"

namespace lumi {
namespace {

class SnoozeTest : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock); }
    void TearDown() override { SetClock(nullptr); }
    FakeClock clock{1798146000LL * 1000, 60};
};

TEST_F(SnoozeTest, CountsDownWholeSecondsAndThenStaysOver) {
    Snooze snooze;
    EXPECT_EQ(snooze.Remaining(), 0u);
    snooze.Start(20);
    EXPECT_EQ(snooze.Remaining(), 20u);
    clock.Advance(5900);  // 5.9 s elapsed count as 5
    EXPECT_EQ(snooze.Remaining(), 15u);
    clock.Advance(14000);
    EXPECT_EQ(snooze.Remaining(), 1u);
    clock.Advance(100);
    EXPECT_EQ(snooze.Remaining(), 0u);
    EXPECT_EQ(snooze.Length(), 0u);
    clock.Advance(-60000);  // even a clock set back does not restart it
    EXPECT_EQ(snooze.Remaining(), 0u);
}

TEST_F(SnoozeTest, AClockSetBackDoesNotStretchThePauseBeyondItsLength) {
    Snooze snooze;
    snooze.Start(10);
    clock.Advance(-3600 * 1000);
    EXPECT_EQ(snooze.Remaining(), 10u);
    clock.Advance(10000);
    EXPECT_EQ(snooze.Remaining(), 0u);
}

}  // namespace
}  // namespace lumi
