// The system clock on Windows.
#include <windows.h>

#include <ctime>

#include "platform/SystemClock.h"

namespace lumi {

namespace {

int64_t FileTimeToUnixMs(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<int64_t>(u.QuadPart / 10000ULL) - 11644473600000LL;
}

class Win32Clock : public Clock {
public:
    int64_t UtcNow() override {
        FILETIME ft;
        GetSystemTimeAsFileTime(&ft);
        return FileTimeToUnixMs(ft) / 1000;
    }

    LocalTime LocalNow() override {
        FILETIME ft;
        GetSystemTimeAsFileTime(&ft);
        const int64_t ms = FileTimeToUnixMs(ft);
        LocalTime t = ToLocal(ms / 1000);
        t.millisecond = static_cast<int>(ms % 1000);
        return t;
    }

    LocalTime ToLocal(int64_t utcSeconds) override {
        __time64_t tt = static_cast<__time64_t>(utcSeconds);
        struct tm tm {};
        if (_localtime64_s(&tm, &tt) != 0) return CivilFromSeconds(utcSeconds);
        return FromTm(tm);
    }

    std::optional<int64_t> FromLocal(const LocalTime& local) override {
        struct tm tm = ToTm(local);
        const __time64_t r = _mktime64(&tm);
        if (r == static_cast<__time64_t>(-1)) return std::nullopt;
        return static_cast<int64_t>(r);
    }

    uint32_t TickCount() override { return GetTickCount(); }

    TimeZoneInfo TimeZone() override {
        TIME_ZONE_INFORMATION tzi{};
        const DWORD state = GetTimeZoneInformation(&tzi);
        TimeZoneInfo tz;
        tz.bias = tzi.Bias;
        tz.standardBias = tzi.StandardBias;
        tz.daylightBias = tzi.DaylightBias;
        tz.hasDaylight = tzi.DaylightDate.wMonth != 0;
        tz.daylightNow = state == TIME_ZONE_ID_DAYLIGHT;
        char name[64];
        WideCharToMultiByte(CP_ACP, 0, tzi.StandardName, -1, name, sizeof name, nullptr, nullptr);
        tz.standardName = name;
        WideCharToMultiByte(CP_ACP, 0, tzi.DaylightName, -1, name, sizeof name, nullptr, nullptr);
        tz.daylightName = name;
        return tz;
    }

    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

Clock& SystemClock() {
    // Never destroyed: the log writes its closing lines at exit, after static objects may
    // already be gone, and reads the clock to stamp them.
    static Clock* const clock = new Win32Clock;
    return *clock;
}

}  // namespace lumi
