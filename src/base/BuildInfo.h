// When this program was built, as the compiler saw it: taken once, in one file, so the log,
// the settings file and the About page all name the same build.
#pragma once

#include <string>
#include <string_view>

namespace lumi {

// "Apr 17 2011": three-letter English month, day, four-digit year.
std::string BuildDate();
// "Tue Apr  5 23:29:08 2011": weekday, month, day (two places), time and year.
std::string BuildTimestamp();

// The time stamp for a compiler date ("Apr  5 2011") and time ("23:29:08"); an empty text
// when the date cannot be read.
std::string BuildTimestampText(std::string_view compilerDate, std::string_view compilerTime);

}  // namespace lumi
