// The moon phase: names at their thresholds, the full-moon notices and Blue Moons, zone
// independence, the full-moon table against published catalogue times, and --moon.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "moon/FullMoonTable.h"
#include "moon/MoonPhase.h"
#include "base/FakeClock.h"
#include "base/Log.h"
#include "common/TestSupport.h"

namespace lumi {
namespace {

using testing::TempFolder;

int64_t Utc(int year, int month, int day, int hour, int minute, int second = 0) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

// The first instant at which calculate() yields the given angle after a full moon.
int64_t SecondsForAngle(int angle) {
    return (static_cast<int64_t>(angle) * SynodicMonthSeconds + 359) / 360;
}

class MoonPhaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        RestartLogAt(folder_.File("moon.log"));
        ResetMoonText();
    }
    void TearDown() override { SetClock(nullptr); }

    std::string TextAt(int64_t now) {
        CpelurMoonData data;
        CalcPhaseAt(data, now);
        return MoonText();
    }

    TempFolder folder_;
};

TEST_F(MoonPhaseTest, PhaseNamesChangeAtTheirThresholds) {
    const std::vector<std::pair<int, const char*>> cases = {
        {0, "Full Moon"},           {1, "Full Moon"},
        {2, "Waning Gibbous Moon"}, {3, "Waning Gibbous Moon"},
        {86, "Waning Gibbous Moon"}, {87, "Last Quarter"},
        {93, "Last Quarter"},       {94, "Waning Crescent Moon"},
        {176, "Waning Crescent Moon"}, {177, "New Moon"},
        {183, "New Moon"},          {184, "Waxing Crescent Moon"},
        {266, "Waxing Crescent Moon"}, {267, "First Quarter"},
        {273, "First Quarter"},     {274, "Waxing Gibbous Moon"},
        {357, "Waxing Gibbous Moon"}, {359, "Waxing Gibbous Moon"},
    };
    for (const auto& [angle, name] : cases) {
        CpelurMoonData data;
        data.phaseAngle = angle;
        EXPECT_STREQ(data.getPhaseName(), name) << "angle " << angle;
    }
    CpelurMoonData data;
    data.phaseAngle = 450;
    EXPECT_STREQ(data.getPhaseName(), "Last Quarter");
    EXPECT_EQ(data.phaseAngle, 90) << "the reduced angle is stored back";
}

TEST_F(MoonPhaseTest, AngleAndLitPercentageFollowTheAge) {
    const int64_t fullMoon = Utc(2002, 4, 27, 3, 1);
    const struct {
        int angle;
        const char* lit;
    } cases[] = {{0, "100%"}, {1, "99%"}, {90, "50%"}, {180, "0%"}, {270, "50%"}, {300, "66%"}};
    for (const auto& c : cases) {
        CpelurMoonData data;
        data.calculate(fullMoon + SecondsForAngle(c.angle));
        EXPECT_EQ(data.phaseAngle, c.angle);
        EXPECT_EQ(data.getIlluminationText(), c.lit) << "angle " << c.angle;
    }

    CpelurMoonData atFull;
    atFull.calculate(fullMoon);
    EXPECT_EQ(atFull.secondsAfterFullMoon, 0);
    EXPECT_EQ(atFull.secondsBeforeFullMoon, SynodicMonthSeconds);

    CpelurMoonData weekLater;
    weekLater.calculate(fullMoon + 7 * 86400);
    EXPECT_EQ(weekLater.phaseAngle, 85);
    EXPECT_STREQ(weekLater.getPhaseName(), "Waning Gibbous Moon");
    EXPECT_EQ(weekLater.getIlluminationText(), "52%");
    EXPECT_EQ(weekLater.secondsAfterFullMoon, 7 * 86400);
}

TEST_F(MoonPhaseTest, EntryStoredWithMinuteSixtyCountsAsTheNextHour) {
    CpelurMoonData data;
    data.calculate(Utc(2013, 4, 25, 21, 0));
    EXPECT_EQ(data.secondsAfterFullMoon, 0);
    data.calculate(Utc(2013, 4, 25, 20, 59, 59));
    EXPECT_EQ(data.secondsAfterFullMoon, Utc(2013, 4, 25, 20, 59, 59) - Utc(2013, 3, 27, 9, 30));
}

