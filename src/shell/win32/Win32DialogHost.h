// Dialog logic in Windows dialogs: the messages every dialog and page forwards to its
// logic, a modal dialog made from one of this module's templates, and the property sheet.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/Controls.h"
#include "shell/win32/Win32Controls.h"

namespace lumi::win32 {

// Commands, timers and owner-drawn pictures, as every dialog and page handles them. True
// when the message was for the logic.
bool ForwardToLogic(dialogs::DialogLogic& logic, Win32Controls& controls, UINT msg, WPARAM wParam, LPARAM lParam);

// A dialog procedure must not let an exception reach the system's dialog manager: the
// procedures catch everything and log it here.
void LogEscapedException(const char* where);

// Shows the template of this module as a modal dialog owned by owner, driven by logic.
// Returns the result the logic ended it with, or -1 when it could not be shown.
int RunModalDialog(HWND owner, int templateId, dialogs::DialogLogic& logic);

// Shows "Much More Options": the pages in their order, the first one current, no Apply
// button, the program's icon. Returns when the sheet closes.
void RunPropertySheet(HWND owner, const std::string& caption, const std::vector<dialogs::SheetPage>& pages);

}  // namespace lumi::win32
