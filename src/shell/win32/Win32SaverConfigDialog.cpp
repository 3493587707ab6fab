// The settings dialog of the configuration mode: for now the saver's name, where its
// settings are kept until the full dialog exists, and OK / Cancel.
#include "shell/win32/Win32SaverConfigDialog.h"

#include <string>

#include "../../../resources/win32/resource.h"
#include "platform/System.h"
#include "base/Log.h"

namespace lumi::win32 {

namespace {

constexpr const char* kCaption = "Lumivane Screensaver v" LUMI_VERSION;
constexpr INT_PTR kResultOk = 1;
constexpr INT_PTR kResultCancel = 0;

void InitDialog(HWND dialog) {
    AppLog().Info.Log("Version", LUMI_VERSION);
    AppLog().Info.Log("operation", "configure");
    SetWindowTextA(dialog, kCaption);
    SetDlgItemTextA(dialog, IDC_CONFIGURE_NAME, "Lumivane, a night sky with the moon, stars and messages");
    const std::string note =
        "The full settings arrive in a later version. Until then they are kept in the file "
        "\"Lumivan.ini\" in " +
        platform::SettingsFolder() + " and can be edited there.";
    SetDlgItemTextA(dialog, IDC_CONFIGURE_NOTE, note.c_str());
    SetDlgItemTextA(dialog, IDOK, "Ok");
    SetDlgItemTextA(dialog, IDCANCEL, "Ooops... Cancel");
}

}  // namespace

bool RegisterDialogClasses(HINSTANCE) { return true; }

int RunConfigureDialog(HINSTANCE instance, HWND owner) {
    if (!RegisterDialogClasses(instance)) return 0;
    const INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGURE), owner, ScreenSaverConfigureDialog, 0);
    if (result == -1) AppLog().Error.Log("ScreenSaverConfigureDialog", "dialog 2003 not shown");
    return static_cast<int>(result);
}

}  // namespace lumi::win32

#if defined(__i386__)
// As for ScreenSaverProc: the export must be the plain name, not the stdcall one.
__asm__(".section .drectve\n\t.ascii \" -export:ScreenSaverConfigureDialog=ScreenSaverConfigureDialog@16\"\n\t.text");
#endif

extern "C" INT_PTR WINAPI ScreenSaverConfigureDialog(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    try {
        switch (msg) {
            case WM_INITDIALOG:
                lumi::win32::InitDialog(dialog);
                return TRUE;  // the system puts the focus on OK
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDOK:
                        EndDialog(dialog, lumi::win32::kResultOk);
                        return TRUE;
                    case IDCANCEL:  // also Escape and the close box
                        EndDialog(dialog, lumi::win32::kResultCancel);
                        return TRUE;
                    default:
                        return FALSE;
                }
            default:
                return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the system's dialog manager.
        lumi::AppLog().Error.Log("ScreenSaverConfigureDialog", "unexpected exception");
        return FALSE;
    }
}
