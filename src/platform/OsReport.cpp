// The operating-system name and the system report.
#include "platform/OsReport.h"

#include <cstdio>

#include "platform/System.h"

namespace lumi {

namespace {

struct KnownVersion {
    uint32_t packed;
    const char* name;
};

constexpr KnownVersion kKnownVersions[] = {
    {0x0A280105u, "WinXP pro"},
    {0x0ECE0205u, "Win2003 server"},
    {0x08930005u, "Win2000"},
    {0x15040000u, "Windows Mobile 2003 Second Edition"},
    {0x17700006u, "Vista Business"},
    {0x1B580106u, "Windows7 Ultimate"},
    {0xC0000004u, "Win95"},
    {0xC0000A04u, "Win98 SE"},
};

}  // namespace

std::string OsNameFor(uint32_t v) {
    for (const KnownVersion& known : kKnownVersions)
        if (known.packed == v) return known.name;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04X:%04X, (WinVer= %u.%u), (DOSVer= %u.%u)", v >> 16, v & 0xFFFFu,
                  v & 0xFFu, (v >> 8) & 0xFFu, v >> 24, (v >> 16) & 0xFFu);
    return buf;
}

std::string OsName() { return OsNameFor(platform::PackedOsVersion()); }

std::string SystemReportFor(uint32_t packedVersion, bool os64Bit, const std::string& commandLine) {
    std::string report = "\n";
    report += OsNameFor(packedVersion);
    report += '\n';
    report += os64Bit ? "OS 64bit" : "OS 32bit";
    report += "\nCommandLine: ";
    report += commandLine;
    report += "\n=======================";
    return report;
}

bool OsIs64Bit() {
    // Asking only whether a 32-bit process runs on a 64-bit system would call every
    // system "32bit" to a 64-bit build.
    return sizeof(void*) == 8 || platform::Is32BitProcessOn64BitOs();
}

std::string SystemReport() {
    return SystemReportFor(platform::PackedOsVersion(), OsIs64Bit(), platform::CommandLine());
}

}  // namespace lumi
