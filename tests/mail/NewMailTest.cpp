// The checker's settings in the private file, its timer and counter, and the run count
// that keeps two checks from overlapping.
#include "mail/NewMail.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/TestSupport.h"
#include "mail/MailCount.h"
#include "mail/MailTestSupport.h"
#include "base/FakeClock.h"
#include "settings/IniFile.h"
#include "platform/IniText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

class NewMailTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetMailTimer();
        SetMailThreadStarter([this](std::function<void()> work) { started.push_back(std::move(work)); });
        MailCount.store(0);
    }
    void TearDown() override {
        SetMailThreadStarter(nullptr);
        ResetMailTimer();
        SetClock(nullptr);
    }
    std::string PrivateFile() const { return folder.File(NewMailClass::kPrivateFile); }
    std::string Stored(const char* key) {
        return IniLookup(ReadFile(PrivateFile()), "Email", key).value_or("<missing>");
    }

    TempFolder folder;
    std::vector<std::function<void()>> started;
};

TEST_F(NewMailTest, CheckEveryIsClampedTo5Through65WhenRead) {
    NewMailClass mail(folder.Path());
    const std::pair<int, int> cases[] = {{2, 5}, {5, 5}, {-3, 5}, {15, 15}, {64, 64}, {65, 65}, {100, 65}};
    for (const auto& [stored, used] : cases) {
        mail.checkEvery = stored;
        mail.SaveMailSettings();
        mail.ReadMailSettings();
        EXPECT_EQ(mail.checkEvery, used) << stored;
    }
}

TEST_F(NewMailTest, ThePasswordIsStoredScrambledAndReadBackReadable) {
    NewMailClass mail(folder.Path());
    mail.loginName = "skywatcher";
    mail.password = "moon-pass-7";
    mail.popServer = "pop.example.org";
    mail.SaveMailSettings();
    EXPECT_EQ(mail.password, "moon-pass-7");  // saving leaves the readable form usable
    const std::string file = ReadFile(PrivateFile());
    EXPECT_EQ(file.find("moon-pass-7"), std::string::npos);
    EXPECT_NE(Stored("Password"), "<missing>");

    NewMailClass other(folder.Path());
    other.ReadMailSettings();
    EXPECT_EQ(other.loginName, "skywatcher");
    EXPECT_EQ(other.password, "moon-pass-7");
    EXPECT_EQ(other.popServer, "pop.example.org");
}

TEST_F(NewMailTest, AnEmptyPasswordSavesEmpty) {
    NewMailClass mail(folder.Path());
    mail.password = "old";
    mail.SaveMailSettings();
    mail.password = "";
    mail.SaveMailSettings();
    EXPECT_EQ(Stored("Password"), "");
    mail.ReadMailSettings();
    EXPECT_EQ(mail.password, "");
}

TEST_F(NewMailTest, ANewSetupDefaultsToPop3sAndAnOldOneKeepsPlainPop3) {
    NewMailClass fresh(folder.Path());
    fresh.ReadMailSettings();
    EXPECT_EQ(fresh.security, MailSecurity::Implicit);
    EXPECT_EQ(fresh.port, 995);
    EXPECT_EQ(fresh.checkEvery, 15);
    EXPECT_EQ(fresh.lan, 0);
    EXPECT_EQ(fresh.enabled, 0);
    EXPECT_EQ(fresh.password, "");
    // Example texts until the user types real ones.
    EXPECT_EQ(fresh.loginName.front(), '<');
    EXPECT_EQ(fresh.popServer.front(), '<');

    // An account saved before the Security key existed.
    WriteFile(PrivateFile(), "[Email]\nLoginName=ann\nPopServer=pop.example.org\n");
    NewMailClass old(folder.Path());
    old.ReadMailSettings();
    EXPECT_EQ(old.security, MailSecurity::Plain);
    EXPECT_EQ(old.port, 110);

    WriteFile(PrivateFile(), "[Email]\nPopServer=x\nSecurity=1\nPort=99999\n");
    old.ReadMailSettings();
    EXPECT_EQ(old.security, MailSecurity::StartTls);
    EXPECT_EQ(old.port, 110);  // out of range: the port of the security kind
    WriteFile(PrivateFile(), "[Email]\nPopServer=x\nSecurity=7\nPort=2110\n");
    old.ReadMailSettings();
    EXPECT_EQ(old.security, MailSecurity::Implicit);  // garbage never means plain
    EXPECT_EQ(old.port, 2110);
}