TEST_F(MoonPhaseTest, FullMoonNoticeRunsFromFourInTheMorningUtc) {
    // Full moon 27.04.2002 03:01 UTC.
    EXPECT_EQ(TextAt(Utc(2002, 4, 27, 5, 0)).rfind(" - Full moon tonight: Pink Moon - ", 0), 0u);
    EXPECT_EQ(TextAt(Utc(2002, 4, 26, 5, 0)).rfind(" - Full moon tomorrow: Pink Moon - ", 0), 0u);
    EXPECT_EQ(TextAt(Utc(2002, 4, 28, 3, 59)).rfind(" - Full moon tonight: Pink Moon - ", 0), 0u);
    EXPECT_EQ(TextAt(Utc(2002, 4, 28, 4, 0)), " - Waning Gibbous Moon 93%");
    EXPECT_EQ(TextAt(Utc(2002, 4, 26, 3, 59)).find("Full moon"), std::string::npos);
    EXPECT_EQ(TextAt(Utc(2002, 4, 26, 4, 0)).rfind(" - Full moon tomorrow:", 0), 0u);
}

TEST_F(MoonPhaseTest, MoonTextIsComposedAsTheBottomLineShowsIt) {
    const int64_t fullMoon = Utc(2002, 10, 21, 7, 22);
    EXPECT_EQ(TextAt(fullMoon + SecondsForAngle(2)), " - Full moon tonight: Hunter's Moon - Waning Gibbous Moon 98%");
    EXPECT_EQ(TextAt(fullMoon + SecondsForAngle(263)), " - Waxing Crescent Moon 46%");

    CpelurMoonData data;
    EXPECT_EQ(CalcPhaseAt(data, fullMoon + SecondsForAngle(100)), 100);
}

TEST_F(MoonPhaseTest, SecondFullMoonOfAMonthIsABlueMoon) {
    EXPECT_EQ(TextAt(Utc(2012, 8, 31, 13, 58)), " Blue Moon - Full Moon 100%");
    EXPECT_EQ(TextAt(Utc(2012, 8, 2, 20, 0)).rfind(" - Full moon tonight: Sturgeon Moon - ", 0), 0u);
    EXPECT_EQ(TextAt(Utc(2012, 8, 30, 20, 0)).rfind(" Blue Moon - ", 0), 0u) << "tomorrow's Blue Moon too";
    // The computed years keep them coming: 31.01.2018, 31.10.2020, 31.08.2023, 31.05.2026.
    for (int64_t when : {Utc(2018, 1, 31, 20, 0), Utc(2020, 10, 31, 20, 0), Utc(2023, 8, 31, 20, 0),
                         Utc(2026, 5, 31, 20, 0)}) {
        EXPECT_EQ(TextAt(when).rfind(" Blue Moon - ", 0), 0u) << TextAt(when);
    }
    // The first entry has no predecessor to share its month with.
    EXPECT_EQ(TextAt(Utc(2002, 1, 28, 23, 0)).rfind(" - Full moon tonight: Wolf Moon - ", 0), 0u);
}

TEST_F(MoonPhaseTest, NoticesAndNamesContinueAfterTheHistoricalTable) {
    EXPECT_EQ(TextAt(Utc(2024, 4, 23, 23, 49)), " - Full moon tonight: Pink Moon - Full Moon 100%");
    EXPECT_EQ(TextAt(Utc(2100, 12, 16, 12, 0)).rfind(" - Full moon tonight: Cold Moon - ", 0), 0u);
}

