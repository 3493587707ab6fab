// The log file: line format, the line limit, a deleted file, two writing threads, and
// the closing lines at process exit.
#include "base/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/BuildInfo.h"
#include "common/TestSupport.h"
#include "base/FakeClock.h"

namespace lumi {
namespace {

using testing::ReadFile;
using testing::ReadLines;

// 2011-04-17 05:25:19.123, a Sunday, in a zone one hour ahead of UTC.
constexpr int64_t kNowMs = (15081LL * 86400 + 4 * 3600 + 25 * 60 + 19) * 1000 + 123;

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock_);
        path_ = folder_.File("run.log.txt");
        RestartLogAt(path_);
    }
    void TearDown() override {
        // Leave the log on a file that outlives this test's folder.
        RestartLogAt(CurrentLogSetup().path);
        SetClock(nullptr);
    }

    FakeClock clock_{kNowMs, -60};
    testing::TempFolder folder_;
    std::string path_;
};

TEST_F(LogTest, LinesCarryTimePrefixAndSuffix) {
    AppLog().Info.Log("Version", "4.21");
    AppLog().Warning.Log("w", std::string("careful"));
    AppLog().Error.Log("e", "broken");
    AppLog().Plain.Log("p", "no line end");
    AppLog().Info.Log("after", "plain");
    const auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "05:25:19.123 info> Log Started: 2011/4/17 5:25:19");
    EXPECT_EQ(lines[1], "05:25:19.123 info> Version: 4.21");
    EXPECT_EQ(lines[2], "05:25:19.123 WARNING> w: careful");
    EXPECT_EQ(lines[3], "05:25:19.123 ERROR> e: broken");
    EXPECT_EQ(lines[4], "05:25:19.123 p: no line end05:25:19.123 info> after: plain");
}

TEST_F(LogTest, TimeFieldsArePaddedAndTheDateIsNot) {
    clock_.SetUtcMilliseconds((15071LL * 86400 + 4 * 3600 + 5 * 60 + 9) * 1000 + 7);  // 2011-04-07 05:05:09.007
    AppLog().LogWithTime("WM_CLOSE received");
    EXPECT_EQ(ReadLines(path_).back(), "05:05:09.007 info> WM_CLOSE received: 2011/4/7 5:5:9");
}

TEST_F(LogTest, NumbersAreWrittenRightAfterTheName) {
    AppLog().Info.Log("x", -5);
    AppLog().Info.Log("screen width", 1024u);
    AppLog().Info.Log("big", 4294967295u);
    AppLog().Info.Log("x", 0.5);
    AppLog().Info.Log("r", 123456789.0);
    AppLog().Info.Log("f", 1.0f / 3);
    AppLog().Info.Log("flag", true);
    const auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], "05:25:19.123 info> x-5 NEW INT CONV ");
    EXPECT_EQ(lines[2], "05:25:19.123 info> screen width1024 NEW INT CONV ");
    EXPECT_EQ(lines[3], "05:25:19.123 info> big4294967295 NEW INT CONV ");
    EXPECT_EQ(lines[4], "05:25:19.123 info> x0.5");
    EXPECT_EQ(lines[5], "05:25:19.123 info> r1.23457e+08");
    EXPECT_EQ(lines[6], "05:25:19.123 info> f0.333333");
    EXPECT_EQ(lines[7], "05:25:19.123 info> flag1 NEW INT CONV ");
}

TEST_F(LogTest, TextIsWrittenAsGivenEvenWithPercentSigns) {
    AppLog().Info.Log("fmt", "%s%n%d");
    AppLog().Info.Log("null", static_cast<const char*>(nullptr));
    const auto lines = ReadLines(path_);
    EXPECT_EQ(lines[1], "05:25:19.123 info> fmt: %s%n%d");
    EXPECT_EQ(lines[2], "05:25:19.123 info> null: ");
}

TEST_F(LogTest, StopsAtTheLineLimitButKeepsErrorLines) {
    const std::string warning = "Warning: Stopping log as it reached its maximum lines limit";
    // "Log Started" was line 1.
    for (uint32_t i = 2; i <= MaxLogLines; ++i) AppLog().Info.Log("n", static_cast<int>(i));
    EXPECT_TRUE(LoggingEnabled);
    EXPECT_EQ(ReadFile(path_).find(warning), std::string::npos);

    AppLog().Info.Log("line", 2001);
    EXPECT_FALSE(LoggingEnabled);
    AppLog().Info.Log("line", 2002);
    AppLog().Warning.Log("line", 2002);
    AppLog().Error.Log("late", "error");

    auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 2006u);
    EXPECT_EQ(lines[1999], "05:25:19.123 info> n2000 NEW INT CONV ");
    EXPECT_EQ(lines[2000], "05:25:19.123 info> line2001 NEW INT CONV ");
    EXPECT_EQ(lines[2001], "");
    EXPECT_EQ(lines[2002], warning);
    EXPECT_EQ(lines[2003], "05:25:19.123 ERROR> late: error");
    EXPECT_EQ(lines[2004], "");
    EXPECT_EQ(lines[2005], warning);
}

