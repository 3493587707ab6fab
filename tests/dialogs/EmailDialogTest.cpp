#include "dialogs/EmailDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "../common/TestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "mail/MailTestSupport.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using dialogs::EmailDialog;
using testing::FakeControls;

class EmailDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainIni();
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder_), 0);
        mail_ = std::make_unique<NewMailClass>(folder_.Path());
    }
    void TearDown() override { ResetMainIni(); }

    // Fills the account in as a user would.
    void TypeAccount(EmailDialog& dialog, uint16_t port, int security) {
        controls_.Type(dialog, IDC_EMAIL_LOGON, "skywatcher");
        controls_.Type(dialog, IDC_EMAIL_PASSWORD, "moon-pass-7");
        controls_.Type(dialog, IDC_EMAIL_SERVER, "127.0.0.1");
        controls_.SetSelection(IDC_EMAIL_SECURITY, security);
        controls_.Type(dialog, IDC_EMAIL_PORT, std::to_string(port));
    }

    // Lets the dialog's timer run until the test shows its result (a generous limit:
    // only a hung check ever reaches it).
    std::string WaitForTestResult(EmailDialog& dialog) {
        for (int i = 0; i < 6000 && dialog.TestRunning(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            dialog.Timer(controls_, EmailDialog::kTestTimerId);
        }
        return controls_.Text(IDC_EMAIL_TEST_RESULT);
    }

    testing::TempFolder folder_;
    std::unique_ptr<NewMailClass> mail_;
    FakeControls controls_;
};

TEST_F(EmailDialogTest, OpensWithTheStoredAccountAndOkSavesItCut) {
    EmailDialog dialog(*mail_);
    dialog.Open(controls_);
    EXPECT_EQ(controls_.caption, "E-mail parameters");
    EXPECT_EQ(controls_.Text(IDC_EMAIL_LOGON), "<your log-on name>");
    EXPECT_EQ(controls_.Text(IDC_EMAIL_CHECK_EVERY), "15");
    EXPECT_FALSE(controls_.Checked(IDC_EMAIL_LAN));
    EXPECT_TRUE(controls_.Checked(IDC_EMAIL_MODEM));
    ASSERT_EQ(controls_.controls[IDC_EMAIL_SECURITY].items.size(), 3u);
    EXPECT_EQ(controls_.controls[IDC_EMAIL_SECURITY].items[0], "Plain POP3 (port 110)");
    EXPECT_EQ(controls_.Selection(IDC_EMAIL_SECURITY), 2);  // a new account gets TLS
    EXPECT_EQ(controls_.Text(IDC_EMAIL_PORT), "995");
    EXPECT_EQ(controls_.Text(IDC_EMAIL_TEST_RESULT), "");

    controls_.Type(dialog, IDC_EMAIL_LOGON, std::string(90, 'n'));
    controls_.Type(dialog, IDC_EMAIL_PASSWORD, "secret");
    controls_.Type(dialog, IDC_EMAIL_SERVER, "pop.example.org");
    controls_.Type(dialog, IDC_EMAIL_CHECK_EVERY, "100");
    controls_.Toggle(dialog, IDC_EMAIL_LAN);
    EXPECT_FALSE(controls_.Checked(IDC_EMAIL_MODEM));  // the radios exclude each other
    controls_.Click(dialog, IDC_OK);
    EXPECT_EQ(controls_.ended, 1);

    // Read back through another instance, as the saver would.
    NewMailClass saver(folder_.Path());
    saver.ReadMailSettings();
    EXPECT_EQ(saver.loginName, std::string(78, 'n'));  // cut to 78, all of which come back
    EXPECT_EQ(saver.password, "secret");
    EXPECT_EQ(saver.popServer, "pop.example.org");
    EXPECT_EQ(saver.checkEvery, 65);  // stored as typed, clamped when read
    EXPECT_EQ(saver.lan, 1);

    FakeControls again;
    EmailDialog reopened(*mail_);
    reopened.Open(again);
    EXPECT_TRUE(again.Checked(IDC_EMAIL_LAN));
    EXPECT_FALSE(again.Checked(IDC_EMAIL_MODEM));
    EXPECT_EQ(again.Text(IDC_EMAIL_PASSWORD), "secret");
}