TEST_F(MoonPhaseTest, PhaseDoesNotDependOnTheMachinesZone) {
    const int64_t now = Utc(2024, 4, 30, 12, 0);
    std::vector<int> angles;
    std::vector<std::string> texts;
    for (long bias : {0L, -120L, 300L, 570L}) {
        FakeClock clock(now * 1000, bias);
        SetClock(&clock);
        CpelurMoonData data;
        angles.push_back(CalcPhase(data));
        texts.push_back(MoonText());
        EXPECT_EQ(data.secondsAfterFullMoon, now - Utc(2024, 4, 23, 23, 49)) << "bias " << bias;
    }
    for (size_t i = 1; i < angles.size(); ++i) {
        EXPECT_EQ(angles[i], angles[0]);
        EXPECT_EQ(texts[i], texts[0]);
    }
    EXPECT_EQ(angles[0], 79);
}

TEST_F(MoonPhaseTest, PastTheTableThePhaseRepeatsWithTheMeanMonth) {
    const FullMoonEntry& last = FullMoonTable()[GetFullMoonCount() - 1];
    const int64_t threeMonthsOn = FullMoonInstant(last) + 3 * int64_t{SynodicMonthSeconds};
    CpelurMoonData data;
    EXPECT_EQ(CalcPhaseAt(data, threeMonthsOn), 0);
    EXPECT_EQ(MoonText(), " - Full Moon 100%") << "no notice without a table entry";
    EXPECT_LT(data.secondsBeforeFullMoon, 0);
    EXPECT_EQ(CalcPhaseAt(data, threeMonthsOn + SecondsForAngle(180)), 180);
}

TEST_F(MoonPhaseTest, BeforeTheTableTheCycleCountsBackFromTheFirstFullMoon) {
    const int64_t first = FullMoonInstant(FullMoonTable()[0]);
    CpelurMoonData data;
    data.calculate(first - SecondsForAngle(90) + 1);
    EXPECT_EQ(data.phaseAngle, 270) << "a quarter cycle before full is the first quarter";
    EXPECT_EQ(data.getIlluminationText(), "50%");
    data.calculate(first - 5 * int64_t{SynodicMonthSeconds} - 1);
    EXPECT_EQ(data.phaseAngle, 359);
    EXPECT_EQ(data.getIlluminationText(), "99%");
}

