// The saver's settings dialog (template 2003) as the configuration mode shows it, and the
// dialog procedure every screen saver of this platform exports by name.
#pragma once

#include <windows.h>

namespace lumi::win32 {

// Savers may register window classes their dialogs use before the dialog opens; ours
// uses only the system's own, so there is nothing to register and it always succeeds.
bool RegisterDialogClasses(HINSTANCE instance);

// Shows the settings dialog owned by owner (nullptr: none) and returns its result: 1 for
// OK, 0 for Cancel, -1 when the dialog could not be made.
int RunConfigureDialog(HINSTANCE instance, HWND owner);

}  // namespace lumi::win32

// The 32-bit export is made undecorated where it is defined, as for ScreenSaverProc.
#if defined(__i386__)
extern "C" INT_PTR WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
#else
extern "C" __declspec(dllexport) INT_PTR WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT msg, WPARAM wParam,
                                                                           LPARAM lParam);
#endif
