// World time: the zone table and the "World time view" dialog's logic, which turns two
// chosen zones into the TIME keyword the sky shows and reads such a keyword back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumi {

struct TimeZoneEntry {
    float offset;      // hours from Greenwich, whole or half
    const char* name;  // at most 79 characters
};

constexpr int kZoneCount = 64;
constexpr size_t kWorldMessageCapacity = 40;      // the message buffer, terminator included
constexpr size_t kWorldBottomLineCapacity = 300;  // likewise

// The zone at index 0..63, or nullptr.
const TimeZoneEntry* ZoneAt(int index);

enum class DaylightSaving { No, Yes };

// Hours to add to the local clock to get the watched place's clock.
float WorldTimeDifference(int localZone, DaylightSaving localDst, int watchedZone, DaylightSaving watchedDst);

// "TIME %2.1f %s %s iLoc%i iWor%i" with the difference, LDST / WDST or empty, and the
// two zone indexes.
std::string WorldTimeKeyword(float difference, DaylightSaving localDst, DaylightSaving watchedDst,
                             int localZone, int watchedZone);

// What the dialog's controls show. A zone of -1 means no selection.
struct WorldTimeChoice {
    int localZone = -1;
    DaylightSaving localDst = DaylightSaving::No;
    int watchedZone = -1;
    DaylightSaving watchedDst = DaylightSaving::No;
    std::string bottomLine;
};

struct WorldTimeResult {
    std::string message;
    std::string bottomLine;
};

// Opening: the controls restored from the message being edited and its bottom line.
// The shell fills both combo boxes with the names of ZoneAt(0..63) first.
WorldTimeChoice OpenWorldTimeDialog(std::string_view message, std::string_view bottomLine);

// OK: the new message and bottom line. A missing zone gives a message that asks for
// it, so the sky itself tells the user what to select.
WorldTimeResult ConfirmWorldTimeDialog(const WorldTimeChoice& choice);

}  // namespace lumi
