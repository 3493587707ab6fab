// The system clock on POSIX systems.
#include <time.h>

#include <cstring>

#include "platform/SystemClock.h"

namespace lumi {

namespace {

class PosixClock : public Clock {
public:
    int64_t UtcNow() override {
        struct timespec ts {};
        clock_gettime(CLOCK_REALTIME, &ts);
        return static_cast<int64_t>(ts.tv_sec);
    }

    LocalTime LocalNow() override {
        struct timespec ts {};
        clock_gettime(CLOCK_REALTIME, &ts);
        LocalTime t = ToLocal(static_cast<int64_t>(ts.tv_sec));
        t.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
        return t;
    }

    LocalTime ToLocal(int64_t utcSeconds) override {
        time_t tt = static_cast<time_t>(utcSeconds);
        struct tm tm {};
        if (!localtime_r(&tt, &tm)) return CivilFromSeconds(utcSeconds);
        return FromTm(tm);
    }

    std::optional<int64_t> FromLocal(const LocalTime& local) override {
        struct tm tm = ToTm(local);
        const time_t r = mktime(&tm);
        if (r == static_cast<time_t>(-1) && !(tm.tm_year == 69 && tm.tm_mon == 11 && tm.tm_mday == 31))
            return std::nullopt;
        return static_cast<int64_t>(r);
    }

    uint32_t TickCount() override {
        struct timespec ts {};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                     static_cast<uint64_t>(ts.tv_nsec / 1000000));
    }

    TimeZoneInfo TimeZone() override {
        tzset();
        TimeZoneInfo tz;
        const time_t now = time(nullptr);
        struct tm tm {};
        localtime_r(&now, &tm);
        // tm_gmtoff is local - UTC in seconds; Windows' bias is UTC - local in minutes.
        const long offsetNow = static_cast<long>(tm.tm_gmtoff / 60);
        tz.daylightNow = tm.tm_isdst > 0;
        tz.hasDaylight = daylight != 0;
        const long standardOffset = static_cast<long>(-timezone / 60);
        tz.bias = -standardOffset;
        tz.standardBias = 0;
        tz.daylightBias = tz.hasDaylight ? -(offsetNow - standardOffset) : 0;
        if (tz.hasDaylight && !tz.daylightNow) tz.daylightBias = -60;
        tz.standardName = tzname[0] ? tzname[0] : "";
        tz.daylightName = tzname[1] ? tzname[1] : "";
        return tz;
    }

    void Sleep(uint32_t milliseconds) override {
        struct timespec ts {};
        ts.tv_sec = milliseconds / 1000;
        ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
        while (nanosleep(&ts, &ts) != 0) {
        }
    }
};

}  // namespace

Clock& SystemClock() {
    // Never destroyed: the log writes its closing lines at exit, after static objects may
    // already be gone, and reads the clock to stamp them.
    static Clock* const clock = new PosixClock;
    return *clock;
}

}  // namespace lumi
