// Error reports: the pending error text shown in the corner of the sky and kept in the
// settings file, the one-at-a-time "PROBLEM" box, and the settings store's error box.
#include "support/ErrorReport.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "platform/Clock.h"
#include "settings/IniFile.h"
#include "support/BoundedText.h"
#include "support/Log.h"

namespace lumi {

namespace {

constexpr size_t kErrorTextSize = 1000;
constexpr int kMaxErrorCounter = 1000;

// The mail worker adds errors while the saver's thread shows them.
std::mutex errorMutex;
std::string errorText;
int errorCounter = 0;
bool firstReport = true;
ErrorTextPainter errorPainter;
WindowDestroyer windowDestroyer;

std::atomic<bool> errorBoxOpen{false};

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

void AddError(std::string_view text) {
    std::lock_guard<std::mutex> lock(errorMutex);
    if (!errorText.empty()) BoundedAppend(errorText, " , ", kErrorTextSize);
    BoundedAppend(errorText, text, kErrorTextSize);
}

std::string PendingErrorText() {
    std::lock_guard<std::mutex> lock(errorMutex);
    return errorText;
}

void SetErrorTextPainter(ErrorTextPainter painter) {
    std::lock_guard<std::mutex> lock(errorMutex);
    errorPainter = std::move(painter);
}

void SetWindowDestroyer(WindowDestroyer destroyer) {
    std::lock_guard<std::mutex> lock(errorMutex);
    windowDestroyer = std::move(destroyer);
}

void ShowErrors() {
    std::string text;
    int counter;
    bool first;
    ErrorTextPainter painter;
    {
        // Take the report out whole; painting, logging and the settings file are then
        // done without the lock, so they may add errors of their own.
        std::lock_guard<std::mutex> lock(errorMutex);
        if (errorText.empty()) return;
        if (++errorCounter > kMaxErrorCounter) errorCounter = 1;
        errorText += "  ";
        text.swap(errorText);
        counter = errorCounter;
        first = firstReport;
        if (first) {
            ++errorCounter;
            firstReport = false;
        }
        painter = errorPainter;
    }

    // Each report one pixel lower, back at the top every 25 reports.
    if (painter) painter(2, counter % 25, text);
    if (first) {
        AppLog().Info.Log(DebugKey(counter), "-----Start at :" + CalendarText());
        ++counter;
    }
    // The stored value is cut below the settings store's 1000-character limit: a full
    // text with its two blanks would otherwise raise the store's error boxes in the
    // middle of a scene step.
    IniFile& ini = MainIni();
    ini.WriteString("Debug", DebugKey(counter), Truncated(text, IniFile::kValueBuffer));
    ini.WriteString("Debug", DebugKey(counter + 1), "---------END---------");
}

void InternalError(WindowHandle owner, unsigned code, DestroyOwner destroy) {
    char text[48];
    std::snprintf(text, sizeof text, "Internal error #%u", code);
    if (errorBoxOpen.exchange(true)) return;
    MessageBoxes().Show(owner, text, "PROBLEM", BoxIcon::None, BoxButtons::Ok);
    if (destroy == DestroyOwner::Yes) {
        WindowDestroyer destroyer;
        {
            std::lock_guard<std::mutex> lock(errorMutex);
            destroyer = windowDestroyer;
        }
        if (destroyer) destroyer(owner);
    }
    errorBoxOpen.store(false);
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    MessageBoxes().Show(nullptr, text, caption, BoxIcon::Error, BoxButtons::Ok);
}

const char* CommDlgErrorName(unsigned long code) {
    switch (code) {
        case 1: return "CDERR_STRUCTSIZE";
        case 2: return "CDERR_INITIALIZATION";
        case 3: return "CDERR_NOTEMPLATE";
        case 4: return "CDERR_NOHINSTANCE";
        case 5: return "CDERR_LOADSTRFAILURE";
        case 6: return "CDERR_FINDRESFAILURE";
        case 7: return "CDERR_LOADRESFAILURE";
        case 8: return "CDERR_LOCKRESFAILURE";
        case 9: return "CDERR_MEMALLOCFAILURE";
        case 10: return "CDERR_MEMLOCKFAILURE";
        case 11: return "CDERR_NOHOOK";
        case 0x3001: return "FNERR_SUBCLASSFAILURE";
        case 0x3002: return "FNERR_INVALIDFILENAME";
        case 0x3003: return "FNERR_BUFFERTOOSMALL";
        default: return "UNKNOWN";
    }
}

void LogCommDlgError(unsigned long code) { AppLog().Info.Log("CommDlgError", CommDlgErrorName(code)); }

void ResetErrorReports() {
    std::lock_guard<std::mutex> lock(errorMutex);
    errorText.clear();
    errorCounter = 0;
    firstReport = true;
    errorBoxOpen.store(false);
}

}  // namespace lumi
