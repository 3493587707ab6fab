// The hourly sound on a fake clock: which check notices the turn, which sound plays at
// which hour, and when the background sound comes back.
#include "scene/TimeEvents.h"

#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "sky/SaverRun.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using Calls = std::vector<std::string>;

class TimeEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetSaverRun();
        ResetHourWatch();
        SetClock(&clock);
        // 100 ms ticks: a check every 20 ticks, on ticks 19, 39, 59, ...
        SaverRun().RealTickTime = 100;
        MainIni().WriteIntForUser("Sound", "Cuckoo", 1);
        MainIni().WriteIntForUser("Sound", "Sound", 123);
        MainIni().WriteIntForUser("Sound", "PlayContinuously", 1);
    }
    void TearDown() override {
        SetClock(nullptr);
        ResetHourWatch();
        ResetSaverRun();
        ResetMainIni();
    }
    void Create() {
        events.Create(nullptr);
        player.calls.clear();
    }
    // A step on the next check tick, with the clock at hh:mm:ss of 2026-03-14.
    Calls CheckAt(int hour, int minute, int second) {
        clock.SetUtcMilliseconds((DaysFromCivil(2026, 3, 14) * 86400 + hour * 3600 + minute * 60 + second) * 1000LL);
        tick += 20;
        SaverRun().TickCounter = tick;
        player.calls.clear();
        events.Step();
        return player.calls;
    }

    testing::TempFolder folder;
    FakeClock clock;
    RecordingSoundPlayer player;
    TimeEvents events;
    int tick = -1;
};

TEST_F(TimeEventsTest, CreateStartsTheBackgroundSoundAndCloseStopsIt) {
    events.Create(nullptr);
    EXPECT_EQ(events.enabled, 1);
    EXPECT_EQ(player.calls, (Calls{"resource 123 loop"}));
    player.calls.clear();
    events.Close();
    EXPECT_EQ(player.calls, (Calls{"stop wave"}));
}

TEST_F(TimeEventsTest, SevenOClockPlaysTheMorningCallThenTheBackgroundReturns) {
    Create();
    EXPECT_EQ(CheckAt(6, 59, 59), Calls{});
    EXPECT_EQ(CheckAt(7, 0, 1), Calls{});  // the turn is seen here
    EXPECT_EQ(CheckAt(7, 0, 3), (Calls{"resource 143"}));
    EXPECT_EQ(CheckAt(7, 0, 5), (Calls{"resource 123 loop"}));
    EXPECT_EQ(CheckAt(7, 0, 7), Calls{});
}

TEST_F(TimeEventsTest, OtherHoursPlayTheCuckoo) {
    Create();
    for (int hour : {13, 10, 0}) {
        const int before = hour == 0 ? 23 : hour - 1;
        CheckAt(before, 59, 58);
        CheckAt(hour, 0, 0);
        EXPECT_EQ(CheckAt(hour, 0, 2), (Calls{"resource 110"})) << hour;
        CheckAt(hour, 0, 4);
    }
    // Nine o'clock is still morning, ten is not (above).
    CheckAt(8, 59, 59);
    CheckAt(9, 0, 1);
    EXPECT_EQ(CheckAt(9, 0, 3), (Calls{"resource 143"}));
}

TEST_F(TimeEventsTest, TheFirstCheckOfARunNeverCountsAsATurn) {
    Create();
    EXPECT_EQ(CheckAt(14, 0, 0), Calls{});
    EXPECT_EQ(CheckAt(14, 0, 2), Calls{});
    EXPECT_EQ(CheckAt(14, 0, 4), Calls{});
}

TEST_F(TimeEventsTest, SettingTheClockBackCountsAsATurn) {
    Create();
    CheckAt(10, 45, 0);
    CheckAt(10, 15, 0);
    EXPECT_EQ(CheckAt(10, 15, 2), (Calls{"resource 110"}));
}

TEST_F(TimeEventsTest, OnlyEveryTwoSecondsOfTicksIsTheClockRead) {
    Create();
    CheckAt(12, 59, 59);
    // Ticks between the checks read nothing, so the turn waits for the next check.
    clock.SetUtcMilliseconds((DaysFromCivil(2026, 3, 14) * 86400 + 13 * 3600) * 1000LL);
    for (int t = tick + 1; t < tick + 20; ++t) {
        SaverRun().TickCounter = t;
        events.Step();
    }
    EXPECT_EQ(player.calls, Calls{});
    EXPECT_EQ(TheHourWatch().lastMinute, 59);
    EXPECT_EQ(CheckAt(13, 0, 1), Calls{});
    EXPECT_EQ(CheckAt(13, 0, 3), (Calls{"resource 110"}));
}

TEST_F(TimeEventsTest, SwitchedOffTheHourPassesSilently) {
    MainIni().WriteIntForUser("Sound", "Cuckoo", 0);
    Create();
    EXPECT_EQ(CheckAt(12, 59, 59), Calls{});
    EXPECT_EQ(CheckAt(13, 0, 1), Calls{});
    EXPECT_EQ(CheckAt(13, 0, 3), Calls{});
    EXPECT_EQ(TheHourWatch().lastMinute, -1);
}

}  // namespace
}  // namespace lumi
