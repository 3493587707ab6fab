// The Linux program's entry.
#include <string>
#include <vector>

#include "shell/Program.h"
#include "platform/Startup.h"
#include "platform/System.h"

int main(int argc, char** argv) {
    lumi::platform::SetCommandLine(argc, argv);
    lumi::platform::StartPlatform();
    std::vector<std::string> args(argv, argv + argc);
    return lumi::RunProgram(args);
}
