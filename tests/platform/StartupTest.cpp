// What the platform hands to the log: its place and the system report that heads it.
#include "platform/Startup.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/BuildInfo.h"
#include "base/FakeClock.h"
#include "base/Log.h"
#include "common/TestSupport.h"
#include "platform/OsReport.h"
#include "platform/System.h"

namespace lumi {
namespace {

TEST(LogPathTest, ModuleFileNameInTheUsersLogFolder) {
    testing::TempFolder state;
    testing::ScopedEnv stateHome("XDG_STATE_HOME", state.Path());
    // This program is test_platform.
    EXPECT_EQ(platform::DefaultLogPath(), state.Path() + "lumivane/test_platform.log.txt");
}

TEST(LogPathTest, TheLogIsPrivateAndNeverWrittenThroughALink) {
    testing::TempFolder folder;
    const LogSetup saved = CurrentLogSetup();
    SetLogSetup({folder.File("log.txt"), nullptr, &platform::OpenUserFile});
    const std::string victim = folder.File("victim.ini");
    testing::WriteFile(victim, "[Messages]\nMessage___1=mine\n");
    std::filesystem::create_symlink(victim, folder.File("log.txt"));
    RestartLogAt(folder.File("log.txt"));
    AppLog().Error.Log("secret", "message text");
    EXPECT_EQ(testing::ReadFile(victim), "[Messages]\nMessage___1=mine\n");

    std::filesystem::remove(folder.File("log.txt"));
    RestartLogAt(folder.File("log.txt"));
    AppLog().Info.Log("secret", "message text");
    struct stat st {};
    ASSERT_EQ(lstat(folder.File("log.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(testing::ReadFile(folder.File("log.txt")).find("secret: message text"), std::string::npos);
    SetLogSetup(saved);
    RestartLogAt(platform::DefaultLogPath());
}

using testing::ReadLines;

// 2011-04-17 05:25:19.123, a Sunday, in a zone one hour ahead of UTC.
constexpr int64_t kNowMs = (15081LL * 86400 + 4 * 3600 + 25 * 60 + 19) * 1000 + 123;

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock_); }
    void TearDown() override { SetClock(nullptr); }

    FakeClock clock_{kNowMs, -60};
    testing::TempFolder folder_;
};

TEST_F(LogTest, NewLogIsHeadedByStartBuildDateAndSystemReport) {
    const std::string other = folder_.File("fresh.log.txt");
    testing::WriteFile(other, "left over from the last run\n");
    {
        TpelurLogFileWithSelfCheck log(other);
        const auto lines = ReadLines(other);
        const std::vector<std::string> expected = {
            "05:25:19.123 info> Log Started: 2011/4/17 5:25:19",
            "05:25:19.123 info> Build date: " + BuildDate(),
            "05:25:19.123 info> ==== System Report ====: ",
            OsName(),
            OsIs64Bit() ? "OS 64bit" : "OS 32bit",
            "CommandLine: " + platform::CommandLine(),
            "=======================",
        };
        EXPECT_EQ(lines, expected);
    }
    const auto lines = ReadLines(other);
    // The closing text ends with a line break of its own, before the logger's suffix.
    const std::vector<std::string> closing(lines.begin() + 7, lines.end());
    const std::vector<std::string> expected = {
        "05:25:19.123 info> Log closing down: 2011/4/17 5:25:19",
        "05:25:19.123 Closing logger:ERROR>", "",
        "05:25:19.123 Closing logger:WARNING>", "",
        "05:25:19.123 Closing logger:",
        "05:25:19.123 Closing logger:info>", "",
    };
    EXPECT_EQ(closing, expected);
}

}  // namespace
}  // namespace lumi
