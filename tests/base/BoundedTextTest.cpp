// Bounded copies and appends and the clock text.
#include "base/BoundedText.h"

#include <gtest/gtest.h>

#include <string>

#include "common/TestSupport.h"

namespace lumi {
namespace {

TEST(BoundedCopyTest, CopiesOnlyWhatLeavesRoomForTheTerminator) {
    std::string dst = "old";
    EXPECT_TRUE(BoundedCopy(dst, "abcd", 6));
    EXPECT_EQ(dst, "abcd");
    EXPECT_FALSE(BoundedCopy(dst, "abcde", 6));
    EXPECT_EQ(dst, "abcd") << "a text too long leaves the destination as it was";
    EXPECT_FALSE(BoundedCopy(dst, "", 0));
}

TEST(BoundedAppendTest, AppendsWhenTheResultFits) {
    std::string dst = "abc";
    BoundedAppend(dst, "def", 8);  // 6 < 7
    EXPECT_EQ(dst, "abcdef");
}

TEST(BoundedAppendTest, AppendsTheMarkerWhenOnlyItFits) {
    std::string dst = "ab";
    BoundedAppend(dst, std::string(20, 'x'), 12);  // 2 + 8 < 11
    EXPECT_EQ(dst, "ab*StrCat*");
}

TEST(BoundedAppendTest, ReplacesALongDestinationByTheMarker) {
    std::string dst(9, 'a');
    BoundedAppend(dst, "bbbb", 12);  // neither 13 nor 17 is below 11; 9 > 8
    EXPECT_EQ(dst, "*StrCat*");

    std::string shortDst(8, 'a');
    BoundedAppend(shortDst, std::string(10, 'b'), 10);
    EXPECT_EQ(shortDst, std::string(8, 'a')) << "no longer than the marker: unchanged";
}

TEST(BoundedAppendTest, RepeatedAppendsNeverPassTheCapacity) {
    std::string dst;
    for (int i = 0; i < 500; ++i) {
        BoundedAppend(dst, "Moon - 3501 , ", 1000);
        ASSERT_LE(dst.size(), 998u);
    }
}


TEST(FormatTimeTest, TwentyFourHourClock) {
    EXPECT_EQ(FormatTime(0, 5, true), "0:05");
    EXPECT_EQ(FormatTime(23, 59, true), "23:59");
}

TEST(FormatTimeTest, TwelveHourClockUsesHoursOneToTwelve) {
    EXPECT_EQ(FormatTime(0, 7, false), "12:07 AM");
    EXPECT_EQ(FormatTime(9, 30, false), "9:30 AM");
    EXPECT_EQ(FormatTime(12, 0, false), "12:00 PM");
    EXPECT_EQ(FormatTime(13, 45, false), "1:45 PM");
    EXPECT_EQ(FormatTime(23, 1, false), "11:01 PM");
}

TEST(TruncatedTest, KeepsWhatFitsACBuffer) {
    EXPECT_EQ(Truncated("abcdef", 4), "abc");
    EXPECT_EQ(Truncated("ab", 4), "ab");
    EXPECT_EQ(Truncated("ab", 0), "");
}

}  // namespace
}  // namespace lumi
