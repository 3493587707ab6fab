// The two counters the stars can write: the time left until a countdown target, and the
// days a user has lived; with the checks of the dialogs that set them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumi {

class Clock;
class IniFile;

struct CountdownTarget {
    int year = 2003;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
};

struct Birthday {
    int day = 0;
    int month = 0;
    int year = 0;
};

// Section CDCounter, per-user. Stored values are clamped to a range the calendar
// arithmetic can take, since anyone can edit the file.
CountdownTarget LoadCountdown(IniFile& ini);
void SaveCountdown(IniFile& ini, const CountdownTarget& target);
// "5 days", "1 day\n03:07 hours", "00:42 hours" or "Countdown\n   is over".
std::string CountdownText(const CountdownTarget& target, Clock& clock);
// Loads the target from the main settings and reads the program's clock.
std::string CountdownText();

// Matches "BIRTHDAY FROM %i%i%i" as sscanf does (so 0x... is hexadecimal and a leading 0
// octal) and stores year, month and day; false leaves the birthday as it was.
bool ParseBirthday(std::string_view text, Birthday& birthday);
// "BIRTHDAY FROM %i %i %i" with year, month and day.
std::string FormatBirthday(const Birthday& birthday);
// Section Birthday, per-user; nothing reads it back.
void SaveBirthday(IniFile& ini, const Birthday& birthday);
// "Day %u\nof your life", or "Wrong birthday" for today, a future or an impossible date.
std::string DayOfLifeText(const Birthday& birthday, Clock& clock);
std::string DayOfLifeText(const Birthday& birthday);

// What a dialog shows when a field is refused.
struct FieldError {
    std::string title;
    std::string text;
};

// Countdown dialog fields as read from the dialog (unsigned integers).
struct CountdownFields {
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
// The first refused field, checked in dialog order; the year must lie from the current
// year to twenty years ahead.
std::optional<FieldError> CheckCountdownFields(const CountdownFields& fields, int currentYear);
std::optional<FieldError> CheckCountdownFields(const CountdownFields& fields);  // year from the clock

struct BirthdayFields {
    unsigned year = 0, month = 0, day = 0;
};
std::optional<FieldError> CheckBirthdayFields(const BirthdayFields& fields);

}  // namespace lumi
