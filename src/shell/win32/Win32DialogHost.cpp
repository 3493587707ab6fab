// Modal dialogs and the property sheet over the dialog logic. Each window keeps what drives
// it (the logic and its controls) in its DWLP_USER slot, set at WM_INITDIALOG.
#include "shell/win32/Win32DialogHost.h"

#include <commctrl.h>

#include <exception>
#include <memory>

#include "base/Log.h"

namespace lumi::win32 {

namespace {

constexpr int kIconResource = 100;
// PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW.
constexpr DWORD kSheetFlags = 0x8C;

// What drives one window: created before it, destroyed after it.
struct Session {
    dialogs::DialogLogic* logic = nullptr;
    std::unique_ptr<Win32Controls> controls;
};

Session* SessionOf(HWND window) { return reinterpret_cast<Session*>(GetWindowLongPtrA(window, DWLP_USER)); }

INT_PTR CALLBACK ModalProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_INITDIALOG) {
            auto* session = reinterpret_cast<Session*>(lParam);
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            session->controls = std::make_unique<Win32Controls>(window, DialogKind::Modal);
            session->logic->Open(*session->controls);
            return session->controls->FocusSet() ? FALSE : TRUE;
        }
        Session* session = SessionOf(window);
        if (!session || !session->controls) return FALSE;
        if (msg == WM_DESTROY) {
            session->controls->ReleasePictures();
            return FALSE;
        }
        return ForwardToLogic(*session->logic, *session->controls, msg, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        LogEscapedException("ModalDialog");
        return FALSE;
    }
}

bool IsCurrentPage(HWND page) {
    const HWND sheet = GetParent(page);
    return sheet && reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) == page;
}

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_INITDIALOG) {
            // lParam is the sheet's copy of our page description; its lParam is ours.
            const auto* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
            auto* session = reinterpret_cast<Session*>(description->lParam);
            SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(session));
            session->controls = std::make_unique<Win32Controls>(page, DialogKind::Page);
            session->logic->Open(*session->controls);
            return session->controls->FocusSet() ? FALSE : TRUE;
        }
        Session* session = SessionOf(page);
        if (!session || !session->controls) return FALSE;
        if (msg == WM_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            // No page ever refuses to be left or applied.
            SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
            switch (header->code) {
                case PSN_APPLY:
                    session->logic->Apply(*session->controls);
                    return TRUE;
                case PSN_KILLACTIVE:
                    session->logic->Leave(*session->controls);
                    return TRUE;
                case PSN_RESET:
                    // Every page hears of a cancel; only the one showing is being left.
                    if (IsCurrentPage(page)) session->logic->Leave(*session->controls);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        if (msg == WM_DESTROY) {
            session->controls->ReleasePictures();
            return FALSE;
        }
        return ForwardToLogic(*session->logic, *session->controls, msg, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        LogEscapedException("PropertyPage");
        return FALSE;
    }
}

}  // namespace

bool ForwardToLogic(dialogs::DialogLogic& logic, Win32Controls& controls, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            // Clicks of buttons, check boxes and radio buttons, and accelerators (code 1
            // without a control); edit and list notifications are not commands.
            const int code = HIWORD(wParam);
            if (code == BN_CLICKED || (code == 1 && lParam == 0)) {
                logic.Command(controls, LOWORD(wParam));
                return true;
            }
            return false;
        }
        case WM_TIMER:
            logic.Timer(controls, static_cast<int>(wParam));
            return true;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || item->CtlType != ODT_STATIC) return false;
            controls.PaintItem(logic, *item);
            return true;
        }
        default:
            return false;
    }
}

void LogEscapedException(const char* where) {
    // Called inside a catch block: name what escaped, if it says.
    try {
        throw;
    } catch (const std::exception& e) {
        AppLog().Error.Log(where, std::string("unexpected exception: ") + e.what());
    } catch (...) {
        AppLog().Error.Log(where, "unexpected exception");
    }
}

int RunModalDialog(HWND owner, int templateId, dialogs::DialogLogic& logic) {
    Session session;
    session.logic = &logic;
    const INT_PTR result = DialogBoxParamA(OwnModule(), MAKEINTRESOURCEA(templateId), owner, ModalProc,
                                           reinterpret_cast<LPARAM>(&session));
    if (result == -1) AppLog().Error.Log("RunModalDialog", static_cast<long long>(GetLastError()));
    return static_cast<int>(result);
}

void RunPropertySheet(HWND owner, const std::string& caption, const std::vector<dialogs::SheetPage>& pages) {
    std::vector<Session> sessions(pages.size());
    std::vector<PROPSHEETPAGEA> descriptions(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        sessions[i].logic = pages[i].logic;
        PROPSHEETPAGEA& page = descriptions[i];
        page = PROPSHEETPAGEA{};
        page.dwSize = sizeof page;
        page.dwFlags = 0;  // the tab's title is the template's caption
        page.hInstance = OwnModule();
        page.pszTemplate = MAKEINTRESOURCEA(pages[i].templateId);
        page.pfnDlgProc = PageProc;
        page.lParam = reinterpret_cast<LPARAM>(&sessions[i]);
    }
    for (const auto& page : pages) {
        if (!page.logic) {
            AppLog().Error.Log("RunPropertySheet", "a page without logic");
            return;
        }
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = kSheetFlags;
    header.hwndParent = owner;
    header.hInstance = OwnModule();
    header.pszIcon = MAKEINTRESOURCEA(kIconResource);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(descriptions.size());
    header.nStartPage = 0;
    header.ppsp = descriptions.data();
    if (PropertySheetA(&header) == -1) AppLog().Error.Log("RunPropertySheet", static_cast<long long>(GetLastError()));
}

}  // namespace lumi::win32
