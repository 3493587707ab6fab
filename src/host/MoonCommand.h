// `lumivane --moon [--at TIME]`: prints the moon text as the bottom line would show it,
// the phase angle and the neighbouring full moons.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace lumi {

// An ISO-8601 date and time: YYYY-MM-DDTHH:MM[:SS[.fff]] followed by Z (UTC), by an offset
// +hh:mm / -hh:mm / +hhmm / +hh, or by nothing (local time of the clock's zone); a bare
// YYYY-MM-DD is local midnight. Returns UTC seconds since 1970, or nullopt when the text
// is not such a time or names a date that does not exist.
std::optional<int64_t> ParseIsoTime(std::string_view text, Clock& clock);

// The report for one instant: the moon text on the first line, "phase angle: N" on the
// second, then the lit percentage and the last and next full moon in UTC.
std::string MoonReport(int64_t now);

// Runs the command for the whole command line (args[0] is the program). Returns the
// exit code: 0, or 2 for a bad option or time (with a message on stderr).
int RunMoonCommand(const std::vector<std::string>& args);

}  // namespace lumi