TEST_F(LogTest, DeletedFileKeepsOnlyErrorLines) {
    ASSERT_EQ(std::remove(path_.c_str()), 0);
    AppLog().Info.Log("lost", "1");
    AppLog().Warning.Log("lost", "2");
    EXPECT_FALSE(FileExists(path_));
    AppLog().Error.Log("kept", "3");
    const auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "05:25:19.123 ERROR> kept: 3");
}

TEST_F(LogTest, UnwritablePathTurnsLoggingOffQuietly) {
    const std::string nowhere = folder_.File("missing/folder/log.txt");
    RestartLogAt(nowhere);
    EXPECT_FALSE(LoggingEnabled);
    AppLog().Info.Log("a", "b");
    AppLog().Error.Log("c", "d");
    EXPECT_FALSE(FileExists(nowhere));

    RestartLogAt("");
    EXPECT_FALSE(LoggingEnabled);
    AppLog().Error.Log("c", "d");
}

TEST_F(LogTest, TwoThreadsNeverInterleaveLines) {
    const int perThread = 400;
    auto writer = [](const char* name, int count) {
        for (int i = 0; i < count; ++i) AppLog().Info.Log(name, std::string(200, 'x'));
    };
    std::thread a(writer, "alpha", perThread);
    std::thread b(writer, "beta", perThread);
    a.join();
    b.join();
    const auto lines = ReadLines(path_);
    ASSERT_EQ(lines.size(), 1u + 2 * perThread);
    EXPECT_EQ(LogLineCount.load(), 1u + 2 * perThread);
    const std::string body = ": " + std::string(200, 'x');
    const std::string alpha = "05:25:19.123 info> alpha" + body;
    const std::string beta = "05:25:19.123 info> beta" + body;
    for (size_t i = 1; i < lines.size(); ++i) ASSERT_TRUE(lines[i] == alpha || lines[i] == beta) << lines[i];
}

TEST_F(LogTest, ClosedLoggersDropLaterLinesAndCloseOnce) {
    const std::string other = folder_.File("closed.log.txt");
    TpelurLogFileWithSelfCheck log(other);
    log.Shutdown();
    const std::string closed = ReadFile(other);
    log.Info.Log("too", "late");
    log.Error.Log("too", "late");
    log.Shutdown();
    EXPECT_EQ(ReadFile(other), closed);
}

TEST_F(LogTest, WithLoggingOffOnlyErrorSaysGoodbye) {
    const std::string other = folder_.File("off.log.txt");
    {
        TpelurLogFileWithSelfCheck log(other);
        LoggingEnabled = false;
        testing::WriteFile(other, "");
    }
    EXPECT_EQ(ReadFile(other), "05:25:19.123 Closing logger:ERROR>\n\n");
}

TEST_F(LogTest, ExitClosesTheAppLog) {
    const std::string exitLog = folder_.File("exit.log.txt");
    EXPECT_EXIT(
        {
            RestartLogAt(exitLog);
            AppLog().Info.Log("last", "words");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    const auto lines = ReadLines(exitLog);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1], "05:25:19.123 info> last: words");
    EXPECT_EQ(lines[2], "05:25:19.123 info> Log closing down: 2011/4/17 5:25:19");
    EXPECT_EQ(lines[8], "05:25:19.123 Closing logger:info>");
}

TEST(LogPathTest, BuildDateHasOneBlankBetweenFields) {
    EXPECT_EQ(BuildDateText("Dec  7 2026"), "Dec 7 2026");
    EXPECT_EQ(BuildDateText("Apr 17 2011"), "Apr 17 2011");
}

TEST(FileHelpersTest, CreateExistsAndContains) {
    testing::TempFolder folder;
    const std::string path = folder.File("f.txt");
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileContainsText(path, "x"));
    EXPECT_FALSE(FileCreate(""));
    EXPECT_FALSE(FileExists(""));
    testing::WriteFile(path, "content");
    ASSERT_TRUE(FileCreate(path));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadFile(path), "") << "Create empties the file";

    // A text that straddles the reading chunks is still found.
    std::string big(16380, 'a');
    big += "ERROR> here";
    big += std::string(40000, 'b');
    testing::WriteFile(path, big);
    EXPECT_TRUE(FileContainsText(path, "ERROR> here"));
    EXPECT_TRUE(FileContainsText(path, "herebbb"));
    EXPECT_FALSE(FileContainsText(path, "StopUserPrompt"));
    EXPECT_FALSE(FileContainsText(path, "ba"));
}

}  // namespace
}  // namespace lumi
