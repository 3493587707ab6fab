// The log's place as the platform hands it to the log.
#include "platform/Startup.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "base/Log.h"
#include "common/TestSupport.h"

#include "platform/System.h"

namespace lumi {
namespace {

TEST(LogPathTest, ModuleFileNameInTheUsersLogFolder) {
    const std::string module = platform::ModuleFilePath();
    const std::string name = module.substr(module.find_last_of('/') + 1);
    EXPECT_EQ(platform::DefaultLogPath(), platform::LogFolder() + name + ".log.txt");
    EXPECT_EQ(platform::DefaultLogPath().rfind(platform::TempFolder(), 0), std::string::npos);
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

}  // namespace
}  // namespace lumi
