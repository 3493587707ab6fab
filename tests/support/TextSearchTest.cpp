// Case-insensitive search, and the box an overlong text raises.
#include "support/TextSearch.h"

#include <gtest/gtest.h>

#include <string>

#include "common/TestSupport.h"

namespace lumi {
namespace {

TEST(StrContainsTextTest, FindsWithoutRegardToCase) {
    EXPECT_EQ(StrContainsText("Hello World", "WORLD"), 6);
    EXPECT_EQ(StrContainsText("Hello World", "hello"), 0);
    EXPECT_EQ(StrContainsText("Hello", "lo"), 3);
    EXPECT_EQ(StrContainsText("Hello", "xyz"), -1);
    EXPECT_EQ(StrContainsText("ab", "abc"), -1);
    EXPECT_EQ(StrContainsText("abc", ""), 0);
}

TEST(StrContainsTextTest, ReportsOverlongTextsAndStillSearches) {
    testing::RecordingMessageBoxes boxes;
    const std::string limit(3999, 'a');
    EXPECT_EQ(StrContainsText(limit + "b", "B"), -1) << "only the first 3999 characters are searched";
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "StrContainsText");
    EXPECT_EQ(boxes.boxes[0].text, "4512");
    EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Error);

    EXPECT_EQ(StrContainsText("aaa", limit + "a"), -1);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "4513");

    EXPECT_EQ(StrContainsText(limit, "AAA"), 0);
    EXPECT_EQ(boxes.boxes.size(), 2u) << "3999 characters are within the limit";
}

}  // namespace
}  // namespace lumi
