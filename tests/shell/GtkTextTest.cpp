// The settings program's text conversions: the dialogs' code page and line breaks to GTK's
// UTF-8 and back, mnemonics, and file patterns that ignore case.
#include "shell/gtk/GtkText.h"

#include <gtest/gtest.h>

namespace lumi::gtkui {
namespace {

TEST(GtkTextTest, EveryCodePageByteSurvivesTheWayToGtkAndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(CodePageFromUtf8(Utf8FromCodePage(all)), all);
    // é is 0xE9 in the code page, the euro sign 0x80; both two and three bytes in UTF-8.
    EXPECT_EQ(Utf8FromCodePage("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(CodePageFromUtf8("\xE2\x80\x9CMoon\xE2\x80\x9D"), "\x93Moon\x94");
}

TEST(GtkTextTest, WhatTheCodePageLacksOrBrokenUtf8BecomesAQuestionMark) {
    EXPECT_EQ(CodePageFromUtf8("a\xE2\x86\x92z"), "a?z");          // an arrow, U+2192
    EXPECT_EQ(CodePageFromUtf8("\xF0\x9F\x8C\x99!"), "?!");         // a crescent moon, U+1F319
    EXPECT_EQ(CodePageFromUtf8("x\xC3"), "x?");                     // cut off
    EXPECT_EQ(CodePageFromUtf8("\xA9x"), "?x");                     // a lone continuation byte
}

TEST(GtkTextTest, LineBreaksAreCrLfForTheDialogsAndLfForGtk) {
    EXPECT_EQ(ToWidgetText("Your\r\n   name\r\n    here"), "Your\n   name\n    here");
    EXPECT_EQ(ToWidgetText("a\rb"), "a\nb");
    EXPECT_EQ(FromWidgetText("Countdown\n   is over"), "Countdown\r\n   is over");
    EXPECT_EQ(FromWidgetText(ToWidgetText("one\r\ntwo")), "one\r\ntwo");
}

TEST(GtkTextTest, AmpersandMnemonicsBecomeUnderscoresAndBack) {
    EXPECT_EQ(MnemonicLabel("May I have a better &Font ?"), "May I have a better _Font ?");
    EXPECT_EQ(MnemonicLabel("Fish && chips_x"), "Fish & chips__x");
    EXPECT_EQ(AmpersandLabel("May I have a better _Font ?"), "May I have a better &Font ?");
    EXPECT_EQ(AmpersandLabel("Fish & chips__x"), "Fish && chips_x");
    EXPECT_EQ(AmpersandLabel(MnemonicLabel("Ooops... Cancel")), "Ooops... Cancel");
}

TEST(GtkTextTest, FilePatternsMatchWithoutRegardToCase) {
    EXPECT_EQ(CaseInsensitivePattern("*.WAV"), "*.[wW][aA][vV]");
    EXPECT_EQ(CaseInsensitivePattern("*.MID"), "*.[mM][iI][dD]");
    // On Windows "*.*" also lists files without a dot.
    EXPECT_EQ(CaseInsensitivePattern("*.*"), "*");
}

}  // namespace
}  // namespace lumi::gtkui
