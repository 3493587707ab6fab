// The platform's window-system shell: runs the saver in the mode the command line chose
// (full screen, preview, a plain window). One implementation per platform.
#pragma once

#include <memory>

#include "host/CommandLine.h"

namespace lumi {

// Returns the process exit code.
int RunSaverShell(const CommandLine& command);

// Opens the settings (an empty command line, or /c): Windows shows the settings dialog;
// Linux starts lumivane-settings from this program's folder, or says where to get it.
// Returns the process exit code.
int RunSettings(const CommandLine& command);

// Which command-line conventions this platform's users expect.
Dialect ProgramDialect();
// Whether the saver itself checks the screen-saver password (older Windows family only).
PasswordMode ProgramPasswordMode();
// The window questions the screen-saver switches ask (is this id a window, which window
// has the focus), answered by this platform's window system.
WindowQueries ProgramWindowQueries();

// While it lives, message boxes reach the user through the window system where the
// platform's own boxes would not (on X11 they go to a terminal nobody may watch).
class ShellMessageBoxes {
public:
    ShellMessageBoxes();
    ~ShellMessageBoxes();
    ShellMessageBoxes(const ShellMessageBoxes&) = delete;
    ShellMessageBoxes& operator=(const ShellMessageBoxes&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumi
