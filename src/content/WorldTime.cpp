// The zone table and the logic of the "World time view" dialog.
#include "content/WorldTime.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "base/BoundedText.h"
#include "support/TextSearch.h"
#include "base/Log.h"

namespace lumi {

namespace {

constexpr TimeZoneEntry kZones[kZoneCount] = {
    {-12.0f, "(GMT-12:00) Eniwetok, Kwajalein"},
    {-11.0f, "(GMT-11:00) Midway Island, Samoa"},
    {-10.0f, "(GMT-10:00) Hawaii"},
    {-9.0f, "(GMT-09:00) Alaska"},
    {-8.0f, "(GMT-08:00) Pacific Time (US & Canada); Tijuana"},
    {-7.0f, "(GMT-07:00) Mountain Time (US & Canada)"},
    {-7.0f, "(GMT-07:00) Arizona"},
    {-6.0f, "(GMT-06:00) Central Time (US & Canada)"},
    {-6.0f, "(GMT-06:00) Saskatchewan"},
    {-6.0f, "(GMT-06:00) Mexico City, Tegucigalpa"},
    {-5.0f, "(GMT-05:00) Eastern Time (US & Canada)"},
    {-5.0f, "(GMT-05:00) Indiana (East)"},
    {-5.0f, "(GMT-05:00) Bogota, Lima, Quito"},
    {-4.0f, "(GMT-04:00) Atlantic Time (Canada)"},
    {-4.0f, "(GMT-04:00) Caracas, La Paz"},
    {-4.0f, "(GMT-04:00) Santiago"},
    {-3.5f, "(GMT-03:30) Newfoundland"},
    {-3.0f, "(GMT-03:00) Brasilia"},
    {-3.0f, "(GMT-03:00) Buenos Aires, Georgetown"},
    {-2.0f, "(GMT-02:00) Mid-Atlantic"},
    {-1.0f, "(GMT-01:00) Azores, Cape Verde Is."},
    {0.0f, "(GMT) Greenwich Mean Time : Dublin, Edinburgh, Lisbon, London"},
    {0.0f, "(GMT) Casablanca, Monrovia"},
    {1.0f, "(GMT+01:00) Belgrade, Bratislava, Budapest, Ljubljana, Prague"},
    {1.0f, "(GMT+01:00) Sarajevo, Skopje, Sofija, Warsaw, Zagreb"},
    {1.0f, "(GMT+01:00) Brussels, Copenhagen, Madrid, Paris, Vilnius"},
    {1.0f, "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna"},
    {2.0f, "(GMT+02:00) Athens, Thessaloniki"},
    {2.0f, "(GMT+02:00) Bucharest"},
    {2.0f, "(GMT+02:00) Cairo"},
    {2.0f, "(GMT+02:00) Helsinki, Riga, Tallinn"},
    {2.0f, "(GMT+02:00) Istanbul, Minsk"},
    {2.0f, "(GMT+02:00) Jerusalem"},
    {2.0f, "(GMT+02:00) Harare, Pretoria"},
    {3.0f, "(GMT+03:00) Moscow, St. Petersburg, Volgograd"},
    {3.0f, "(GMT+03:00) Baghdad, Kuwait, Riyadh"},
    {3.0f, "(GMT+03:00) Nairobi"},
    {3.5f, "(GMT+03:30) Tehran"},
    {4.0f, "(GMT+04:00) Abu Dhabi, Muscat"},
    {4.0f, "(GMT+04:00) Baku, Tbilisi"},
    {4.5f, "(GMT+04:30) Kabul"},
    {5.0f, "(GMT+05:00) Ekaterinburg"},
    {5.0f, "(GMT+05:00) Islamabad, Karachi, Tashkent"},
    {5.5f, "(GMT+05:30) Bombay, Calcutta, Madras, New Delhi"},
    {6.0f, "(GMT+06:00) Astana, Almaty, Dhaka"},
    {6.0f, "(GMT+06:00) Colombo"},
    {7.0f, "(GMT+07:00) Bangkok, Hanoi, Jakarta"},
    {8.0f, "(GMT+08:00) Beijing, Chongqing, Hong Kong, Urumqi"},
    {8.0f, "(GMT+08:00) Singapore"},
    {8.0f, "(GMT+08:00) Taipei"},
    {8.0f, "(GMT+08:00) Perth"},
    {9.0f, "(GMT+09:00) Seoul"},
    {9.0f, "(GMT+09:00) Osaka, Sapporo, Tokyo"},
    {9.0f, "(GMT+09:00) Yakutsk"},
    {9.5f, "(GMT+09:30) Darwin"},
    {9.5f, "(GMT+09:30) Adelaide"},
    {10.0f, "(GMT+10:00) Canberra, Melbourne, Sydney"},
    {10.0f, "(GMT+10:00) Brisbane"},
    {10.0f, "(GMT+10:00) Hobart"},
    {10.0f, "(GMT+10:00) Vladivostok"},
    {10.0f, "(GMT+10:00) Guam, Port Moresby"},
    {11.0f, "(GMT+11:00) Magadan, Solomon Is., New Caledonia"},
    {12.0f, "(GMT+12:00) Fiji, Kamchatka, Marshall Is."},
    {12.0f, "(GMT+12:00) Auckland, Wellington"},
};

float DstHours(DaylightSaving dst) { return dst == DaylightSaving::Yes ? 1.0f : 0.0f; }

bool ValidZone(int index) { return index >= 0 && index < kZoneCount; }

// The zone index written after a marker such as "iLoc", read like "%i" (so 0x.. and a
// leading 0 work too). -1 when the marker is missing, no number follows, or the
// number names no zone: the combo box then shows no selection.
int ReadZoneIndex(const std::string& message, std::string_view marker, std::string_view logName) {
    const int at = StrContainsText(message, marker);
    if (at < 0) return -1;
    const char* start = message.c_str() + at + marker.size();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(start, &end, 0);
    if (end == start) return -1;
    const bool inRange = errno == 0 && value >= INT_MIN && value <= INT_MAX;
    AppLog().Info.Log(logName, inRange ? value : -1L);
    return inRange && ValidZone(static_cast<int>(value)) ? static_cast<int>(value) : -1;
}

}  // namespace

const TimeZoneEntry* ZoneAt(int index) { return ValidZone(index) ? &kZones[index] : nullptr; }

float WorldTimeDifference(int localZone, DaylightSaving localDst, int watchedZone, DaylightSaving watchedDst) {
    const TimeZoneEntry* local = ZoneAt(localZone);
    const TimeZoneEntry* watched = ZoneAt(watchedZone);
    if (local == nullptr || watched == nullptr) return 0.0f;
    const float localPart = 0.0f - (local->offset + DstHours(localDst));
    return watched->offset + DstHours(watchedDst) + localPart;
}

std::string WorldTimeKeyword(float difference, DaylightSaving localDst, DaylightSaving watchedDst,
                             int localZone, int watchedZone) {
    // Written by hand rather than with "%.1f" so that a program locale with a decimal
    // comma cannot produce a keyword that a friend's machine reads differently.
    long tenths = std::lround(static_cast<double>(difference) * 10.0);
    std::string hours;
    if (tenths < 0) {
        hours = "-";
        tenths = -tenths;
    }
    hours += std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);

