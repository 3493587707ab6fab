// Error reports: pending error texts for the corner of the sky, the guarded "Internal
// error" box, and the settings store's error box.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/MessageBox.h"

namespace lumi {

enum class DestroyOwner { No, Yes };

// Appends text to ErrorText, separated by " , " (thread-safe).
void AddError(std::string_view text);
// The pending error text (tests).
std::string PendingErrorText();
// Draws an error text at (x, y) on the sky. Installed by the saver window once its
// canvas exists; without it nothing is drawn.
using ErrorTextPainter = std::function<void(int x, int y, const std::string& text)>;
void SetErrorTextPainter(ErrorTextPainter painter);
// One report taken out of ErrorText to be shown (ShowErrors, above the settings store):
// the text with two blanks added, its number, whether it is the run's first report, and
// the painter to draw it with. An empty text when no error waits.
struct ErrorReportTaken {
    std::string text;
    int counter = 0;
    bool first = false;
    ErrorTextPainter painter;
};
ErrorReportTaken TakeErrorReport();

// Closes an owner window after an internal-error box when asked to. Installed by the
// window layer; without it nothing is destroyed.
using WindowDestroyer = std::function<void(WindowHandle)>;
void SetWindowDestroyer(WindowDestroyer destroyer);

// The "Internal error #%u" box titled "PROBLEM"; only one is on screen at a time.
void InternalError(WindowHandle owner, unsigned code, DestroyOwner destroy = DestroyOwner::No);
// A "PROBLEM" box with another text, under the same one-at-a-time guard; false when
// another one was already up and this one was not shown.
bool ShowProblemBox(WindowHandle owner, const std::string& text);
// A modal box with an error icon and no owner.
void ShowErrorBox(const std::string& caption, const std::string& text);
// Logs a common-dialog failure (the code CommDlgExtendedError gave) by its constant
// name; 0, the code of a cancelled dialog, and unknown codes give "UNKNOWN".
void LogCommDlgError(unsigned long code);
const char* CommDlgErrorName(unsigned long code);

// For tests: back to the start of a run (no pending text, counter 0, first report due).
void ResetErrorReports();

}  // namespace lumi
