// The log's place as the platform hands it to the log.
#include "platform/Startup.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/System.h"

namespace lumi {
namespace {

TEST(LogPathTest, ModuleFileNameInTheTemporaryFolder) {
    const std::string module = platform::ModuleFilePath();
    const std::string name = module.substr(module.find_last_of('/') + 1);
    EXPECT_EQ(platform::DefaultLogPath(), platform::TempFolder() + name + ".log.txt");
}

}  // namespace
}  // namespace lumi
