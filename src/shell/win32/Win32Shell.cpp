// The Windows saver shell: the run modes the command line chose (full screen over the
// virtual screen, preview inside the control panel's window, the settings dialog, the older
// family's password change), the saver window's class, the single full-screen instance and
// the message loop.
#include <windows.h>

#include <cstdint>

#include "shell/Shell.h"
#include "shell/win32/Win32SaverConfigDialog.h"
#include "shell/win32/Win32SaverFrame.h"
#include "base/Log.h"
#include "media/Sound.h"

namespace lumi {

namespace {

using namespace win32;

constexpr const char* kClassName = "WindowsScreenSaverClass";
constexpr const char* kFullScreenTitle = "Screen Saver";
constexpr const char* kPreviewTitle = "Preview";
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr int kIconResource = 100;

HWND WindowOf(uint64_t id) {
    // A handle that does not fit this build's pointers names no window here.
    if (id > static_cast<uint64_t>(UINTPTR_MAX)) return nullptr;
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(id));
}

// The saver window's class, registered for one run and taken back after it.
class ClassRegistration {
public:
    explicit ClassRegistration(HINSTANCE instance) : instance_(instance) {
        WNDCLASSA windowClass{};
        windowClass.style = kClassStyle;
        windowClass.lpfnWndProc = FrameWindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
        windowClass.hCursor = nullptr;  // the saver hides the cursor
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kClassName;
        atom_ = RegisterClassA(&windowClass);
    }
    ~ClassRegistration() {
        if (atom_) UnregisterClassA(kClassName, instance_);
    }
    ClassRegistration(const ClassRegistration&) = delete;
    ClassRegistration& operator=(const ClassRegistration&) = delete;
    bool Registered() const { return atom_ != 0; }

private:
    HINSTANCE instance_;
    ATOM atom_ = 0;
};

struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The whole virtual screen (every monitor); the screen DC's clip box where the metrics
// are missing.
Placement VirtualScreen() {
    Placement p{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (p.width != 0 && p.height != 0) return p;
    WindowDC screen(nullptr);
    RECT box{};
    if (screen.Get() && GetClipBox(screen.Get(), &box) != ERROR) {
        p = {static_cast<int>(box.left), static_cast<int>(box.top), static_cast<int>(box.right - box.left),
             static_cast<int>(box.bottom - box.top)};
    }
    return p;
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) {
            AppLog().Error.Log("RunSaver", "GetMessage failed");
            return 0;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The saver window with its frame, in full screen (parent nullptr) or as a preview child.
// The result is the quit message's wParam, or 0 when no window was made.
int RunSaver(HWND parent, PasswordMode passwordMode) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    SaverFrame frame(parent ? WindowRole::Preview : WindowRole::FullScreen, passwordMode, parent);

    Placement place;
    DWORD style = 0;
    DWORD exStyle = 0;
    const char* title = nullptr;
    if (parent) {
        RECT client{};
        GetClientRect(parent, &client);
        place = {0, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)};
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        title = kPreviewTitle;
    } else {
        place = VirtualScreen();
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        exStyle = WS_EX_TOPMOST;
        title = kFullScreenTitle;
        if (const HWND running = FindWindowA(kClassName, kFullScreenTitle)) {
            SetForegroundWindow(running);
            AppLog().Info.Log("RunSaver", "a full-screen saver runs already");
            return 0;
        }
        frame.acLineStatus = ReadAcLineStatus();
        if (passwordMode == PasswordMode::Legacy) frame.verifier.Load();
    }
    if (passwordMode == PasswordMode::Legacy) frame.autoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");

    int result = 0;
    {
        ClassRegistration registration(instance);
        HWND window = nullptr;
        if (registration.Registered()) {
            window = CreateWindowExA(exStyle, kClassName, title, style, place.x, place.y, place.width, place.height,
                                     parent, nullptr, instance, &frame);
        }
        if (window) {
            if (!parent) SetForegroundWindow(window);
            result = RunMessageLoop();
            // A loop that ended without the window's own quit must not leave it behind
            // holding a pointer to this frame.
            if (IsWindow(window)) DestroyWindow(window);
        } else {
            AppLog().Error.Log("RunSaver", registration.Registered() ? "window not created" : "class not registered");
        }
    }
    frame.verifier.Unload();
    return result;
}

// The older family's password change, through the system's own dialog.
void ChangePassword(HWND window) {
    using ChangeFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
    LibraryOwner library("MPR.DLL");
    if (const auto change = FindFunction<ChangeFunction>(library.Get(), "PwdChangePasswordA"))
        change("SCRSAVE", window, 0, 0);
}

}  // namespace

Dialect ProgramDialect() { return Dialect::Windows; }

// The settings dialog is part of the saver here.
int RunSettings(const CommandLine& command) { return RunSaverShell(command); }

PasswordMode ProgramPasswordMode() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    return known && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? PasswordMode::Legacy : PasswordMode::System;
}

WindowQueries ProgramWindowQueries() {
    WindowQueries queries;
    queries.isWindow = [](uint64_t id) {
        const HWND window = WindowOf(id);
        return window && IsWindow(window);
    };
    queries.foregroundWindow = []() -> uint64_t {
        return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(GetForegroundWindow()));
    };
    return queries;
}

// The platform's own boxes are windows already.
struct ShellMessageBoxes::State {};
ShellMessageBoxes::ShellMessageBoxes() = default;
ShellMessageBoxes::~ShellMessageBoxes() = default;

int RunSaverShell(const CommandLine& command) {
    ProgramSound sound;
    switch (command.mode) {
        case RunMode::FullScreen:
            return RunSaver(nullptr, ProgramPasswordMode());
        case RunMode::Preview: {
            // The command line checked the handle, but the window may be gone since.
            const HWND parent = WindowOf(command.window);
            if (!parent || !IsWindow(parent)) return -1;
            return RunSaver(parent, ProgramPasswordMode());
        }
        case RunMode::Configure:
            // The command line has already put the foreground window in for a missing or
            // dead owner; an empty command line has none.
            return RunConfigureDialog(GetModuleHandleA(nullptr), WindowOf(command.window));
        case RunMode::ChangePassword:
            if (ProgramPasswordMode() != PasswordMode::Legacy) return -1;
            ChangePassword(WindowOf(command.window));
            return 0;
        default:
            // Root and Window are the X11 shell's; nothing else reaches a shell.
            return -1;
    }
}

}  // namespace lumi
