// The moon's phase from the age since the latest full moon of the table, and the moon
// text of the bottom line with the full-moon notices.
#include "moon/MoonPhase.h"

#include <cstdio>
#include <cstdlib>

#include "base/Clock.h"
#include "base/BoundedText.h"
#include "base/Log.h"

namespace lumi {

namespace {

const char* const kFullMoonNames[12] = {
    "Wolf Moon",   "Snow Moon",  "Worm Moon",   "Pink Moon",     "Flower Moon", "Strawberry Moon",
    "Buck Moon",   "Sturgeon Moon", "Harvest Moon", "Hunter's Moon", "Beaver Moon", "Cold Moon",
};

// The full-moon notice runs through the night after the full-moon date: from 04:00 UTC
// on that date to 04:00 UTC on the next, and "tomorrow" for the 24 hours before.
constexpr int64_t kTonightShift = 14400;
constexpr int64_t kTomorrowShift = 72000;

std::string moonText;

bool SameDate(const LocalTime& utc, const FullMoonEntry& entry) {
    return utc.year + 1900 == entry.year && utc.month + 1 == entry.month && utc.day == entry.day;
}

}  // namespace

int64_t FullMoonInstant(const FullMoonEntry& entry) {
    // Hours and minutes past their range simply add up, which carries 20:60 to 21:00.
    return DaysFromCivil(entry.year, entry.month, entry.day) * 86400 + static_cast<int64_t>(entry.hour) * 3600 +
           static_cast<int64_t>(entry.minute) * 60;
}

int LatestFullMoonIndex(int64_t now) {
    const FullMoonEntry* table = FullMoonTable();
    for (int k = GetFullMoonCount() - 1; k >= 0; --k) {
        if (FullMoonInstant(table[k]) <= now) return k;
    }
    return -1;
}

int64_t StandardBiasSeconds() { return static_cast<int64_t>(TheClock().TimeZone().bias) * 60; }

void CpelurMoonData::calculate(int64_t now) {
    const int latest = LatestFullMoonIndex(now);
    const int64_t elapsed = now - FullMoonInstant(FullMoonTable()[latest >= 0 ? latest : 0]);
    // Before the first entry the age is negative; a floored remainder counts the cycle
    // back from that full moon instead of giving angles below 0 and more than 100% lit.
    int64_t remainder = elapsed % SynodicMonthSeconds;
    if (remainder < 0) remainder += SynodicMonthSeconds;
    if (latest >= 0) {
        secondsAfterFullMoon = elapsed;
        secondsBeforeFullMoon = SynodicMonthSeconds - elapsed;
    } else {
        secondsAfterFullMoon = remainder;
        secondsBeforeFullMoon = SynodicMonthSeconds - remainder;
    }
    AppLog().Info.Log("CpelurMoonData: Seconds after the last Full moon", secondsAfterFullMoon);
    AppLog().Info.Log("CpelurMoonData: Seconds before the next Full moon", secondsBeforeFullMoon);

    phaseAngle = static_cast<int32_t>(remainder * 360 / SynodicMonthSeconds);
    const int32_t distanceFromFull = phaseAngle < 360 - phaseAngle ? phaseAngle : 360 - phaseAngle;
    char text[IlluminationTextCapacity];
    std::snprintf(text, sizeof text, "%i%%", static_cast<int>((180 - distanceFromFull) * 100 / 180));
    illuminationText = text;
}

const char* CpelurMoonData::getFullMoonName(int month) const {
    AppLog().Info.Log("MoonName for month", month);
    if (month < 1 || month > 12) {
        AppLog().Error.Log("CpelurMoonData::getFullMoonName of month", month);
        return "error #528";
    }
    return kFullMoonNames[month - 1];
}

const char* CpelurMoonData::getPhaseName() {
    phaseAngle %= 360;
    const int32_t p = phaseAngle;
    // "Full Moon" is deliberately narrow (0 and 1): the nights around it read as gibbous.
    if (std::abs(p) <= 3 && (p <= 1 || p == 359)) return "Full Moon";
    if (std::abs(p - 90) <= 3) return "Last Quarter";
    if (std::abs(p - 180) <= 3) return "New Moon";
    if (std::abs(p - 270) <= 3) return "First Quarter";
    if (p < 90) return "Waning Gibbous Moon";
    if (p < 180) return "Waning Crescent Moon";
    if (p < 270) return "Waxing Crescent Moon";
    if (p < 360) return "Waxing Gibbous Moon";
    return "Unknown phase #419";
}

int CalcPhase(CpelurMoonData& data) { return CalcPhaseAt(data, TheClock().UtcNow()); }

int CalcPhaseAt(CpelurMoonData& data, int64_t now) {
    AppLog().Info.Log("CalcPhase", "Entering");
    data.calculate(now);
    const int angle = data.phaseAngle;
    AppLog().Info.Log("time zone", StandardBiasSeconds());

    moonText.clear();
    const LocalTime tonightDate = CivilFromSeconds(now - kTonightShift);
    const LocalTime tomorrowDate = CivilFromSeconds(now + kTomorrowShift);
    const FullMoonEntry* table = FullMoonTable();
    for (int k = GetFullMoonCount() - 1; k >= 0; --k) {
        const FullMoonEntry& entry = table[k];
        const bool tonight = SameDate(tonightDate, entry);
        const bool tomorrow = SameDate(tomorrowDate, entry);
        if (tonight) {
            AppLog().Info.Log("Full moon", "tonight");
            BoundedCopy(moonText, " - Full moon tonight:", MoonTextCapacity);
        }
        if (tomorrow) {
            AppLog().Info.Log("Full moon", "tomorrow");
            BoundedCopy(moonText, " - Full moon tomorrow:", MoonTextCapacity);
        }
        if (!tonight && !tomorrow) continue;
        // The second full moon of a calendar month is the Blue Moon; its notice replaces
        // the tonight/tomorrow words rather than following them.
        const bool blueMoon = k > 0 && table[k - 1].month == entry.month && table[k - 1].year == entry.year;
        if (blueMoon) {
            BoundedCopy(moonText, " Blue Moon", MoonTextCapacity);
        } else {
            BoundedAppend(moonText, " ", MoonTextCapacity);
            BoundedAppend(moonText, data.getFullMoonName(entry.month), MoonTextCapacity);
        }
    }
    BoundedAppend(moonText, " - ", MoonTextCapacity);
    BoundedAppend(moonText, data.getPhaseName(), MoonTextCapacity);
    BoundedAppend(moonText, " ", MoonTextCapacity);
    BoundedAppend(moonText, data.getIlluminationText(), MoonTextCapacity);
    return angle;
}

const std::string& MoonText() { return moonText; }

void ResetMoonText() { moonText.clear(); }

}  // namespace lumi
