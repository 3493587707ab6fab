// The settings dialog of the configuration mode: template 2003 driven by the portable main
// dialog, through the procedure every screen saver of this platform exports by name.
#include "shell/win32/Win32SaverConfigDialog.h"

#include <memory>

#include "base/Log.h"
#include "dialogs/DialogIds.h"
#include "dialogs/MainDialog.h"
#include "shell/win32/Win32Controls.h"
#include "shell/win32/Win32DialogHost.h"

namespace lumi::win32 {

namespace {

// What drives the main dialog: made at WM_INITDIALOG, as the frame (or a control panel)
// passes nothing in, and deleted with the window.
struct MainSession {
    explicit MainSession(HWND dialog) : controls(dialog, DialogKind::Modal) {}
    dialogs::MainDialog logic;
    Win32Controls controls;
};

MainSession* SessionOf(HWND dialog) { return reinterpret_cast<MainSession*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

INT_PTR HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto session = std::make_unique<MainSession>(dialog);
        SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(session.get()));
        MainSession& s = *session.release();
        s.logic.Open(s.controls);
        // The logic puts the focus in the message with its text selected; the system would
        // otherwise move it to the first control.
        return s.controls.FocusSet() ? FALSE : TRUE;
    }
    MainSession* session = SessionOf(dialog);
    if (!session) return FALSE;
    switch (msg) {
        case WM_HELP:
            session->logic.Command(session->controls, IDC_MAIN_HELP);
            return TRUE;
        case WM_DESTROY:
            session->controls.ReleasePictures();
            return FALSE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(dialog, DWLP_USER, 0);
            delete session;
            return FALSE;
        default:
            return ForwardToLogic(session->logic, session->controls, msg, wParam, lParam) ? TRUE : FALSE;
    }
}

}  // namespace

bool RegisterDialogClasses(HINSTANCE) { return true; }

int RunConfigureDialog(HINSTANCE instance, HWND owner) {
    if (!RegisterDialogClasses(instance)) return 0;
    const INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), owner, ScreenSaverConfigureDialog, 0);
    if (result == -1) AppLog().Error.Log("ScreenSaverConfigureDialog", "dialog 2003 not shown");
    return static_cast<int>(result);
}

}  // namespace lumi::win32

#if defined(__i386__)
// As for ScreenSaverProc: the export must be the plain name, not the stdcall one.
__asm__(".section .drectve\n\t.ascii \" -export:ScreenSaverConfigureDialog=ScreenSaverConfigureDialog@16\"\n\t.text");
#endif

extern "C" INT_PTR WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return lumi::win32::HandleMessage(dialog, msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dialog manager.
        lumi::win32::LogEscapedException("ScreenSaverConfigureDialog");
        return FALSE;
    }
}