TEST_F(MoonPhaseTest, FullMoonNamesAndTheirLog) {
    CpelurMoonData data;
    EXPECT_STREQ(data.getFullMoonName(1), "Wolf Moon");
    EXPECT_STREQ(data.getFullMoonName(10), "Hunter's Moon");
    EXPECT_STREQ(data.getFullMoonName(12), "Cold Moon");
    EXPECT_STREQ(data.getFullMoonName(0), "error #528");
    EXPECT_STREQ(data.getFullMoonName(13), "error #528");

    TextAt(Utc(2002, 4, 27, 5, 0));
    const std::string log = testing::ReadFile(folder_.File("moon.log"));
    for (const char* line : {"info> CalcPhase: Entering", "info> CpelurMoonData: Seconds after the last Full moon",
                             "info> CpelurMoonData: Seconds before the next Full moon", "info> time zone",
                             "info> Full moon: tonight", "info> MoonName for month",
                             "ERROR> CpelurMoonData::getFullMoonName of month"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
}

TEST(FullMoonTableTest, HistoricalEntriesThenOneFullMoonPerLunationTo2100) {
    const FullMoonEntry* table = FullMoonTable();
    const int count = GetFullMoonCount();
    ASSERT_GT(count, 160);
    auto same = [](const FullMoonEntry& e, int d, int m, int y, int h, int min) {
        return e.day == d && e.month == m && e.year == y && e.hour == h && e.minute == min;
    };
    EXPECT_TRUE(same(table[0], 28, 1, 2002, 22, 52));
    EXPECT_TRUE(same(table[139], 25, 4, 2013, 20, 60));
    EXPECT_TRUE(same(table[159], 6, 12, 2014, 12, 27));
    EXPECT_EQ(table[160].year, 2015);
    EXPECT_EQ(table[count - 1].year, 2100);
    EXPECT_EQ(table[count - 1].month, 12);

    // Lunations run from 29.27 to 29.83 days; the one-hour error of the 20:60 entry stays
    // inside that with room to spare.
    for (int k = 1; k < count; ++k) {
        const int64_t gap = FullMoonInstant(table[k]) - FullMoonInstant(table[k - 1]);
        EXPECT_GT(gap, 29 * 86400 + 4 * 3600) << "entry " << k;
        EXPECT_LT(gap, 29 * 86400 + 22 * 3600) << "entry " << k;
    }
}

// Full moons in UTC as published in the US Naval Observatory's "Phases of the Moon"
// tables and in Espenak's Six Millennium Catalog of Phases of the Moon (NASA GSFC).
TEST(FullMoonTableTest, ComputedYearsMatchPublishedCatalogueTimes) {
    const int catalogue[][5] = {
        {5, 1, 2015, 4, 53},    {4, 4, 2015, 12, 6},   {31, 7, 2015, 10, 43}, {28, 9, 2015, 2, 50},
        {23, 3, 2016, 12, 1},   {14, 11, 2016, 13, 52}, {7, 8, 2017, 18, 11},  {31, 1, 2018, 13, 27},
        {27, 7, 2018, 20, 20},  {21, 1, 2019, 5, 16},  {18, 5, 2019, 21, 11}, {31, 10, 2020, 14, 49},
        {30, 12, 2020, 3, 28},  {26, 5, 2021, 11, 14}, {19, 11, 2021, 8, 57}, {8, 11, 2022, 11, 2},
        {31, 8, 2023, 1, 35},   {23, 4, 2024, 23, 49}, {18, 9, 2024, 2, 34},  {14, 3, 2025, 6, 55},
        {7, 9, 2025, 18, 9},    {3, 3, 2026, 11, 38},  {31, 5, 2026, 8, 45},  {31, 12, 2028, 16, 48},
        {26, 6, 2029, 3, 22},   {14, 4, 2033, 19, 17},
    };
    const FullMoonEntry* table = FullMoonTable();
    for (const auto& c : catalogue) {
        const int64_t published = Utc(c[2], c[1], c[0], c[3], c[4]);
        const int latest = LatestFullMoonIndex(published + 120);
        ASSERT_GE(latest, 160);
        const int64_t ours = FullMoonInstant(table[latest]);
        EXPECT_LE(std::llabs(ours - published), 120)
            << c[0] << "." << c[1] << "." << c[2] << " " << c[3] << ":" << c[4] << " is "
            << table[latest].day << "." << table[latest].month << " " << table[latest].hour << ":"
            << table[latest].minute << " in the table";
    }
}

// The real program, as a user runs it.
using ProgramRun = testing::CommandRun;

ProgramRun RunLumivane(const std::string& arguments, const TempFolder& tmp) {
    return testing::RunCommand("TMPDIR='" + tmp.Path() + "' '" LUMI_BINARY_DIR "/lumivane' " + arguments + " 2>&1");
}

TEST(MoonCommandTest, PrintsTheBottomLineTextAndAngle) {
    TempFolder tmp;
    const ProgramRun utc = RunLumivane("--moon --at 2024-04-23T23:49Z", tmp);
    ASSERT_EQ(utc.exitCode, 0) << utc.output;
    EXPECT_EQ(utc.output.rfind(" - Full moon tonight: Pink Moon - Full Moon 100%\nphase angle: 0\n", 0), 0u)
        << utc.output;
    EXPECT_NE(utc.output.find("next full moon: 2024-05-23 13:53 UTC"), std::string::npos) << utc.output;

    const ProgramRun offset = RunLumivane("--moon --at 2024-04-24T01:49:00+02:00", tmp);
    EXPECT_EQ(offset.output, utc.output);
}

TEST(MoonCommandTest, RefusesABadTime) {
    TempFolder tmp;
    for (const char* bad : {"2024-02-30T10:00Z", "2024-04-23T24:00Z", "yesterday", "2024-04-23T23:49+2",
                            "2024-04-23T23:49Zjunk", "''"}) {
        const ProgramRun run = RunLumivane(std::string("--moon --at ") + bad, tmp);
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.output.find("not a valid time"), std::string::npos) << bad << ": " << run.output;
    }
    EXPECT_EQ(RunLumivane("--moon --at", tmp).exitCode, 2);
}

}  // namespace
}  // namespace lumi
