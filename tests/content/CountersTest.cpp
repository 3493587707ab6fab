// Countdown and day-of-life texts at their boundaries, the birthday keyword as scanf
// reads it, the stored countdown, and what the two dialogs refuse.
#include "content/Counters.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "common/TestSupport.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::RecordingMessageBoxes;
using testing::TempFolder;

// 2024-03-10 12:00:00 in a zone two hours east of UTC.
constexpr long kBias = -120;
int64_t LocalSeconds(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second + kBias * 60;
}

class CountersTest : public ::testing::Test {
protected:
    void SetAt(int64_t utcSeconds) { clock.SetUtcMilliseconds(utcSeconds * 1000); }

    FakeClock clock{LocalSeconds(2024, 3, 10, 12) * 1000, kBias};
};

TEST_F(CountersTest, CountdownTextAtItsBoundaries) {
    EXPECT_EQ(CountdownText({2024, 3, 12, 12, 0}, clock), "2 days");
    EXPECT_EQ(CountdownText({2024, 3, 15, 11, 0}, clock), "4 days");
    EXPECT_EQ(CountdownText({2024, 3, 12, 11, 59}, clock), "1 day\n23:59 hours");
    EXPECT_EQ(CountdownText({2024, 3, 11, 12, 0}, clock), "1 day\n00:00 hours");
    EXPECT_EQ(CountdownText({2024, 3, 10, 15, 7}, clock), "03:07 hours");
    EXPECT_EQ(CountdownText({2024, 3, 10, 12, 0}, clock), "00:00 hours");
    EXPECT_EQ(CountdownText({2024, 3, 10, 11, 59}, clock), "Countdown\n   is over");

    SetAt(LocalSeconds(2024, 3, 10, 11, 59, 30));
    EXPECT_EQ(CountdownText({2024, 3, 10, 12, 0}, clock), "00:00 hours");
    // Half a minute past still counts as the last minute: minutes are cut toward zero.
    SetAt(LocalSeconds(2024, 3, 10, 12, 0, 30));
    EXPECT_EQ(CountdownText({2024, 3, 10, 12, 0}, clock), "00:00 hours");

    // Out-of-range fields roll over as the calendar does: 31 February 2025 is 3 March.
    SetAt(LocalSeconds(2025, 2, 28, 12));
    EXPECT_EQ(CountdownText({2025, 2, 31, 12, 0}, clock), "3 days");
}

TEST_F(CountersTest, CountdownTextSurvivesImpossibleTargets) {
    EXPECT_EQ(CountdownText({1000000, 1, 1, 0, 0}, clock), "Countdown\n   is over");
    EXPECT_EQ(CountdownText({2003, 1, 1, 0, 0}, clock), "Countdown\n   is over");
    const std::string far = CountdownText({99999, 1000000, -1000000, 1000000, -1000000}, clock);
    EXPECT_LT(far.size(), 32u);
}

