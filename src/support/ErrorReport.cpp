// Error reports: the pending error text collected for the sky's corner, the
// one-at-a-time "PROBLEM" box, and the settings store's error box.
#include "support/ErrorReport.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "base/BoundedText.h"
#include "base/Log.h"

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

ErrorReportTaken TakeErrorReport() {
    std::lock_guard<std::mutex> lock(errorMutex);
    ErrorReportTaken taken;
    if (errorText.empty()) return taken;
    if (++errorCounter > kMaxErrorCounter) errorCounter = 1;
    errorText += "  ";
    taken.text.swap(errorText);
    taken.counter = errorCounter;
    taken.first = firstReport;
    if (taken.first) {
        ++errorCounter;
        firstReport = false;
    }
    taken.painter = errorPainter;
    return taken;
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

bool ShowProblemBox(WindowHandle owner, const std::string& text) {
    if (errorBoxOpen.exchange(true)) return false;
    MessageBoxes().Show(owner, text, "PROBLEM", BoxIcon::None, BoxButtons::Ok);
    errorBoxOpen.store(false);
    return true;
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
