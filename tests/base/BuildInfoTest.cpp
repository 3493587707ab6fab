// The build's date and time stamp in the forms the settings file and the log show.
#include "base/BuildInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lumi {
namespace {

TEST(BuildInfoTest, TimestampNamesTheWeekdayAndPadsTheDay) {
    EXPECT_EQ(BuildTimestampText("Apr  5 2011", "23:29:08"), "Tue Apr  5 23:29:08 2011");
    EXPECT_EQ(BuildTimestampText("Dec  7 2026", "10:36:32"), "Mon Dec  7 10:36:32 2026");
    EXPECT_EQ(BuildTimestampText("Jan  1 1970", "00:00:00"), "Thu Jan  1 00:00:00 1970");
    EXPECT_EQ(BuildTimestampText("Feb 29 2024", "12:00:00"), "Thu Feb 29 12:00:00 2024");
    EXPECT_EQ(BuildTimestampText("Xyz  1 2020", "12:00:00"), "");
    EXPECT_EQ(BuildTimestampText("", ""), "");
}

TEST(BuildInfoTest, ThisBuildHasADateAndATimestampOfTheSameDay) {
    const std::string date = BuildDate();
    const std::string stamp = BuildTimestamp();
    // "Dec 7 2026" and "Mon Dec  7 10:36:32 2026": month first, year last in both.
    ASSERT_GE(date.size(), 10u);
    ASSERT_EQ(stamp.size(), 24u);
    EXPECT_EQ(date.substr(0, 4), stamp.substr(4, 4));
    EXPECT_EQ(date.substr(date.size() - 4), stamp.substr(20));
    EXPECT_EQ(date.find("  "), std::string::npos);
}

}  // namespace
}  // namespace lumi
