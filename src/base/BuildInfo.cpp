// The build's date and time stamp from __DATE__ and __TIME__.
#include "base/BuildInfo.h"

#include <cstdio>
#include <cstring>

#include "base/Clock.h"
#include "base/Log.h"

namespace lumi {

std::string BuildDate() { return BuildDateText(__DATE__); }

std::string BuildTimestamp() { return BuildTimestampText(__DATE__, __TIME__); }

std::string BuildTimestampText(std::string_view compilerDate, std::string_view compilerTime) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const std::string date(compilerDate);
    char month[4] = {};
    int day = 0, year = 0;
    if (std::sscanf(date.c_str(), "%3s %d %d", month, &day, &year) != 3 || day < 1 || day > 31 || year < 1970)
        return std::string();
    int monthNumber = 0;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, kMonths[m]) == 0) monthNumber = m + 1;
    if (monthNumber == 0) return std::string();
    // 1970-01-01 was a Thursday.
    const int64_t days = DaysFromCivil(year, monthNumber, day);
    const char* weekday = kWeekdays[(days % 7 + 11) % 7];
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %.8s %d", weekday, month, day, std::string(compilerTime).c_str(),
                  year);
    return text;
}

}  // namespace lumi
