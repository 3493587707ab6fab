// The --moon command: the moon's state for now or for a given time, as text on stdout.
#include "host/MoonCommand.h"

#include <cstdio>

#include "moon/MoonPhase.h"

namespace lumi {

namespace {

constexpr int64_t kYearZero = -62167219200;      // 0000-01-01 00:00 UTC
constexpr int64_t kYear9999End = 253402300799;   // 9999-12-31 23:59:59 UTC

std::string FormatUtc(int64_t seconds) {
    const LocalTime t = CivilFromSeconds(seconds);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d UTC", t.year + 1900, t.month + 1, t.day, t.hour,
                  t.minute);
    return buf;
}

}  // namespace

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

int RunMoonCommand(const CommandLine& command, Clock& clock) {
    int64_t now = clock.UtcNow();
    if (command.hasAt) {
        // Years 0 to 9999, as far as a written date reaches; the tables end much sooner.
        const std::optional<int64_t> at = AtTimeSeconds(command.at, clock);
        if (!at || *at < kYearZero || *at > kYear9999End) {
            std::fprintf(stderr, "lumivane: --at: not a valid time on this clock\n%s\n", AtTimeHint());
            return 2;
        }
        now = *at;
    }
    std::fputs(MoonReport(now).c_str(), stdout);
    return 0;
}

}  // namespace lumi
