// Countdown and day-of-life texts, the birthday keyword, and the checks of their dialogs.
#include "content/Counters.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "base/Clock.h"
#include "settings/IniFile.h"

namespace lumi {

namespace {

// Far beyond any real date, yet small enough that no calendar sum can overflow.
constexpr long kFieldLimit = 1000000;

int ClampField(long value) { return static_cast<int>(std::clamp(value, -kFieldLimit, kFieldLimit)); }

std::optional<int64_t> LocalMidnightOrTime(Clock& clock, long year, long month, long day, long hour, long minute) {
    LocalTime t;
    t.year = ClampField(year) - 1900;
    t.month = ClampField(month) - 1;
    t.day = ClampField(day);
    t.hour = ClampField(hour);
    t.minute = ClampField(minute);
    t.second = 0;
    t.isDst = -1;  // let the calendar decide whether daylight saving applies
    return clock.FromLocal(t);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// One "%i" conversion as scanf does it: blanks skipped, a sign, then hexadecimal after
// 0x, octal after a leading 0, decimal otherwise. Out-of-range values saturate.
bool ScanInt(std::string_view text, size_t& pos, int& value) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '0') {
        base = 8;
        if (pos + 2 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
            std::isxdigit(static_cast<unsigned char>(text[pos + 2]))) {
            base = 16;
            pos += 2;
        }
    }
    int64_t magnitude = 0;
    size_t digits = 0;
    for (; pos < text.size(); ++pos, ++digits) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else break;
        if (d >= base) break;
        magnitude = std::min<int64_t>(magnitude * base + d, int64_t{1} << 40);
    }
    if (digits == 0) return false;
    const int64_t v = negative ? -magnitude : magnitude;
    value = static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
    return true;
}

// A blank in a scanf format matches any run of white space, including none.
void SkipSpace(std::string_view text, size_t& pos) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
}

bool Literal(std::string_view text, size_t& pos, std::string_view word) {
    if (text.substr(pos, word.size()) != word) return false;
    pos += word.size();
    return true;
}

}  // namespace

CountdownTarget LoadCountdown(IniFile& ini) {
    CountdownTarget t;
    t.year = ClampField(ini.ReadIntForUser("CDCounter", "Year", 2003));
    t.month = ClampField(ini.ReadIntForUser("CDCounter", "Month", 1));
    t.day = ClampField(ini.ReadIntForUser("CDCounter", "Day", 1));
    t.hour = ClampField(ini.ReadIntForUser("CDCounter", "Hour", 0));
    t.minute = ClampField(ini.ReadIntForUser("CDCounter", "Min", 0));
    return t;
}

void SaveCountdown(IniFile& ini, const CountdownTarget& t) {
    ini.WriteUIntForUser("CDCounter", "Year", static_cast<unsigned>(t.year));
    ini.WriteUIntForUser("CDCounter", "Month", static_cast<unsigned>(t.month));
    ini.WriteUIntForUser("CDCounter", "Day", static_cast<unsigned>(t.day));
    ini.WriteUIntForUser("CDCounter", "Hour", static_cast<unsigned>(t.hour));
    ini.WriteUIntForUser("CDCounter", "Min", static_cast<unsigned>(t.minute));
}

std::string CountdownText(const CountdownTarget& target, Clock& clock) {
    static constexpr const char* kOver = "Countdown\n   is over";
    const std::optional<int64_t> when =
        LocalMidnightOrTime(clock, target.year, target.month, target.day, target.hour, target.minute);
    // A date the calendar cannot hold counts as passed.
    if (!when) return kOver;
    const int64_t minutes = (*when - clock.UtcNow()) / 60;
    if (minutes < 0) return kOver;
    char text[64];
    if (minutes >= 2880) {
        std::snprintf(text, sizeof text, "%lld days", static_cast<long long>(minutes / 1440));
        return text;
    }
    std::string out;
    if (minutes >= 1440) {
        std::snprintf(text, sizeof text, "%lld day\n", static_cast<long long>(minutes / 1440));
        out = text;
    }
    const int rest = static_cast<int>(minutes % 1440);
    std::snprintf(text, sizeof text, "%02i:%02i hours", rest / 60, rest % 60);
    return out + text;
}

