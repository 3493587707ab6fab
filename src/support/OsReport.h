// One-line name of the operating-system version and the report that heads the log.
#pragma once

#include <cstdint>
#include <string>

namespace lumi {

// Looks the packed version value up in the table of known versions.
std::string OsNameFor(uint32_t packedVersion);
std::string OsName();
// The report for given pieces (testable) and for this machine.
std::string SystemReportFor(uint32_t packedVersion, bool os64On32, const std::string& commandLine);
std::string SystemReport();

}  // namespace lumi
