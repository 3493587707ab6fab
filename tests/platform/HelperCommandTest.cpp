// Helper programs: a missing one is told apart from one that fails, and what it prints
// and its exit code come back.
#include "platform/posix/HelperCommand.h"

#include <gtest/gtest.h>

namespace lumi {
namespace {

TEST(HelperCommand, ReportsOutputExitCodeAndAMissingProgram) {
    HelperResult r = RunHelperCommand({"sh", "-c", "echo picture-uri; echo oops >&2; exit 3"});
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.output, "picture-uri\noops\n");

    r = RunHelperCommand({"lumivane-no-such-helper-program"});
    EXPECT_FALSE(r.started);

    // Arguments reach the program as they are: no shell parses them.
    r = RunHelperCommand({"printf", "%s|", "a b", "$HOME", "; rm -rf x"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "a b|$HOME|; rm -rf x|");

    EXPECT_FALSE(RunHelperCommand({}).started);
}

TEST(HelperCommand, AProgramThatLeavesAChildHoldingItsOutputDoesNotHoldUs) {
    const HelperResult r = RunHelperCommand({"sh", "-c", "echo done; sleep 5 & exit 0"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "done\n");
}

}  // namespace
}  // namespace lumi