std::string CountdownText() {
    return CountdownText(LoadCountdown(MainIni()), TheClock());
}

bool ParseBirthday(std::string_view text, Birthday& birthday) {
    size_t pos = 0;
    if (!Literal(text, pos, "BIRTHDAY")) return false;
    SkipSpace(text, pos);
    if (!Literal(text, pos, "FROM")) return false;
    int year = 0, month = 0, day = 0;
    if (!ScanInt(text, pos, year) || !ScanInt(text, pos, month) || !ScanInt(text, pos, day)) return false;
    birthday.year = year;
    birthday.month = month;
    birthday.day = day;
    return true;
}

std::string FormatBirthday(const Birthday& b) {
    char text[64];
    std::snprintf(text, sizeof text, "BIRTHDAY FROM %i %i %i", b.year, b.month, b.day);
    return text;
}

void SaveBirthday(IniFile& ini, const Birthday& b) {
    ini.WriteUIntForUser("Birthday", "Year", static_cast<unsigned>(b.year));
    ini.WriteUIntForUser("Birthday", "Month", static_cast<unsigned>(b.month));
    ini.WriteUIntForUser("Birthday", "Day", static_cast<unsigned>(b.day));
}

std::string DayOfLifeText(const Birthday& birthday, Clock& clock) {
    // The years before 1970 are counted by the calendar rule of the saver's era (every
    // fourth year has 366 days); the rest is measured from the same day of 1970.
    int64_t year = ClampField(birthday.year);
    int64_t sum = 0;
    if (year < 1970) {
        const int64_t leapYears = FloorDiv(1969, 4) - FloorDiv(year - 1, 4);
        sum = 365 * (1970 - year) + leapYears;
        year = 1970;
    }
    const std::optional<int64_t> born = LocalMidnightOrTime(clock, static_cast<long>(year), birthday.month,
                                                            birthday.day, 0, 0);
    if (!born) return "Wrong birthday";
    sum += (clock.UtcNow() - *born) / 86400;
    if (sum <= 0) return "Wrong birthday";
    char text[64];
    std::snprintf(text, sizeof text, "Day %lld\nof your life", static_cast<long long>(sum));
    return text;
}

std::string DayOfLifeText(const Birthday& birthday) { return DayOfLifeText(birthday, TheClock()); }

std::optional<FieldError> CheckCountdownFields(const CountdownFields& f, int currentYear) {
    const long long year = f.year;
    if (year < currentYear) return FieldError{"Error in Year", "You can not specify past years"};
    if (year > static_cast<long long>(currentYear) + 20) return FieldError{"Error in Year", "You specified a very far year"};
    if (f.month < 1 || f.month > 12) return FieldError{"Error in Month", "Please enter a number from 1 to 12"};
    if (f.day < 1 || f.day > 31) return FieldError{"Error in Day", "Please enter a number from 1 to 31"};
    if (f.hour > 23) return FieldError{"Error in Hour", "Please enter a number from 0 to 23"};
    if (f.minute > 59) return FieldError{"Error in Minutes", "Please enter a number from 0 to 59"};
    return std::nullopt;
}

std::optional<FieldError> CheckCountdownFields(const CountdownFields& fields) {
    return CheckCountdownFields(fields, TheClock().LocalNow().year + 1900);
}

std::optional<FieldError> CheckBirthdayFields(const BirthdayFields& f) {
    if (f.year < 1950 || f.year > 2050) return FieldError{"Error in Year", "Please enter a number from 1950 to 2050"};
    if (f.month < 1 || f.month > 12) return FieldError{"Error in Month", "Please enter a number from 1 to 12"};
    if (f.day < 1 || f.day > 31) return FieldError{"Error in Day", "Please enter a number from 1 to 31"};
    return std::nullopt;
}

}  // namespace lumi