TEST_F(EmailDialogTest, CancelSavesNothing) {
    EmailDialog dialog(*mail_);
    dialog.Open(controls_);
    controls_.Type(dialog, IDC_EMAIL_SERVER, "never.example.org");
    controls_.Click(dialog, IDC_CANCEL);
    EXPECT_EQ(controls_.ended, 0);
    NewMailClass saver(folder_.Path());
    saver.ReadMailSettings();
    EXPECT_EQ(saver.popServer, "<pop.example.com>");
}

TEST_F(EmailDialogTest, TheSecurityChoiceAndPortAreStoredAndThePortFollowsTheKind) {
    EmailDialog dialog(*mail_);
    dialog.Open(controls_);
    // From POP3S (995) to STLS: the usual port goes along.
    controls_.SetSelection(IDC_EMAIL_SECURITY, 1);
    dialog.Command(controls_, IDC_EMAIL_SECURITY);
    EXPECT_EQ(controls_.Text(IDC_EMAIL_PORT), "110");
    // A port of his own stays.
    controls_.Type(dialog, IDC_EMAIL_PORT, "1995");
    controls_.SetSelection(IDC_EMAIL_SECURITY, 2);
    dialog.Command(controls_, IDC_EMAIL_SECURITY);
    EXPECT_EQ(controls_.Text(IDC_EMAIL_PORT), "1995");
    controls_.SetSelection(IDC_EMAIL_SECURITY, 0);
    dialog.Command(controls_, IDC_EMAIL_SECURITY);
    controls_.Click(dialog, IDC_OK);

    NewMailClass saver(folder_.Path());
    saver.ReadMailSettings();
    EXPECT_EQ(saver.security, MailSecurity::Plain);
    EXPECT_EQ(saver.port, 1995);

    // Letters in the port box store the kind's own port.
    FakeControls second;
    EmailDialog again(*mail_);
    again.Open(second);
    EXPECT_EQ(second.Selection(IDC_EMAIL_SECURITY), 0);
    EXPECT_EQ(second.Text(IDC_EMAIL_PORT), "1995");
    second.Type(again, IDC_EMAIL_PORT, "pop");
    second.Click(again, IDC_OK);
    saver.ReadMailSettings();
    EXPECT_EQ(saver.port, 110);
}

TEST_F(EmailDialogTest, TestReportsAFailedConnectionWithoutSaving) {
    EmailDialog dialog(*mail_);
    dialog.Open(controls_);
    TypeAccount(dialog, testing::FreePort(), 0);
    controls_.Click(dialog, IDC_EMAIL_TEST);
    EXPECT_TRUE(dialog.TestRunning());
    EXPECT_FALSE(controls_.controls[IDC_EMAIL_TEST].enabled);
    EXPECT_EQ(controls_.timers.count(EmailDialog::kTestTimerId), 1u);
    // A second press while it runs starts nothing (the button is off, but a key may come).
    dialog.Command(controls_, IDC_EMAIL_TEST);

    const std::string result = WaitForTestResult(dialog);
    EXPECT_EQ(result.rfind("The check failed at connect: ", 0), 0u) << result;
    EXPECT_TRUE(controls_.controls[IDC_EMAIL_TEST].enabled);
    EXPECT_EQ(controls_.timers.count(EmailDialog::kTestTimerId), 0u);
    NewMailClass saver(folder_.Path());
    saver.ReadMailSettings();
    EXPECT_EQ(saver.popServer, "<pop.example.com>");
}

