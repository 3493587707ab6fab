// The Linux program's entry.
#include <string>
#include <vector>

#include "host/Program.h"
#include "platform/System.h"

int main(int argc, char** argv) {
    lumi::platform::SetCommandLine(argc, argv);
    std::vector<std::string> args(argv, argv + argc);
    return lumi::RunProgram(args);
}
