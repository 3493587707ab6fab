// The platform's window-system shell: runs the saver in the mode the command line chose
// (full screen, preview, a plain window). One implementation per platform.
#pragma once

#include "host/CommandLine.h"

namespace lumi {

// Returns the process exit code.
int RunSaverShell(const CommandLine& command);

}  // namespace lumi
