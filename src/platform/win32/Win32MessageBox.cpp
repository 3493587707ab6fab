// Message boxes on Windows: MessageBoxA.
#include <windows.h>

#include "platform/MessageBox.h"

namespace lumi {

namespace {

class Win32MessageBoxes : public MessageBoxService {
public:
    BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override {
        UINT flags = 0;
        switch (icon) {
            case BoxIcon::None: break;
            case BoxIcon::Error: flags |= MB_ICONERROR; break;
            case BoxIcon::Warning: flags |= MB_ICONWARNING; break;
            case BoxIcon::Information: flags |= MB_ICONINFORMATION; break;
            case BoxIcon::Question: flags |= MB_ICONQUESTION; break;
        }
        switch (buttons) {
            case BoxButtons::Ok: flags |= MB_OK; break;
            case BoxButtons::OkCancel: flags |= MB_OKCANCEL; break;
            case BoxButtons::YesNo: flags |= MB_YESNO; break;
        }
        if (!owner) flags |= MB_TASKMODAL;
        const int r = MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
        switch (r) {
            case IDCANCEL: return BoxResult::Cancel;
            case IDYES: return BoxResult::Yes;
            case IDNO: return BoxResult::No;
            default: return BoxResult::Ok;
        }
    }
};

Win32MessageBoxes win32Boxes;

}  // namespace

MessageBoxService& PlatformMessageBoxes() { return win32Boxes; }

}  // namespace lumi
