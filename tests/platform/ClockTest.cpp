// Calendar arithmetic and the fake clock that tests and the headless runner drive.
#include "base/Clock.h"
#include "platform/SystemClock.h"

#include <gtest/gtest.h>

#include "base/FakeClock.h"

namespace lumi {
namespace {

TEST(CalendarTest, KnownDates) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
    EXPECT_EQ(DaysFromCivil(2000, 3, 1), 11017);
    EXPECT_EQ(DaysFromCivil(2038, 1, 19), 24855);

    const LocalTime t = CivilFromSeconds(951782400);  // 2000-02-29 00:00 UTC
    EXPECT_EQ(t.year, 100);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.weekday, 2);  // a Tuesday
    EXPECT_EQ(t.yearDay, 59);
}

TEST(CalendarTest, NegativeTimesCountBackFromMidnight) {
    const LocalTime t = CivilFromSeconds(-1);
    EXPECT_EQ(t.year, 69);
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 59);
    EXPECT_EQ(t.weekday, 3);  // a Wednesday
    EXPECT_EQ(t.yearDay, 364);

    const LocalTime midnight = CivilFromSeconds(-86400);
    EXPECT_EQ(midnight.day, 31);
    EXPECT_EQ(midnight.hour, 0);
    EXPECT_EQ(midnight.second, 0);
    EXPECT_EQ(CivilFromSeconds(-86401).day, 30);
}

TEST(CalendarTest, LeapYearsFollowTheGregorianRules) {
    EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2) << "2000 is a leap year";
    EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1) << "1900 is not";
    EXPECT_EQ(DaysFromCivil(2024, 3, 1) - DaysFromCivil(2024, 2, 28), 2);
    EXPECT_EQ(DaysFromCivil(2100, 3, 1) - DaysFromCivil(2100, 2, 28), 1);
    EXPECT_EQ(CivilFromSeconds(DaysFromCivil(2024, 12, 31) * 86400).yearDay, 365);
    EXPECT_EQ(CivilFromSeconds(DaysFromCivil(2023, 12, 31) * 86400).yearDay, 364);
}

TEST(CalendarTest, DaysAndDatesRoundTrip) {
    // Every day from 1600 to 2400 (a whole 400-year cycle on each side of the epoch).
    for (int64_t days = DaysFromCivil(1600, 1, 1); days <= DaysFromCivil(2400, 12, 31); ++days) {
        const LocalTime t = CivilFromSeconds(days * 86400 + 3661);
        ASSERT_EQ(DaysFromCivil(t.year + 1900, t.month + 1, t.day), days);
        ASSERT_EQ(t.hour, 1);
        ASSERT_EQ(t.minute, 1);
        ASSERT_EQ(t.second, 1);
        ASSERT_EQ(t.weekday, static_cast<int>(((days % 7) + 11) % 7));
    }
}

TEST(FakeClockTest, LocalTimeAppliesTheBias) {
    // 2011-04-17 12:00:00.250 UTC; bias -120: local time is two hours ahead.
    const int64_t utc = DaysFromCivil(2011, 4, 17) * 86400 + 12 * 3600;
    FakeClock clock(utc * 1000 + 250, -120);
    EXPECT_EQ(clock.UtcNow(), utc);
    const LocalTime t = clock.LocalNow();
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(t.millisecond, 250);
    EXPECT_EQ(t.day, 17);

    clock.SetBiasMinutes(300);  // five hours behind: the day before
    const LocalTime west = clock.LocalNow();
    EXPECT_EQ(west.hour, 7);
    EXPECT_EQ(west.day, 17);
    clock.SetUtcMilliseconds((utc - 10 * 3600) * 1000);
    EXPECT_EQ(clock.LocalNow().day, 16);
    EXPECT_EQ(clock.LocalNow().hour, 21);
}

TEST(FakeClockTest, FromLocalInvertsToLocal) {
    for (long bias : {-600L, -60L, 0L, 330L}) {
        FakeClock clock(0, bias);
        for (int64_t utc : {int64_t{0}, int64_t{-1}, int64_t{951782399}, int64_t{2147483647}, int64_t{-2208988800}}) {
            const LocalTime local = clock.ToLocal(utc);
            const auto back = clock.FromLocal(local);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, utc) << "bias " << bias;
        }
    }
}

TEST(FakeClockTest, FromLocalNormalisesLikeMktime) {
    FakeClock clock(0, 60);
    LocalTime t;
    t.year = 111;
    t.month = 13;  // February of the next year
    t.day = 29;    // 2012 is a leap year
    t.hour = 25;   // and one hour into the next day
    const auto s = clock.FromLocal(t);
    ASSERT_TRUE(s.has_value());
    const LocalTime back = clock.ToLocal(*s);
    EXPECT_EQ(back.year, 112);
    EXPECT_EQ(back.month, 2);
    EXPECT_EQ(back.day, 1);
    EXPECT_EQ(back.hour, 1);

    t = LocalTime();
    t.year = 100;
    t.month = -1;  // December of the year before
    t.day = 31;
    const LocalTime dec = clock.ToLocal(*clock.FromLocal(t));
    EXPECT_EQ(dec.year, 99);
    EXPECT_EQ(dec.month, 11);
    EXPECT_EQ(dec.day, 31);
}

TEST(FakeClockTest, MovesOnlyWhenTold) {
    FakeClock clock(1000, 0);
    EXPECT_EQ(clock.TickCount(), 0u);
    clock.Advance(1500);
    EXPECT_EQ(clock.TickCount(), 1500u);
    EXPECT_EQ(clock.UtcNow(), 2);
    clock.Sleep(500);
    EXPECT_EQ(clock.TickCount(), 2000u);
    EXPECT_EQ(clock.UtcNow(), 3);
    EXPECT_EQ(clock.TimeZone().bias, 0);
}

TEST(FakeClockTest, NegativeMillisecondsRoundDown) {
    FakeClock clock(-1, 0);
    EXPECT_EQ(clock.UtcNow(), -1);
    EXPECT_EQ(clock.LocalNow().millisecond, 999);
    EXPECT_EQ(clock.LocalNow().second, 59);
}

TEST(ClockRegistryTest, InstalledClockReplacesTheSystemOne) {
    FakeClock clock(42000, 0);
    SetClock(&clock);
    EXPECT_EQ(TheClock().UtcNow(), 42);
    SetClock(nullptr);
    EXPECT_EQ(&TheClock(), &SystemClock());
}

}  // namespace
}  // namespace lumi