TEST_F(CountersTest, CountdownIsStoredPerUserAndClampedWhenRead) {
    TempFolder folder;
    RecordingMessageBoxes boxes;
    RestartLogAt(folder.File("test.log"));
    IniTextStore store;
    IniFile ini(&store, "guest");
    ASSERT_EQ(ini.Init(folder.Path(), "Lumivan.ini"), 0);

    const CountdownTarget defaults = LoadCountdown(ini);
    EXPECT_EQ(defaults.year, 2003);
    EXPECT_EQ(defaults.month, 1);
    EXPECT_EQ(defaults.day, 1);
    EXPECT_EQ(defaults.hour, 0);
    EXPECT_EQ(defaults.minute, 0);

    SaveCountdown(ini, {2031, 12, 24, 18, 30});
    const CountdownTarget back = LoadCountdown(ini);
    EXPECT_EQ(back.year, 2031);
    EXPECT_EQ(back.month, 12);
    EXPECT_EQ(back.day, 24);
    EXPECT_EQ(back.hour, 18);
    EXPECT_EQ(back.minute, 30);
    EXPECT_EQ(ini.ReadIntForUser("CDCounter", "Min", -1), 30);

    ini.WriteStringForUser("CDCounter", "Year", "-2147483648");
    ini.WriteStringForUser("CDCounter", "Day", "2147483647");
    const CountdownTarget wild = LoadCountdown(ini);
    EXPECT_GE(wild.year, -1000000);
    EXPECT_LE(wild.day, 1000000);
    EXPECT_EQ(CountdownText(wild, clock), "Countdown\n   is over");

    Birthday b{23, 5, 1975};
    SaveBirthday(ini, b);
    EXPECT_EQ(ini.ReadIntForUser("Birthday", "Year", 0), 1975);
    EXPECT_EQ(ini.ReadIntForUser("Birthday", "Month", 0), 5);
    EXPECT_EQ(ini.ReadIntForUser("Birthday", "Day", 0), 23);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CountersTest, DayOfLifeCountsFromTheDayAfterBirth) {
    EXPECT_EQ(DayOfLifeText({9, 3, 2024}, clock), "Day 1\nof your life");
    EXPECT_EQ(DayOfLifeText({10, 3, 2024}, clock), "Wrong birthday");
    EXPECT_EQ(DayOfLifeText({11, 3, 2024}, clock), "Wrong birthday");
    EXPECT_EQ(DayOfLifeText({1, 1, 2100}, clock), "Wrong birthday");
    // Just before midnight the birth date of yesterday is still day 1.
    SetAt(LocalSeconds(2024, 3, 10, 23, 59, 59));
    EXPECT_EQ(DayOfLifeText({9, 3, 2024}, clock), "Day 1\nof your life");
    SetAt(LocalSeconds(2024, 3, 11, 0, 0, 0));
    EXPECT_EQ(DayOfLifeText({9, 3, 2024}, clock), "Day 2\nof your life");
}

TEST_F(CountersTest, DayOfLifeCountsTheYearsBefore1970ByFours) {
    const int64_t since1970 = DaysFromCivil(2024, 3, 10) - DaysFromCivil(1970, 3, 10);
    EXPECT_EQ(DayOfLifeText({10, 3, 1960}, clock), "Day " + std::to_string(3653 + since1970) + "\nof your life");
    EXPECT_EQ(DayOfLifeText({10, 3, 1969}, clock), "Day " + std::to_string(365 + since1970) + "\nof your life");
    // 1900 was no leap year, yet it counts as one here, as it always has.
    EXPECT_EQ(DayOfLifeText({10, 3, 1900}, clock),
              "Day " + std::to_string(70 * 365 + 18 + since1970) + "\nof your life");

    // An absurd year from a message text neither hangs nor overflows.
    const auto start = std::chrono::steady_clock::now();
    const std::string text = DayOfLifeText({1, 1, -2147483647 - 1}, clock);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(text.rfind("Day ", 0), 0u);
    EXPECT_EQ(DayOfLifeText({-2147483647 - 1, -2147483647 - 1, 2147483647}, clock), "Wrong birthday");
}

TEST_F(CountersTest, BirthdayKeywordReadsAsScanfDoes) {
    Birthday b;
    ASSERT_TRUE(ParseBirthday("BIRTHDAY FROM 1975 5 23", b));
    EXPECT_EQ(b.year, 1975);
    EXPECT_EQ(b.month, 5);
    EXPECT_EQ(b.day, 23);
    EXPECT_EQ(FormatBirthday(b), "BIRTHDAY FROM 1975 5 23");

    ASSERT_TRUE(ParseBirthday("BIRTHDAY FROM 0x7B8 0X6 027", b));
    EXPECT_EQ(b.year, 1976);
    EXPECT_EQ(b.month, 6);
    EXPECT_EQ(b.day, 23);

    // A leading zero means octal, so 08 stops after the 0 and 8 is the next number.
    ASSERT_TRUE(ParseBirthday("BIRTHDAY FROM 1980 08 09", b));
    EXPECT_EQ(b.month, 0);
    EXPECT_EQ(b.day, 8);

    ASSERT_TRUE(ParseBirthday("BIRTHDAYFROM1975\r\n-5+23 and then some", b));
    EXPECT_EQ(b.year, 1975);
    EXPECT_EQ(b.month, -5);
    EXPECT_EQ(b.day, 23);

    ASSERT_TRUE(ParseBirthday("BIRTHDAY FROM 99999999999999999999999 1 1", b));
    EXPECT_EQ(b.year, 2147483647);

    // A failed match leaves the birthday as it was.
    const Birthday before{1, 2, 1999};
    for (const char* text : {"BIRTHDAY FROM 1975 5", "birthday from 1975 5 23", "BIRTHDAY 1975 5 23",
                             "BIRTHDAY FROM x 5 23", "BIRTHDAY FROM 1975 5 -", "", "BIRTHDAY FROM"}) {
        b = before;
        EXPECT_FALSE(ParseBirthday(text, b)) << text;
        EXPECT_EQ(b.year, 1999);
        EXPECT_EQ(b.month, 2);
        EXPECT_EQ(b.day, 1);
    }
}

