// Shows the pending error report on the sky and keeps it in the settings file.
#include "sky/SkyErrors.h"

#include <cstdio>
#include <string>

#include "base/BoundedText.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "gfx/Canvas.h"
#include "sky/SkyDC.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"

namespace lumi {

namespace {

// The C library's ctime form ("Wed Jun 30 21:49:08 1993\n"), read from the program's
// clock so that a fake clock governs it too.
std::string CalendarText() {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const LocalTime t = TheClock().LocalNow();
    const char* day = t.weekday >= 0 && t.weekday < 7 ? kDays[t.weekday] : "???";
    const char* month = t.month >= 0 && t.month < 12 ? kMonths[t.month] : "???";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %2d %.2d:%.2d:%.2d %d\n", day, month, t.day, t.hour, t.minute,
                  t.second, t.year + 1900);
    return buf;
}

std::string DebugKey(int counter) {
    char key[32];
    std::snprintf(key, sizeof key, "error%u", static_cast<unsigned>(counter));
    return key;
}

}  // namespace

void ShowErrors() {
    // The report is taken out whole; painting, logging and the settings file then work
    // without the reports' lock, so they may add errors of their own.
    ErrorReportTaken report = TakeErrorReport();
    if (report.text.empty()) return;
    int counter = report.counter;

    // Each report one pixel lower, back at the top every 25 reports.
    if (report.painter) report.painter(2, counter % 25, report.text);
    if (report.first) {
        AppLog().Info.Log(DebugKey(counter), "-----Start at :" + CalendarText());
        ++counter;
    }
    // The stored value is cut below the settings store's 1000-character limit: a full
    // text with its two blanks would otherwise raise the store's error boxes in the
    // middle of a scene step.
    IniFile& ini = MainIni();
    ini.WriteString("Debug", DebugKey(counter), Truncated(report.text, IniFile::kValueBuffer));
    ini.WriteString("Debug", DebugKey(counter + 1), "---------END---------");
}

void InstallSkyErrorPainter() {
    SetErrorTextPainter([](int x, int y, const std::string& text) {
        if (gfx::Canvas* dc = SkyDC()) dc->TextOut(x, y, text);
    });
}

}  // namespace lumi
