// The settings program's text conversions: the dialogs' code page and line breaks to GTK's
// UTF-8 and back, mnemonics, and file patterns that ignore case.
#include "shell/gtk/GtkText.h"

#include <gtest/gtest.h>

namespace lumi::gtkui {
namespace {

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
