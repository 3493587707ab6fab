// The program's code page to UTF-8 and back.
#include "gfx/CodePage.h"

#include <gtest/gtest.h>

namespace lumi::gfx {
namespace {

TEST(CodePageTest, EveryCodePageByteSurvivesTheWayToGtkAndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(CodePageFromUtf8(Utf8FromCodePage(all)), all);
    // é is 0xE9 in the code page, the euro sign 0x80; both two and three bytes in UTF-8.
    EXPECT_EQ(Utf8FromCodePage("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(CodePageFromUtf8("\xE2\x80\x9CMoon\xE2\x80\x9D"), "\x93Moon\x94");
}

TEST(CodePageTest, WhatTheCodePageLacksOrBrokenUtf8BecomesAQuestionMark) {
    EXPECT_EQ(CodePageFromUtf8("a\xE2\x86\x92z"), "a?z");          // an arrow, U+2192
    EXPECT_EQ(CodePageFromUtf8("\xF0\x9F\x8C\x99!"), "?!");         // a crescent moon, U+1F319
    EXPECT_EQ(CodePageFromUtf8("x\xC3"), "x?");                     // cut off
    EXPECT_EQ(CodePageFromUtf8("\xA9x"), "?x");                     // a lone continuation byte
}

}  // namespace
}  // namespace lumi::gfx
