// Message boxes on Linux: an X11 dialog when a display is open (platform/x11), otherwise
// the text on standard error, answered with the box's default button.
#include <cstdio>

#include "platform/MessageBox.h"

namespace lumi {

namespace {

class TerminalMessageBoxes : public MessageBoxService {
public:
    BoxResult Show(WindowHandle, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override {
        const char* level = icon == BoxIcon::Error ? "error" : icon == BoxIcon::Warning ? "warning" : "note";
        std::fprintf(stderr, "lumivane: %s: %s: %s\n", level, caption.c_str(), text.c_str());
        switch (buttons) {
            case BoxButtons::Ok: return BoxResult::Ok;
            case BoxButtons::OkCancel: return BoxResult::Ok;
            case BoxButtons::YesNo: return BoxResult::Yes;
        }
        return BoxResult::Ok;
    }
};

TerminalMessageBoxes terminalBoxes;

}  // namespace

MessageBoxService& PlatformMessageBoxes() { return terminalBoxes; }

}  // namespace lumi