    std::string keyword = "TIME " + hours + " ";
    keyword += localDst == DaylightSaving::Yes ? "LDST" : "";
    keyword += " ";
    keyword += watchedDst == DaylightSaving::Yes ? "WDST" : "";
    keyword += " iLoc" + std::to_string(localZone) + " iWor" + std::to_string(watchedZone);
    return Truncated(keyword, kWorldMessageCapacity);
}

WorldTimeChoice OpenWorldTimeDialog(std::string_view message, std::string_view bottomLine) {
    AppLog().Info.Log("WorldComboBox items", kZoneCount);

    const std::string text = Truncated(message, kWorldMessageCapacity);
    WorldTimeChoice choice;
    choice.localZone = ReadZoneIndex(text, "iLoc", "sscan for local index");
    choice.watchedZone = ReadZoneIndex(text, "iWor", "sscan for world index");
    choice.localDst = StrContainsText(text, "LDST") >= 0 ? DaylightSaving::Yes : DaylightSaving::No;
    choice.watchedDst = StrContainsText(text, "WDST") >= 0 ? DaylightSaving::Yes : DaylightSaving::No;
    choice.bottomLine = Truncated(bottomLine, kWorldBottomLineCapacity);
    return choice;
}

WorldTimeResult ConfirmWorldTimeDialog(const WorldTimeChoice& choice) {
    WorldTimeResult result;
    const TimeZoneEntry* local = ZoneAt(choice.localZone);
    const TimeZoneEntry* watched = ZoneAt(choice.watchedZone);

    float localPart = 0.0f;
    if (local == nullptr) {
        result.message = "Please select\nyour location";
    } else {
        localPart = 0.0f - (local->offset + DstHours(choice.localDst));
        AppLog().Info.Log("WorldTime Diff1", localPart);
    }
    float difference = 0.0f;
    if (watched == nullptr) {
        result.message = "Please select\na world location";
    } else {
        difference = watched->offset + DstHours(choice.watchedDst) + localPart;
        AppLog().Info.Log("WorldTime Diff2-1", difference);
    }
    if (local != nullptr && watched != nullptr) {
        result.message = WorldTimeKeyword(difference, choice.localDst, choice.watchedDst, choice.localZone,
                                          choice.watchedZone);
    }
    result.bottomLine = Truncated(choice.bottomLine, kWorldBottomLineCapacity);
    return result;
}

}  // namespace lumi