TEST_F(CountersTest, CountdownDialogAcceptsTheNextTwentyYears) {
    const int year = 2024;
    EXPECT_FALSE(CheckCountdownFields({2024, 1, 1, 0, 0}, year));
    EXPECT_FALSE(CheckCountdownFields({2044, 12, 31, 23, 59}, year));

    auto refused = [&](CountdownFields f) { return CheckCountdownFields(f, year).value_or(FieldError{}); };
    EXPECT_EQ(refused({2023, 1, 1, 0, 0}).title, "Error in Year");
    EXPECT_EQ(refused({2023, 1, 1, 0, 0}).text, "You can not specify past years");
    EXPECT_EQ(refused({0, 1, 1, 0, 0}).text, "You can not specify past years");
    EXPECT_EQ(refused({2045, 1, 1, 0, 0}).text, "You specified a very far year");
    EXPECT_EQ(refused({4294967295u, 1, 1, 0, 0}).text, "You specified a very far year");
    EXPECT_EQ(refused({2030, 0, 1, 0, 0}).title, "Error in Month");
    EXPECT_EQ(refused({2030, 13, 1, 0, 0}).text, "Please enter a number from 1 to 12");
    EXPECT_EQ(refused({2030, 2, 0, 0, 0}).title, "Error in Day");
    EXPECT_EQ(refused({2030, 2, 32, 0, 0}).text, "Please enter a number from 1 to 31");
    EXPECT_EQ(refused({2030, 2, 31, 24, 0}).title, "Error in Hour");
    EXPECT_EQ(refused({2030, 2, 31, 24, 0}).text, "Please enter a number from 0 to 23");
    EXPECT_EQ(refused({2030, 2, 31, 23, 60}).title, "Error in Minutes");
    EXPECT_EQ(refused({2030, 2, 31, 23, 60}).text, "Please enter a number from 0 to 59");
    // The first wrong field in dialog order is the one reported.
    EXPECT_EQ(refused({2023, 13, 32, 24, 60}).title, "Error in Year");
    EXPECT_EQ(refused({2030, 13, 32, 24, 60}).title, "Error in Month");

    // Without a year given, the program's clock says which year it is.
    FakeClock later(LocalSeconds(2040, 6, 1) * 1000, kBias);
    SetClock(&later);
    EXPECT_TRUE(CheckCountdownFields({2039, 1, 1, 0, 0}));
    EXPECT_FALSE(CheckCountdownFields({2060, 1, 1, 0, 0}));
    SetClock(nullptr);
}

TEST_F(CountersTest, BirthdayDialogChecks) {
    EXPECT_FALSE(CheckBirthdayFields({1950, 1, 1}));
    EXPECT_FALSE(CheckBirthdayFields({2050, 12, 31}));
    auto refused = [](BirthdayFields f) { return CheckBirthdayFields(f).value_or(FieldError{}); };
    EXPECT_EQ(refused({1949, 1, 1}).title, "Error in Year");
    EXPECT_EQ(refused({2051, 1, 1}).text, "Please enter a number from 1950 to 2050");
    EXPECT_EQ(refused({1975, 13, 1}).title, "Error in Month");
    EXPECT_EQ(refused({1975, 5, 0}).title, "Error in Day");
    EXPECT_EQ(refused({1975, 5, 32}).text, "Please enter a number from 1 to 31");
}

}  // namespace
}  // namespace lumi