TEST_F(NewMailTest, ThePrivateFileIsReadableByItsOwnerOnly) {
    {
        NewMailClass mail(folder.Path());
        mail.password = "secret";
        mail.SaveMailSettings();
    }
    struct stat st{};
    ASSERT_EQ(stat(PrivateFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // A file left open to others by an older version is closed on opening.
    chmod(PrivateFile().c_str(), 0644);
    NewMailClass again(folder.Path());
    ASSERT_EQ(stat(PrivateFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(NewMailTest, EnabledComesFromTheMainFileAndSuppressionStopsTheTimer) {
    NewMailClass mail(folder.Path());
    mail.StartTimer();
    EXPECT_EQ(mail.timerId, 0);
    EXPECT_TRUE(FileContainsText(folder.File("log.txt"), "NewMailClass: StartTimer-Aborted"));

    MainIni().WriteIntForUser("Email", "Enabled", 1);
    mail.SuppressMail();
    mail.StartTimer();
    EXPECT_EQ(mail.timerId, 0);

    NewMailClass running(folder.Path());
    running.StartTimer();
    EXPECT_NE(running.timerId, 0);
    EXPECT_TRUE(FileContainsText(folder.File("log.txt"), "NewMailClass: StartTimer-exit"));
    running.StopMail();
    EXPECT_EQ(running.timerId, 0);
}

TEST_F(NewMailTest, FirstCheckOnePeriodAfterStartThenEvery61Periods) {
    FakeClock clock;
    SetClock(&clock);
    MainIni().WriteIntForUser("Email", "Enabled", 1);
    NewMailClass mail(folder.Path());
    mail.lan = 1;
    mail.checkEvery = 15;
    mail.SaveMailSettings();
    mail.StartTimer();

    // One tick every 50 ms, as the sky steps.
    auto runFor = [&](int64_t ms) {
        for (int64_t t = 0; t < ms; t += 50) {
            clock.Advance(50);
            MailTimerTick();
        }
    };
    runFor(14950);
    EXPECT_EQ(started.size(), 0u);
    runFor(50);  // 15 s after the start
    EXPECT_EQ(started.size(), 1u);
    runFor(915000 - 50);
    EXPECT_EQ(started.size(), 1u);
    runFor(50);  // 915 s after the first
    EXPECT_EQ(started.size(), 2u);
    mail.StopMail();
    runFor(2000000);
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(NewMailTest, WithoutLanAndWithoutOneModemConnectionNoCheckStarts) {
    MainIni().WriteIntForUser("Email", "Enabled", 1);
    NewMailClass mail(folder.Path());
    mail.StartTimer();  // LAN 0; this machine has no ppp interface up
    CheckTimerProc();
    EXPECT_EQ(started.size(), 0u);
    EXPECT_TRUE(FileContainsText(folder.File("log.txt"), "NewMailClass: Modem not connected"));
    mail.StopMail();
}

TEST_F(NewMailTest, APeriodDuringAHangingCheckReturnsZeroAtOnce) {
    NewMailClass mail(folder.Path());
    MailCount.store(4);
    mail.eRunning.store(1);  // a check is waiting on the network
    EXPECT_EQ(mail.GetNumberOfMails(), 0);
    EXPECT_EQ(mail.eRunning.load(), 1);
    EXPECT_EQ(MailCount.load(), 4);

    // The timer's worker logs the unchanged count.
    MainIni().WriteIntForUser("Email", "Enabled", 1);
    WriteFile(PrivateFile(), "[Email]\nLAN=1\n");
    mail.StartTimer();
    CheckTimerProc();
    ASSERT_EQ(started.size(), 1u);
    started[0]();
    EXPECT_TRUE(FileContainsText(folder.File("log.txt"), "GetNumberOfMails returned4"));
    EXPECT_EQ(mail.eRunning.load(), 1);
    mail.StopMail();
}

TEST_F(NewMailTest, AnOutOfRangeRunCountIsReported) {
    NewMailClass mail(folder.Path());
    mail.eRunning.store(2);
    EXPECT_EQ(mail.GetNumberOfMails(), 0);
    EXPECT_NE(PendingErrorText().find("eRunning=2"), std::string::npos);
}

TEST(MailAddress, DigitAndDotMeanALiteralAddress) {
    EXPECT_TRUE(IsLiteralAddress("10.0.0.5"));
    EXPECT_TRUE(IsLiteralAddress("1.example.org"));  // the rule, not a parse
    EXPECT_FALSE(IsLiteralAddress("1host"));
    EXPECT_FALSE(IsLiteralAddress("pop.example.org"));
    EXPECT_FALSE(IsLiteralAddress("::1"));
    EXPECT_FALSE(IsLiteralAddress(""));
}

}  // namespace
}  // namespace lumi
