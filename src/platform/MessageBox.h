// Modal message boxes. The real one is the platform's; tests install a recorder.
#pragma once

#include <string>

namespace lumi {

enum class BoxIcon { None, Error, Warning, Information, Question };
enum class BoxButtons { Ok, OkCancel, YesNo };
enum class BoxResult { Ok, Cancel, Yes, No };

// An owner window crosses this boundary as an opaque handle (HWND or X window id).
using WindowHandle = void*;

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption,
                           BoxIcon icon, BoxButtons buttons) = 0;
};

// The service every box goes through. Defaults to the platform's.
MessageBoxService& MessageBoxes();
// Installs another service (tests); nullptr restores the platform's. Caller owns it.
void SetMessageBoxes(MessageBoxService* service);
// The platform's own implementation.
MessageBoxService& PlatformMessageBoxes();

inline BoxResult ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                                BoxIcon icon = BoxIcon::None, BoxButtons buttons = BoxButtons::Ok) {
    return MessageBoxes().Show(owner, text, caption, icon, buttons);
}

}  // namespace lumi
