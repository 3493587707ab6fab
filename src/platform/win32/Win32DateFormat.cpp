// The world-time date in the user's own locale, as the system formats it.
#include <windows.h>

#include "platform/DateFormat.h"

namespace lumi::platform {

std::string ShortDayMonthDate(const LocalTime& date) {
    const int year = date.year + 1900;
    // SYSTEMTIME cannot carry dates before 1601 or after 30827; such a date has no text.
    if (year < 1601 || year > 30827 || date.month < 0 || date.month > 11 || date.day < 1 || date.day > 31)
        return "";
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(date.month + 1);
    st.wDay = static_cast<WORD>(date.day);
    st.wDayOfWeek = static_cast<WORD>(date.weekday);
    char text[50] = {};
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, "ddd',' MMM dd", text, sizeof text) == 0) return "";
    return text;
}

}  // namespace lumi::platform
