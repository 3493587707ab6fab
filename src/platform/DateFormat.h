// The short date the world-time message shows under the time: the day and month
// abbreviated as the user's locale writes them, as in "Tue, Apr 05".
#pragma once

#include <string>

#include "base/Clock.h"

namespace lumi::platform {

// Year, month, day and weekday of `date` in the picture "ddd',' MMM dd"; at most 49
// characters, "" when the platform cannot format the date.
std::string ShortDayMonthDate(const LocalTime& date);

}  // namespace lumi::platform
