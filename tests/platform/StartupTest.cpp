// The log's place as the platform hands it to the log.
#include "platform/Startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/System.h"

namespace lumi {
namespace {

TEST(LogPathTest, ModuleFileNameInTheTemporaryFolder) {
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before ? before : "";
    setenv("TMPDIR", "/var/tmp/somewhere", 1);
    // This program is test_platform.
    EXPECT_EQ(platform::DefaultLogPath(), "/var/tmp/somewhere/test_platform.log.txt");
    if (before) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

}  // namespace
}  // namespace lumi
