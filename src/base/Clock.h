// Every reading of the clock goes through one Clock, so tests and the headless runner can
// drive a fake one (a whole night in a second).
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace lumi {

// Broken-down time in the C library's form: year since 1900, month 0..11, day 1..31.
struct LocalTime {
    int year = 70;
    int month = 0;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int weekday = 4;  // 0 = Sunday
    int yearDay = 0;  // 0..365
    int isDst = 0;
};

// Time-zone information in the Windows form: UTC = local time + bias (minutes).
struct TimeZoneInfo {
    long bias = 0;
    long standardBias = 0;
    long daylightBias = 0;
    bool hasDaylight = false;
    bool daylightNow = false;
    std::string standardName;
    std::string daylightName;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual int64_t UtcNow() = 0;
    // Local time now, with milliseconds.
    virtual LocalTime LocalNow() = 0;
    virtual LocalTime ToLocal(int64_t utcSeconds) = 0;
    // mktime semantics: fields out of range are normalised; nullopt when not representable.
    virtual std::optional<int64_t> FromLocal(const LocalTime& local) = 0;
    // Milliseconds since some fixed start, wrapping at 2^32 like GetTickCount.
    virtual uint32_t TickCount() = 0;
    virtual TimeZoneInfo TimeZone() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The clock the whole program reads: the one SetClock installed, else the default.
Clock& TheClock();
// Installs another clock (tests, headless runner); nullptr restores the default clock.
// The caller keeps ownership and must outlive its use.
void SetClock(Clock* clock);
// The clock SetClock(nullptr) returns to. This folder sits below the platform, so the
// program's start hands the platform's real clock over here (platform::StartPlatform)
// before anything reads the time; until then the time stands still at 1970-01-01 UTC.
void SetDefaultClock(Clock* clock);

// Pure calendar arithmetic shared by the fake clock and tests (proleptic Gregorian, UTC).
int64_t DaysFromCivil(int year, int month1to12, int day);
LocalTime CivilFromSeconds(int64_t seconds);  // fields filled as UTC, isDst 0

// Between our broken-down time and the C library's; ToTm asks mktime to find daylight
// saving itself (tm_isdst = -1).
LocalTime FromTm(const std::tm& tm);
std::tm ToTm(const LocalTime& local);

}  // namespace lumi