TEST_F(EmailDialogTest, TestCountsTheMessagesOfTheAccountAsTyped) {
    std::string user;
    std::string pass;
    {
        testing::ScriptedServer server([&](testing::ScriptPeer& peer) {
            peer.Send("+OK ready\r\n");
            user = peer.ReadLine();
            peer.Send("+OK\r\n");
            pass = peer.ReadLine();
            peer.Send("+OK logged in\r\n");
            if (peer.ReadLine().rfind("STAT", 0) == 0) peer.Send("+OK 3 4711\r\n");
            peer.ReadLine();
            peer.Send("+OK bye\r\n");
        });
        EmailDialog dialog(*mail_);
        dialog.Open(controls_);
        TypeAccount(dialog, server.Port(), 0);
        controls_.Click(dialog, IDC_EMAIL_TEST);
        EXPECT_EQ(controls_.Text(IDC_EMAIL_TEST_RESULT), "Checking...");
        EXPECT_EQ(WaitForTestResult(dialog), "3 messages waiting.");
    }
    EXPECT_EQ(user, "USER skywatcher");
    EXPECT_EQ(pass, "PASS moon-pass-7");
    // Nothing was saved by the test.
    NewMailClass saver(folder_.Path());
    saver.ReadMailSettings();
    EXPECT_EQ(saver.loginName, "<your log-on name>");
}

TEST(MailTestResultTextTest, SaysHowManyOrWhereAndWhy) {
    EXPECT_EQ(dialogs::MailTestResultText(0, {}), "No messages waiting.");
    EXPECT_EQ(dialogs::MailTestResultText(1, {}), "1 message waiting.");
    EXPECT_EQ(dialogs::MailTestResultText(-1, {"PASS", "the server said \"-ERR no\""}),
              "The check failed at PASS: the server said \"-ERR no\".");
    EXPECT_EQ(dialogs::MailTestResultText(-1, {"connect", ""}), "The check failed at connect: unknown reason.");
}

TEST_F(EmailDialogTest, ClosingWhileATestRunsIsSafe) {
    // A server that greets and then says nothing: the check waits on it.
    auto release = std::make_shared<std::atomic<bool>>(false);
    testing::ScriptedServer server([release](testing::ScriptPeer& peer) {
        peer.Send("+OK ready\r\n");
        peer.ReadLine();
        while (!release->load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    {
        EmailDialog dialog(*mail_);
        dialog.Open(controls_);
        TypeAccount(dialog, server.Port(), 0);
        controls_.Click(dialog, IDC_EMAIL_TEST);
        controls_.Click(dialog, IDC_CANCEL);
        EXPECT_EQ(controls_.ended, 0);
        EXPECT_FALSE(dialog.TestRunning());
    }
    // The dialog is gone; the worker finishes on its own when the server lets go. It is
    // waited for here only so that it cannot log into the next test's files.
    EXPECT_EQ(dialogs::RunningMailTests(), 1);
    release->store(true);
    for (int i = 0; i < 6000 && dialogs::RunningMailTests() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(dialogs::RunningMailTests(), 0);
}

TEST_F(EmailDialogTest, TheDialogsOwnInstanceLivesBesideTheSettingsAndIsKept) {
    NewMailClass& first = dialogs::EmailDialogMail();
    EXPECT_EQ(&first, &dialogs::EmailDialogMail());
    EmailDialog dialog;
    dialog.Open(controls_);
    controls_.Type(dialog, IDC_EMAIL_SERVER, "mine.example.org");
    controls_.Click(dialog, IDC_OK);
    EXPECT_NE(testing::ReadFile(folder_.File("LumivanPrivateSettings.ini")).find("mine.example.org"),
              std::string::npos);
}

TEST_F(EmailDialogTest, ADialogThatIsUpKeepsItsOwnInstanceWhenANewOneIsMade) {
    EmailDialog dialog;  // its instance lives beside folder_'s settings
    // Meanwhile the settings are opened elsewhere and the next showing gets a new instance.
    testing::TempFolder elsewhere;
    ResetMainIni();
    ASSERT_EQ(testing::StartLogAndSettingsIn(elsewhere), 0);
    NewMailClass& next = dialogs::EmailDialogMail();
    next.ReadMailSettings();

    dialog.Open(controls_);
    EXPECT_EQ(controls_.Text(IDC_EMAIL_SERVER), "<pop.example.com>");
    controls_.Type(dialog, IDC_EMAIL_SERVER, "first.example.org");
    controls_.Click(dialog, IDC_OK);
    EXPECT_NE(testing::ReadFile(folder_.File("LumivanPrivateSettings.ini")).find("first.example.org"),
              std::string::npos);
    ResetMainIni();
}

}  // namespace
}  // namespace lumi
