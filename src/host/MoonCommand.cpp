// The --moon command: the moon's state for now or for a given time, as text on stdout.
#include "host/MoonCommand.h"

#include <cstdio>

#include "moon/MoonPhase.h"

namespace lumi {

namespace {

const char kTimeHint[] =
    "use YYYY-MM-DDTHH:MM[:SS] followed by Z for UTC, by an offset such as +02:00, or by\n"
    "nothing for local time (e.g. 2024-04-23T23:49Z)";

// Reads exactly count digits at pos; the text is untrusted, so every index is checked.
bool ReadDigits(std::string_view text, size_t& pos, size_t count, int& value) {
    if (pos + count > text.size()) return false;
    int result = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    pos += count;
    value = result;
    return true;
}

bool Expect(std::string_view text, size_t& pos, char wanted) {
    if (pos >= text.size() || text[pos] != wanted) return false;
    ++pos;
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Offset east of UTC in seconds, from "Z", "+hh:mm", "+hhmm" or "+hh" (or '-').
bool ReadZone(std::string_view text, size_t& pos, int64_t& offsetSeconds) {
    if (text[pos] == 'Z' || text[pos] == 'z') {
        ++pos;
        offsetSeconds = 0;
        return true;
    }
    if (text[pos] != '+' && text[pos] != '-') return false;
    const int sign = text[pos] == '-' ? -1 : 1;
    ++pos;
    int hours = 0;
    int minutes = 0;
    if (!ReadDigits(text, pos, 2, hours)) return false;
    if (pos < text.size()) {
        if (text[pos] == ':') ++pos;
        if (!ReadDigits(text, pos, 2, minutes)) return false;
    }
    if (hours > 23 || minutes > 59) return false;
    offsetSeconds = sign * (static_cast<int64_t>(hours) * 3600 + minutes * 60);
    return true;
}

std::string FormatUtc(int64_t seconds) {
    const LocalTime t = CivilFromSeconds(seconds);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d UTC", t.year + 1900, t.month + 1, t.day, t.hour,
                  t.minute);
    return buf;
}

}  // namespace

std::optional<int64_t> ParseIsoTime(std::string_view text, Clock& clock) {
    size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, pos, 4, year) || !Expect(text, pos, '-') || !ReadDigits(text, pos, 2, month) ||
        !Expect(text, pos, '-') || !ReadDigits(text, pos, 2, day))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return std::nullopt;

    if (pos < text.size()) {
        if (text[pos] != 'T' && text[pos] != 't' && text[pos] != ' ') return std::nullopt;
        ++pos;
        if (!ReadDigits(text, pos, 2, hour) || !Expect(text, pos, ':') || !ReadDigits(text, pos, 2, minute))
            return std::nullopt;
        if (pos < text.size() && text[pos] == ':') {
            ++pos;
            if (!ReadDigits(text, pos, 2, second)) return std::nullopt;
            // A fraction of a second is accepted and dropped: the moon moves in minutes.
            if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
                ++pos;
                const size_t start = pos;
                while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
                if (pos == start) return std::nullopt;
            }
        }
        // 60 is a leap second, the only time a minute has it.
        if (hour > 23 || minute > 59 || second > 60) return std::nullopt;
    }

    if (pos == text.size()) {
        LocalTime local;
        local.year = year - 1900;
        local.month = month - 1;
        local.day = day;
        local.hour = hour;
        local.minute = minute;
        local.second = second;
        return clock.FromLocal(local);
    }
    int64_t offset = 0;
    if (!ReadZone(text, pos, offset) || pos != text.size()) return std::nullopt;
    return DaysFromCivil(year, month, day) * 86400 + static_cast<int64_t>(hour) * 3600 + minute * 60 + second -
           offset;
}

std::string MoonReport(int64_t now) {
    CpelurMoonData data;
    const int angle = CalcPhaseAt(data, now);
    std::string report = MoonText() + "\n";
    report += "phase angle: " + std::to_string(angle) + "\n";
    report += "illumination: " + data.getIlluminationText() + "\n";
    report += "time: " + FormatUtc(now) + "\n";

    const FullMoonEntry* table = FullMoonTable();
    const int count = GetFullMoonCount();
    const int latest = LatestFullMoonIndex(now);
    if (latest >= 0) report += "last full moon: " + FormatUtc(FullMoonInstant(table[latest])) + "\n";
    if (latest + 1 < count) {
        report += "next full moon: " + FormatUtc(FullMoonInstant(table[latest + 1])) + "\n";
    } else {
        // Past the table the phase repeats with the mean synodic month; say so.
        const int64_t age = data.secondsAfterFullMoon % SynodicMonthSeconds;
        report += "next full moon: about " + FormatUtc(now + SynodicMonthSeconds - age) +
                  " (beyond the table, mean cycle)\n";
    }
    return report;
}

int RunMoonCommand(const std::vector<std::string>& args) {
    std::optional<std::string> at;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--moon") continue;
        if (arg == "--at") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "lumivane: --at needs a time\n%s\n", kTimeHint);
                return 2;
            }
            at = args[++i];
        } else if (arg.rfind("--at=", 0) == 0) {
            at = arg.substr(5);
        } else {
            std::fprintf(stderr, "lumivane: --moon does not take \"%s\"\n", arg.c_str());
            return 2;
        }
    }
    Clock& clock = TheClock();
    int64_t now = clock.UtcNow();
    if (at) {
        const std::optional<int64_t> parsed = ParseIsoTime(*at, clock);
        if (!parsed) {
            std::fprintf(stderr, "lumivane: --at: \"%s\" is not a valid time\n%s\n", at->c_str(), kTimeHint);
            return 2;
        }
        now = *parsed;
    }
    std::fputs(MoonReport(now).c_str(), stdout);
    return 0;
}

}  // namespace lumi
