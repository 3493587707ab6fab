// The program's entry after the platform's main: reads the command line and runs the
// chosen job. Returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace lumi {

int RunProgram(const std::vector<std::string>& args);

}  // namespace lumi
