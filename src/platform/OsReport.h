// One-line name of the operating-system version and the report that heads the log.
#pragma once

#include <cstdint>
#include <string>

namespace lumi {

// Looks the packed version value up in the table of known versions; any other value
// gives "%04X:%04X, (WinVer= %d.%d), (DOSVer= %d.%d)".
std::string OsNameFor(uint32_t packedVersion);
std::string OsName();
// The report for given pieces (testable) and for this machine: name, "OS 64bit" or
// "OS 32bit", the command line, and a closing rule of 23 equals signs.
std::string SystemReportFor(uint32_t packedVersion, bool os64Bit, const std::string& commandLine);
std::string SystemReport();
// Whether the system is 64-bit: a 64-bit process, or a 32-bit one on a 64-bit system.
bool OsIs64Bit();

}  // namespace lumi
