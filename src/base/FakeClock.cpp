// A clock for tests and the headless runner.
#include "base/FakeClock.h"

namespace lumi {

FakeClock::FakeClock(int64_t utcMilliseconds, long biasMinutes)
    : utcMs_(utcMilliseconds), bias_(biasMinutes) {}

void FakeClock::Advance(int64_t milliseconds) {
    utcMs_ += milliseconds;
    tickMs_ += milliseconds;
}

int64_t FakeClock::UtcNow() {
    return utcMs_ >= 0 ? utcMs_ / 1000 : -((-utcMs_ + 999) / 1000);
}

LocalTime FakeClock::LocalNow() {
    LocalTime t = ToLocal(UtcNow());
    t.millisecond = static_cast<int>(((utcMs_ % 1000) + 1000) % 1000);
    return t;
}

LocalTime FakeClock::ToLocal(int64_t utcSeconds) {
    return CivilFromSeconds(utcSeconds - static_cast<int64_t>(bias_) * 60);
}

std::optional<int64_t> FakeClock::FromLocal(const LocalTime& t) {
    // Normalise months first, then let day/hour/minute/second overflow arithmetically.
    int64_t year = 1900 + static_cast<int64_t>(t.year) + t.month / 12;
    int month = t.month % 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    if (year < -100000 || year > 100000) return std::nullopt;
    const int64_t days = DaysFromCivil(static_cast<int>(year), month + 1, 1) + (t.day - 1);
    return days * 86400 + static_cast<int64_t>(t.hour) * 3600 + static_cast<int64_t>(t.minute) * 60 +
           t.second + static_cast<int64_t>(bias_) * 60;
}

uint32_t FakeClock::TickCount() { return static_cast<uint32_t>(tickMs_); }

TimeZoneInfo FakeClock::TimeZone() {
    TimeZoneInfo tz;
    tz.bias = bias_;
    tz.standardName = "Fake Standard Time";
    tz.daylightName = "Fake Daylight Time";
    return tz;
}

void FakeClock::Sleep(uint32_t milliseconds) { Advance(milliseconds); }

}  // namespace lumi
