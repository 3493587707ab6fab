// The "E-mail parameters" dialog's values: what opening shows, what OK stores.
#include "mail/EmailDialog.h"

#include <gtest/gtest.h>

#include "common/TestSupport.h"

namespace lumi {
namespace {

TEST(EmailDialog, OkStoresCutTextsAndTheUnclampedPeriodWhichReadsBackClamped) {
    testing::TempFolder folder;
    ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
    NewMailClass dialogMail(folder.Path());
    EmailDialogFields f = LoadEmailDialog(dialogMail);
    EXPECT_EQ(f.checkEvery, 15u);
    EXPECT_FALSE(f.lan);
    EXPECT_EQ(f.port, 995u);

    f.loginName = std::string(90, 'n');
    f.password = "";
    f.popServer = "pop.example.org";
    f.checkEvery = 2;
    f.lan = true;
    f.security = MailSecurity::StartTls;
    f.port = 0;
    SaveEmailDialog(dialogMail, f);
    EXPECT_EQ(dialogMail.checkEvery, 2);  // as typed until read back

    NewMailClass other(folder.Path());
    const EmailDialogFields shown = LoadEmailDialog(other);
    // Cut to the dialog's 78 characters, which all come back.
    EXPECT_EQ(shown.loginName, std::string(78, 'n'));
    EXPECT_EQ(shown.password, "");
    EXPECT_EQ(shown.popServer, "pop.example.org");
    EXPECT_EQ(shown.checkEvery, 5u);
    EXPECT_TRUE(shown.lan);
    EXPECT_EQ(shown.security, MailSecurity::StartTls);
    EXPECT_EQ(shown.port, 110u);
}

TEST(EmailDialog, TextsOfTheFull78CharactersComeBackWhole) {
    testing::TempFolder folder;
    ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
    testing::RecordingMessageBoxes boxes;
    NewMailClass dialogMail(folder.Path());
    EmailDialogFields f = LoadEmailDialog(dialogMail);
    // Each of these characters takes two in the file: the backslash is doubled, and
    // scrambled, '<', '=', '>' and '?' become two bytes and 'B' a backslash.
    f.loginName = "OFFICE\\" + std::string(71, 'u');
    f.password = std::string(26, '<') + std::string(26, '?') + std::string(26, 'B');
    f.popServer = std::string(74, 's') + ".org";
    SaveEmailDialog(dialogMail, f);

    NewMailClass other(folder.Path());
    const EmailDialogFields shown = LoadEmailDialog(other);
    EXPECT_EQ(shown.loginName, f.loginName);
    EXPECT_EQ(shown.password, f.password);
    EXPECT_EQ(shown.popServer, f.popServer);
    EXPECT_TRUE(boxes.boxes.empty());  // no scrambling overflow either
}

}  // namespace
}  // namespace lumi
