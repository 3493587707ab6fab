#include "dialogs/FieldText.h"

#include <gtest/gtest.h>

namespace lumi::dialogs {
namespace {

TEST(FieldTextTest, ReadsDigitsWithBlanksAroundAndRefusesEverythingElse) {
    EXPECT_EQ(ReadUnsigned("20"), 20ul);
    EXPECT_EQ(ReadUnsigned(" \t07  "), 7ul);
    EXPECT_EQ(ReadUnsigned("4294967295"), 4294967295ul);
    for (const char* text : {"", "   ", "twenty", "12s", "1 2", "-1", "+1", "0x10", "4294967296", "99999999999999999999"}) {
        EXPECT_FALSE(ReadUnsigned(text).has_value()) << text;
    }
}

TEST(FieldTextTest, GivesEveryLineBreakItsCarriageReturnOnce) {
    EXPECT_EQ(WithCrLf("Please select\na world location"), "Please select\r\na world location");
    EXPECT_EQ(WithCrLf("one\r\ntwo\nthree\n"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(WithCrLf("\n"), "\r\n");
    EXPECT_EQ(WithCrLf("plain"), "plain");
}

}  // namespace
}  // namespace lumi::dialogs
