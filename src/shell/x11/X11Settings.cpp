// The settings on Linux live in a program of their own, lumivane-settings, so the saver
// stays small. Asked for its settings, the saver becomes that program when it is installed
// beside it, and otherwise says where to get it.
#include <unistd.h>

#include <cstdint>
#include <string>

#include "platform/MessageBox.h"
#include "platform/System.h"
#include "shell/Shell.h"

namespace lumi {

int RunSettings(const CommandLine& command) {
    const std::string folder = platform::ModuleFolder();
    const std::string settings = folder + "lumivane-settings";
    if (!folder.empty() && access(settings.c_str(), X_OK) == 0) {
        // The settings program takes this process's place, so whoever waits for the
        // saver's settings (a desktop's screen-saver panel) waits for it.
        char* const argv[] = {const_cast<char*>(settings.c_str()), nullptr};
        execv(settings.c_str(), argv);
    }
    const std::string text =
        "The settings are edited with the program \"lumivane-settings\", which is not installed beside "
        "this one (" + (folder.empty() ? std::string("?") : folder) + ").\n"
        "It comes with the Lumivane package for Debian and Ubuntu, and is built with the saver "
        "from its sources (the target lumivane-settings).\n"
        "Until then the settings are kept in the file \"Lumivan.ini\" in " + platform::SettingsFolder() +
        " and can be edited there.";
    // Started from a desktop's settings panel, nobody reads the terminal.
    ShellMessageBoxes boxes;
    ShowMessageBox(reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(command.window)), text, "Lumivane settings",
                   BoxIcon::Information, BoxButtons::Ok);
    return 0;
}

}  // namespace lumi
