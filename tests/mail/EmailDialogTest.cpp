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
    // A 79-byte buffer: the lookup has room for 78, so 77 characters arrive.
    EXPECT_EQ(shown.loginName, std::string(77, 'n'));
    EXPECT_EQ(shown.password, "");
    EXPECT_EQ(shown.popServer, "pop.example.org");
    EXPECT_EQ(shown.checkEvery, 5u);
    EXPECT_TRUE(shown.lan);
    EXPECT_EQ(shown.security, MailSecurity::StartTls);
    EXPECT_EQ(shown.port, 110u);
}

}  // namespace
}  // namespace lumi
