// The frame every screen saver of this platform needs around its own window procedure:
// the state of one run, FrameWindowProc (the class's procedure, which filters input and
// power messages), DefaultSaverProc (what the saver's procedure does not consume) and
// the older Windows family's password check loaded from the system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "host/ClosingRules.h"
#include "host/SaverWindow.h"
#include "shell/win32/Win32SaverHost.h"

namespace lumi::win32 {

// The private message the frame sends its window to run the password dialog.
constexpr UINT SCRM_VERIFYPW = WM_APP;
// Asks the frame to destroy its window once the message in progress is done (an
// internal-error box inside a tick wants the window gone, but the tick is still running).
constexpr UINT kDestroyRequest = WM_APP + 1;

// A library loaded at run time, freed when the owner goes.
class LibraryOwner {
public:
    LibraryOwner() = default;
    explicit LibraryOwner(const char* name) : module_(LoadLibraryA(name)) {}
    ~LibraryOwner() { Reset(); }
    LibraryOwner(const LibraryOwner&) = delete;
    LibraryOwner& operator=(const LibraryOwner&) = delete;
    LibraryOwner(LibraryOwner&& other) noexcept : module_(other.module_) { other.module_ = nullptr; }
    LibraryOwner& operator=(LibraryOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            module_ = other.module_;
            other.module_ = nullptr;
        }
        return *this;
    }
    HMODULE Get() const { return module_; }
    void Reset() {
        if (module_) FreeLibrary(module_);
        module_ = nullptr;
    }

private:
    HMODULE module_ = nullptr;
};

// Looks up a function by name; nullptr when the module or the name is missing. The detour
// through a plain function pointer is the one cast between function types the compiler
// accepts without a warning.
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    const FARPROC found = GetProcAddress(module, name);
    return found ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

// "VerifyScreenSavePwd" from "PASSWORD.CPL", present only when the user asked for a
// screen-saver password on the older Windows family.
class SystemPasswordVerifier final : public PasswordVerifier {
public:
    ~SystemPasswordVerifier() override { Unload(); }

    // Reads the user's password switch and loads the check when it is on.
    void Load();
    void Unload();
    void SetWindow(HWND window) { window_ = window; }

    bool Loaded() const override { return verify_ != nullptr; }
    // Runs the check through the window (SCRM_VERIFYPW), as other programs may do too;
    // timer ticks queued meanwhile are dropped so the sky does not jump afterwards.
    bool Verify() override;
    // The answer to SCRM_VERIFYPW: the system's dialog itself.
    LRESULT RunDialog(HWND window);

private:
    using VerifyFunction = BOOL(WINAPI*)(HWND);
    LibraryOwner library_;
    VerifyFunction verify_ = nullptr;
    HWND window_ = nullptr;
};

// The input method's context is taken from the window for the run, so typing closes the
// saver instead of opening a composition window, and given back at the end.
class InputMethodHook {
public:
    void Detach(HWND window);
    void Restore(HWND window);

private:
    using AssociateFunction = HANDLE(WINAPI*)(HWND, HANDLE);
    AssociateFunction associate_ = nullptr;
    HANDLE savedContext_ = nullptr;
};

// Everything one saver run keeps; it lives in RunSaver for the length of the message
// loop and the window finds it through its user data.
struct SaverFrame {
    SaverFrame(WindowRole role, PasswordMode passwordMode, HWND parent)
        : role(role), passwordMode(passwordMode), parent(parent), rules(role, passwordMode) {}

    bool Preview() const { return role == WindowRole::Preview; }

    WindowRole role;
    PasswordMode passwordMode;
    HWND parent;
    ClosingRules rules;
    SystemPasswordVerifier verifier;
    InputMethodHook inputMethod;
    UINT autoPlayMessage = 0;  // "QueryCancelAutoPlay", older family only
    uint8_t acLineStatus = ClosingRules::UnknownAcLine;

    // Made at window creation and kept until the run ends, so that nothing on the stack
    // when the window goes (a tick that showed a box) is left with freed objects.
    std::unique_ptr<Win32SaverHost> host;
    std::unique_ptr<SaverWindow> window;
    bool destroyed = false;
};

// The AC line status (ClosingRules::UnknownAcLine when it cannot be read).
uint8_t ReadAcLineStatus();

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefaultSaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace lumi::win32

// The saver's own window procedure, exported by name from the program's module (the
// 32-bit export is made undecorated where it is defined).
#if defined(__i386__)
extern "C" LRESULT WINAPI ScreenSaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#else
extern "C" __declspec(dllexport) LRESULT WINAPI ScreenSaverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
#endif
