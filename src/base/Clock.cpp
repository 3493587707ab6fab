// The clock registry and calendar arithmetic shared by every clock.
#include "base/Clock.h"

#include <atomic>

#include "base/FakeClock.h"

namespace lumi {

namespace {
std::atomic<Clock*> installedClock{nullptr};
std::atomic<Clock*> defaultClock{nullptr};

Clock& StandingClock() {
    static FakeClock standing;  // never freed: read during static destruction too
    return standing;
}
}  // namespace

Clock& TheClock() {
    if (Clock* c = installedClock.load(std::memory_order_acquire)) return *c;
    if (Clock* c = defaultClock.load(std::memory_order_acquire)) return *c;
    return StandingClock();
}

void SetDefaultClock(Clock* clock) { defaultClock.store(clock, std::memory_order_release); }

void SetClock(Clock* clock) { installedClock.store(clock, std::memory_order_release); }

// Howard Hinnant's days_from_civil: exact for every proleptic Gregorian date.
int64_t DaysFromCivil(int year, int month, int day) {
    const int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = (month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

LocalTime CivilFromSeconds(int64_t seconds) {
    int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    int64_t rem = seconds - days * 86400;
    LocalTime t;
    t.hour = static_cast<int>(rem / 3600);
    t.minute = static_cast<int>(rem % 3600 / 60);
    t.second = static_cast<int>(rem % 60);
    t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    t.year = static_cast<int>(y - 1900);
    t.month = m - 1;
    t.day = d;
    t.yearDay = static_cast<int>(days - DaysFromCivil(static_cast<int>(y), 1, 1));
    t.isDst = 0;
    return t;
}

LocalTime FromTm(const std::tm& tm) {
    LocalTime t;
    t.year = tm.tm_year;
    t.month = tm.tm_mon;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.weekday = tm.tm_wday;
    t.yearDay = tm.tm_yday;
    t.isDst = tm.tm_isdst > 0 ? 1 : 0;
    return t;
}

std::tm ToTm(const LocalTime& local) {
    std::tm tm{};
    tm.tm_year = local.year;
    tm.tm_mon = local.month;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    return tm;
}

}  // namespace lumi
