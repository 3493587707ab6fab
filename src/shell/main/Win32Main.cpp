// The Windows screen saver's entry: the C runtime has split the command line for us.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Startup.h"
#include "shell/Program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    lumi::platform::StartPlatform();
    // The settings dialog's pages are tab controls, whichever mode runs.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);

    std::vector<std::string> args;
    for (int i = 0; i < __argc; ++i) args.emplace_back(__argv[i]);
    return lumi::RunProgram(args);
}
