// The operating-system name table, its formatted fallback and the system report.
#include "platform/OsReport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/System.h"

namespace lumi {
namespace {

TEST(OsReportTest, KnownVersionsHaveNames) {
    EXPECT_EQ(OsNameFor(0x0A280105u), "WinXP pro");
    EXPECT_EQ(OsNameFor(0x0ECE0205u), "Win2003 server");
    EXPECT_EQ(OsNameFor(0x08930005u), "Win2000");
    EXPECT_EQ(OsNameFor(0x15040000u), "Windows Mobile 2003 Second Edition");
    EXPECT_EQ(OsNameFor(0x17700006u), "Vista Business");
    EXPECT_EQ(OsNameFor(0x1B580106u), "Windows7 Ultimate");
    EXPECT_EQ(OsNameFor(0xC0000004u), "Win95");
    EXPECT_EQ(OsNameFor(0xC0000A04u), "Win98 SE");
}

TEST(OsReportTest, OtherVersionsAreSpelledOut) {
    EXPECT_EQ(OsNameFor(0x23F00206u), "23F0:0206, (WinVer= 6.2), (DOSVer= 35.240)");
    EXPECT_EQ(OsNameFor(0x0A280106u), "0A28:0106, (WinVer= 6.1), (DOSVer= 10.40)") << "compared exactly";
    EXPECT_EQ(OsNameFor(0xFFFFFFFFu), "FFFF:FFFF, (WinVer= 255.255), (DOSVer= 255.255)");
    EXPECT_EQ(OsNameFor(0u), "0000:0000, (WinVer= 0.0), (DOSVer= 0.0)");
}

TEST(OsReportTest, LinuxKernelsAreSpelledOutWithTheirRelease) {
    // Kernel 6.18.44: major 6 and minor 18 as the version, patch 44 as the build with its
    // top bit set, so no Windows entry of the table can match.
    EXPECT_EQ(OsNameFor(0x802C1206u), "802C:1206, (WinVer= 6.18), (DOSVer= 128.44)");
    EXPECT_EQ(OsNameFor(0x80000005u), "8000:0005, (WinVer= 5.0), (DOSVer= 128.0)");
}

#ifdef __linux__
TEST(OsReportTest, ThisMachineHasTheNameOfItsKernel) {
    // The kernel's own release text, such as "6.1.0-18-amd64", read without our code.
    std::ifstream release("/proc/sys/kernel/osrelease");
    unsigned major = 0, minor = 0, patch = 0;
    char dot1 = 0, dot2 = 0;
    ASSERT_TRUE(release >> major >> dot1 >> minor >> dot2 >> patch);
    const std::string expected = "(WinVer= " + std::to_string(major) + "." + std::to_string(minor) +
                                 "), (DOSVer= 128." + std::to_string(patch) + ")";
    const std::string name = OsName();
    EXPECT_NE(name.find(expected), std::string::npos) << name;
    EXPECT_EQ(name.find('\n'), std::string::npos);
}
#endif

TEST(OsReportTest, ReportLinesInOrder) {
    EXPECT_EQ(SystemReportFor(0x0A280105u, false, "lumivane.scr /s"),
              "\nWinXP pro\nOS 32bit\nCommandLine: lumivane.scr /s\n=======================");
    EXPECT_EQ(SystemReportFor(0xC0000004u, true, ""), "\nWin95\nOS 64bit\nCommandLine: \n=======================");
}

TEST(OsReportTest, ReportForThisMachine) {
    const std::string report = SystemReport();
    const std::string rule = "\n" + std::string(23, '=');
    ASSERT_GE(report.size(), rule.size());
    EXPECT_EQ(report.substr(report.size() - rule.size()), rule);
    EXPECT_EQ(report.find("\n" + OsName() + "\n"), 0u);
    EXPECT_NE(report.find("\nCommandLine: " + platform::CommandLine() + "\n"), std::string::npos);
    if (sizeof(void*) == 8) {
        EXPECT_NE(report.find("OS 64bit"), std::string::npos) << "a 64-bit build runs on a 64-bit system";
    }
}

}  // namespace
}  // namespace lumi
