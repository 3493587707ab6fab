// The saver frame's window procedures: FrameWindowProc filters what the platform sends,
// ScreenSaverProc turns the rest into calls on the saver window's logic and presents what
// the sky drew, DefaultSaverProc applies the closing rules and the password check.
#include "shell/win32/Win32SaverFrame.h"

#include "gfx/Surface.h"
#include "host/ProgramParts.h"
#include "scene/Universe.h"
#include "sky/SkyDC.h"
#include "sky/SkyErrors.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi::win32 {

namespace {

constexpr unsigned kVerifyWithoutChecker = 1;

SaverFrame* FrameOf(HWND hwnd) { return reinterpret_cast<SaverFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

void HideCursor() { SetCursor(nullptr); }

SkyPoint CursorPos() {
    POINT p{0, 0};
    if (!GetCursorPos(&p)) return {};
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

// Session lock notices (WM_WTSSESSION_CHANGE), asked for where the system has them; the
// library is looked up at run time because the oldest systems lack it.
constexpr UINT kSessionChange = 0x02B1;
constexpr WPARAM kSessionLock = 0x7;
constexpr WPARAM kSessionUnlock = 0x8;

void AskForSessionNotices(HWND hwnd, bool ask) {
    HMODULE library = GetModuleHandleA("wtsapi32.dll");
    if (!library && ask) library = LoadLibraryA("wtsapi32.dll");
    if (!library) return;
    if (ask) {
        using Register = BOOL(WINAPI*)(HWND, DWORD);
        if (auto f = reinterpret_cast<Register>(
                reinterpret_cast<void*>(GetProcAddress(library, "WTSRegisterSessionNotification"))))
            f(hwnd, 0);  // this session only
    } else {
        using Unregister = BOOL(WINAPI*)(HWND);
        if (auto f = reinterpret_cast<Unregister>(
                reinterpret_cast<void*>(GetProcAddress(library, "WTSUnRegisterSessionNotification"))))
            f(hwnd);
    }
}

void PostCloseIf(HWND hwnd, CloseVerdict verdict) {
    if (verdict == CloseVerdict::PostClose) PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

bool IsInputMessage(UINT msg) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            return true;
        default:
            return false;
    }
}

LRESULT Result(const ProcResult& r, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return r.PassesOn() ? DefaultSaverProc(hwnd, msg, wParam, lParam) : static_cast<LRESULT>(r.value);
}

// The window's creation as the saver sees it: a raster the size of the client area,
// holding what the screen showed, and the saver window's logic over it.
LRESULT CreateSaverWindow(SaverFrame& frame, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    RECT client{};
    GetClientRect(hwnd, &client);
    std::shared_ptr<DibSection> dib;
    std::shared_ptr<gfx::Surface> surface =
        CreateWindowRaster(hwnd, client.right - client.left, client.bottom - client.top, dib);
    if (!surface) {
        AppLog().Error.Log("ScreenSaverProc", "not enough memory for the sky");
        return -1;  // the window is not made and the run ends
    }
    if (!CaptureScreenUnder(hwnd, *surface)) AppLog().Info.Log("ScreenSaverProc", "screen not copied; sky starts black");

    frame.host = std::make_unique<Win32SaverHost>(hwnd, surface, std::move(dib));
    AskForSessionNotices(hwnd, true);
    frame.window = std::make_unique<SaverWindow>(*frame.host, TheUniverse(), ProgramSaverParts());
    Win32SaverHost* host = frame.host.get();
    // The start-up effect blocks inside one erase; each of its frames must reach the
    // screen before the wait, or only its end would be seen.
    BindProgramParts(host, [host](uint32_t ms) {
        host->PresentDirty(KeepMarked::Yes);
        Sleep(ms);
    });
    // A picture drawn in the middle of a tick (the splash) is shown at once.
    SetSkyPresenter([](void* h) { static_cast<Win32SaverHost*>(h)->PresentDirty(KeepMarked::No); }, host);
    InstallSkyErrorPainter();
    SetWindowDestroyer([](WindowHandle w) { PostMessageA(static_cast<HWND>(w), kDestroyRequest, 0, 0); });
    return Result(frame.window->OnCreate(), hwnd, WM_CREATE, wParam, lParam);
}

LRESULT DestroySaverWindow(SaverFrame& frame, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // Nothing of the saver is called after its window is gone.
    frame.destroyed = true;
    AskForSessionNotices(hwnd, false);
    const ProcResult r = frame.window->OnDestroy();
    SetSkyPresenter(nullptr, nullptr);
    BindProgramParts(nullptr);
    SetWindowDestroyer(nullptr);
    return Result(r, hwnd, WM_DESTROY, wParam, lParam);
}

LRESULT FilterFrameMessage(SaverFrame& frame, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (msg) {
        case WM_CREATE:
            frame.inputMethod.Detach(hwnd);
            frame.verifier.SetWindow(hwnd);
            frame.rules.Start(CursorPos(), frame.acLineStatus);
            if (!frame.Preview()) HideCursor();
            break;
        case WM_DESTROY:
            frame.inputMethod.Restore(hwnd);
            PostQuitMessage(0);
            break;
        case WM_SETTEXT:
            return 0;
        case kDestroyRequest:
            DestroyWindow(hwnd);
            return 0;
        case WM_PAINT:
            if (frame.rules.ClosingAllowed()) return DefWindowProcA(hwnd, msg, wParam, lParam);
            if (!frame.Preview()) HideCursor();
            break;
        case WM_HELP:
        case WM_CONTEXTMENU:
            if (frame.Preview()) {
                // The control panel shows its own help for the preview area.
                if (const HWND parent = GetParent(hwnd))
                    PostMessageA(parent, msg, reinterpret_cast<WPARAM>(parent), lParam);
                return 1;
            }
            break;
        case WM_SYSCOMMAND:
            if (!frame.Preview()) {
                switch (wParam & 0xFFF0) {
                    case SC_NEXTWINDOW:
                    case SC_PREVWINDOW:
                    case SC_SCREENSAVE:
                        return 0;
                    case SC_MONITORPOWER:
                        PostCloseIf(hwnd, frame.rules.OnMonitorPower());
                        break;
                    default:
                        break;
                }
            }
            break;
        case WM_TIMER:
            if (frame.rules.ClosingAllowed()) return 0;
            Sleep(0);
            break;
        default:
            if (IsInputMessage(msg) && frame.rules.ClosingAllowed()) return DefWindowProcA(hwnd, msg, wParam, lParam);
            break;
    }
    handled = false;
    return 0;
}

}  // namespace

uint8_t ReadAcLineStatus() {
    SYSTEM_POWER_STATUS status{};
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : ClosingRules::UnknownAcLine;
}

void SystemPasswordVerifier::Load() {
    Unload();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG read =
        RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || value == 0) return;

