// What the Linux program's command line needs from the platform: the XScreenSaver
// conventions, no saver-side password, and window questions answered by the X server.
#include "shell/Shell.h"
#include "platform/x11/X11MessageBox.h"
#include "platform/x11/XSupport.h"

namespace lumi {

Dialect ProgramDialect() { return Dialect::Linux; }

PasswordMode ProgramPasswordMode() { return PasswordMode::System; }

WindowQueries ProgramWindowQueries() {
    WindowQueries queries;
    queries.isWindow = [](uint64_t id) {
        if (id == 0 || id > 0xFFFFFFFFu) return false;
        x11::DisplayPtr display(XOpenDisplay(nullptr));
        if (!display) return false;
        x11::InstallErrorHandler();
        x11::ErrorTrap trap(display.get());
        XWindowAttributes attributes;
        const Status ok = XGetWindowAttributes(display.get(), static_cast<Window>(id), &attributes);
        return !trap.Failed() && ok != 0;
    };
    queries.foregroundWindow = []() -> uint64_t {
        x11::DisplayPtr display(XOpenDisplay(nullptr));
        if (!display) return 0;
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display.get(), &focus, &revert);
        return focus > PointerRoot ? static_cast<uint64_t>(focus) : 0;
    };
    return queries;
}

struct ShellMessageBoxes::State {
    x11::ScopedX11MessageBoxes boxes;
};

ShellMessageBoxes::ShellMessageBoxes() : state_(std::make_unique<State>()) {}
ShellMessageBoxes::~ShellMessageBoxes() = default;

}  // namespace lumi
