// The world-time date with English abbreviations: the messages are written in stars
// whose font only carries the system code page, so locale names are not used here.
#include <cstdio>

#include "platform/DateFormat.h"

namespace lumi::platform {

std::string ShortDayMonthDate(const LocalTime& date) {
    static constexpr const char* kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (date.weekday < 0 || date.weekday > 6 || date.month < 0 || date.month > 11 || date.day < 1 ||
        date.day > 31)
        return "";
    char text[50];
    std::snprintf(text, sizeof text, "%s, %s %02d", kDays[date.weekday], kMonths[date.month], date.day);
    return text;
}

}  // namespace lumi::platform
