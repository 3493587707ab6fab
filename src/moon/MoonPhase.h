// Where the moon stands in its cycle: the age since the latest full moon of the table,
// the phase angle, name and lit percentage, and the moon text of the bottom line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "moon/FullMoonTable.h"

namespace lumi {

// 29 days 12 h 44 min 3 s.
constexpr int32_t SynodicMonthSeconds = 2551443;
constexpr size_t MoonTextCapacity = 100;
constexpr size_t IlluminationTextCapacity = 12;

class CpelurMoonData {
public:
    // Sets the phase angle, both second counts and the illumination text for now (UTC
    // seconds since 1970).
    void calculate(int64_t now);
    // "Wolf Moon" .. "Cold Moon" for months 1..12, "error #528" otherwise.
    const char* getFullMoonName(int month) const;
    // Reduces phaseAngle modulo 360 first (sign of the dividend), then names it.
    const char* getPhaseName();
    const std::string& getIlluminationText() const { return illuminationText; }

    // 0 full moon, 90 last quarter, 180 new moon, 270 first quarter.
    int32_t phaseAngle = 0;
    // 64 bits: the table reaches past 2038, and after its last entry the age keeps growing.
    int64_t secondsAfterFullMoon = 0;
    int64_t secondsBeforeFullMoon = 0;
    std::string illuminationText;  // "%i%%", capacity IlluminationTextCapacity
};

// The instant of a table entry: its values normalised (minute 60 is the next hour) and
// read as UTC, whatever the machine's zone.
int64_t FullMoonInstant(const FullMoonEntry& entry);
// Index of the latest entry whose instant is not after now, or -1 before the first.
int LatestFullMoonIndex(int64_t now);
// The zone's standard bias in seconds (UTC = local + bias).
int64_t StandardBiasSeconds();

// Computes the moon data for the clock's present moment, composes MoonText and returns
// the phase angle calculate() stored. The moon object calls this when it is created.
int CalcPhase(CpelurMoonData& data);
// The same for a given instant (the command line's --at).
int CalcPhaseAt(CpelurMoonData& data, int64_t now);

// The one-line moon text the bottom line shows; starts with a blank. Module-wide.
const std::string& MoonText();
// For tests: back to the empty text of a fresh start.
void ResetMoonText();

}  // namespace lumi
