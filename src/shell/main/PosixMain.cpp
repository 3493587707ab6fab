// The Linux program's entry.
#include <string>
#include <vector>

#include "shell/Program.h"
#include "platform/Startup.h"
#include "platform/System.h"

#if defined(__SANITIZE_ADDRESS__)
// In sanitizer builds: SDL's sound thread talks to D-Bus, whose library keeps its buffers to
// the end of the process; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

int main(int argc, char** argv) {
    lumi::platform::SetCommandLine(argc, argv);
    lumi::platform::StartPlatform();
    std::vector<std::string> args(argv, argv + argc);
    return lumi::RunProgram(args);
}
