// `lumivane --moon [--at TIME]`: prints the moon text as the bottom line would show it,
// the phase angle and the neighbouring full moons.
#pragma once

#include <cstdint>
#include <string>

#include "host/CommandLine.h"
#include "base/Clock.h"

namespace lumi {

// The report for one instant: the moon text on the first line, "phase angle: N" on the
// second, then the lit percentage and the last and next full moon in UTC.
std::string MoonReport(int64_t now);

// Runs the command the command-line reader made of --moon [--at TIME] (the reader checks
// the time's form). Returns the exit code: 0, or 2 for a time the clock cannot place.
int RunMoonCommand(const CommandLine& command, Clock& clock = TheClock());

}  // namespace lumi