    library_ = LibraryOwner("PASSWORD.CPL");
    verify_ = FindFunction<VerifyFunction>(library_.Get(), "VerifyScreenSavePwd");
    if (!verify_) {
        library_.Reset();
        return;
    }
    // The system keeps its task switching locked while a password guards the saver.
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, &previous, 0);
}

void SystemPasswordVerifier::Unload() {
    if (!library_.Get()) return;
    library_.Reset();
    if (verify_) {
        verify_ = nullptr;
        BOOL previous = FALSE;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, &previous, 0);
    }
}

bool SystemPasswordVerifier::Verify() {
    if (!window_) return true;
    MSG pending;
    for (int i = 0; i < 2; ++i) PeekMessageA(&pending, window_, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    return SendMessageA(window_, SCRM_VERIFYPW, 0, 0) != 0;
}

LRESULT SystemPasswordVerifier::RunDialog(HWND window) {
    return verify_ ? static_cast<LRESULT>(verify_(window)) : static_cast<LRESULT>(kVerifyWithoutChecker);
}

void InputMethodHook::Detach(HWND window) {
    // Only a process that has the input method loaded already needs it kept off.
    const HMODULE imm = GetModuleHandleA("IMM32.DLL");
    associate_ = FindFunction<AssociateFunction>(imm, "ImmAssociateContext");
    if (associate_) savedContext_ = associate_(window, nullptr);
}

void InputMethodHook::Restore(HWND window) {
    if (associate_ && savedContext_) associate_(window, savedContext_);
    savedContext_ = nullptr;
}

LRESULT DefaultSaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    SaverFrame* frame = FrameOf(hwnd);
    if (!frame) return DefWindowProcA(hwnd, msg, wParam, lParam);
    ClosingRules& rules = frame->rules;
    const bool legacy = frame->passwordMode == PasswordMode::Legacy;

    if (!frame->Preview() && !rules.ClosingAllowed()) {
        if (msg == WM_CLOSE) {
            if (rules.OnCloseRequest(CursorPos(), &frame->verifier) == CloseOutcome::Refuse) {
                HideCursor();  // the password dialog showed it
                return 0;
            }
        } else if (msg == SCRM_VERIFYPW && legacy) {
            return frame->verifier.RunDialog(hwnd);
        } else if (!rules.PasswordCheckActive()) {
            switch (msg) {
                case WM_KEYDOWN:
                case WM_SYSKEYDOWN:
                case WM_LBUTTONDOWN:
                case WM_RBUTTONDOWN:
                case WM_MBUTTONDOWN:
                    PostCloseIf(hwnd, rules.OnKeyOrButton());
                    break;
                case WM_MOUSEMOVE:
                    PostCloseIf(hwnd, rules.OnMouseMove(CursorPos()));
                    break;
                case WM_ACTIVATEAPP:
                    PostCloseIf(hwnd, rules.OnActivateApp(wParam != 0));
                    break;
                case WM_SHOWWINDOW:
                    if (wParam) HideCursor();
                    break;
                case WM_SETCURSOR:
                    HideCursor();
                    return 1;
                case WM_POWER:
                    PostCloseIf(hwnd, rules.OnPower(static_cast<uint32_t>(wParam)));
                    break;
                case WM_POWERBROADCAST:
                    PostCloseIf(hwnd, rules.OnPowerBroadcast(static_cast<uint32_t>(wParam),
                                                             static_cast<uintptr_t>(lParam), ReadAcLineStatus));
                    break;
                default:
                    break;
            }
        }
    }
    if (frame->autoPlayMessage != 0 && msg == frame->autoPlayMessage) {
        const ClosingRules::AutoPlayAnswer answer = rules.OnAutoPlayQuery(&frame->verifier);
        PostCloseIf(hwnd, answer.verdict);
        return answer.result;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        SaverFrame* frame = FrameOf(hwnd);
        if (!frame) return DefWindowProcA(hwnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        }
        bool handled = false;
        const LRESULT result = FilterFrameMessage(*frame, hwnd, msg, wParam, lParam, handled);
        if (handled) return result;
        return ScreenSaverProc(hwnd, msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        AppLog().Error.Log("FrameWindowProc", "unexpected exception");
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace lumi::win32

#if defined(__i386__)
// A 32-bit stdcall name carries its argument size ("ScreenSaverProc@16"); the export
// must be the plain name, as the linker is told here.
__asm__(".section .drectve\n\t.ascii \" -export:ScreenSaverProc=ScreenSaverProc@16\"\n\t.text");
#endif

extern "C" LRESULT WINAPI ScreenSaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    using namespace lumi;
    using namespace lumi::win32;
    try {
        SaverFrame* frame = FrameOf(hwnd);
        if (!frame) return DefaultSaverProc(hwnd, msg, wParam, lParam);
        if (msg == WM_CREATE) return CreateSaverWindow(*frame, hwnd, wParam, lParam);
        SaverWindow* window = frame->window.get();
        Win32SaverHost* host = frame->host.get();
        if (!window || !host || frame->destroyed) return DefaultSaverProc(hwnd, msg, wParam, lParam);

        switch (msg) {
            case WM_TIMER: {
                const ProcResult r = window->OnTimer(static_cast<unsigned>(wParam));
                host->PresentDirty(KeepMarked::No);
                return Result(r, hwnd, msg, wParam, lParam);
            }
            case WM_ERASEBKGND: {
                const ProcResult r = window->OnEraseBackground(host->EraseTarget());
                // An erase may come inside a paint that is clipped to part of the window;
                // the next tick sends the changes again, unclipped.
                host->PresentDirty(KeepMarked::Yes);
                return Result(r, hwnd, msg, wParam, lParam);
            }
            case WM_PAINT: {
                PAINTSTRUCT paint;
                if (BeginPaint(hwnd, &paint)) {
                    host->PresentAll(paint.hdc);
                    EndPaint(hwnd, &paint);
                }
                return 0;
            }
            case WM_MOUSEMOVE:
                return Result(window->OnMouseMove(), hwnd, msg, wParam, lParam);
            case kSessionChange:
                if (wParam == kSessionLock || wParam == kSessionUnlock) host->SetSessionLocked(wParam == kSessionLock);
                return DefaultSaverProc(hwnd, msg, wParam, lParam);
            case WM_CLOSE: {
                const ProcResult r = window->OnClose();
                host->PresentDirty(KeepMarked::No);  // the closing joke's picture
                return Result(r, hwnd, msg, wParam, lParam);
            }
            case WM_DESTROY:
                return DestroySaverWindow(*frame, hwnd, wParam, lParam);
            default:
                return DefaultSaverProc(hwnd, msg, wParam, lParam);
        }
    } catch (...) {
        lumi::AppLog().Error.Log("ScreenSaverProc", "unexpected exception");
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
