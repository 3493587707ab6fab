// Long options first (they start with "--", which the saver grammar would skip), then
// the screen-saver command line.
#include "host/Program.h"

#include <cstdio>

#include "host/MoonCommand.h"

namespace lumi {

namespace {

const char kHelp[] =
    "Usage: lumivane [OPTION]\n"
    "A night sky with twinkling stars, the moon in its true phase and messages written\n"
    "with stars.\n"
    "\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n"
    "  --moon [--at TIME]  print the moon's phase now, or at an ISO-8601 TIME, and exit\n";

}  // namespace

int RunProgram(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--version") {
            std::printf("lumivane %s\n", LUMI_VERSION);
            return 0;
        }
        if (args[i] == "--moon") return RunMoonCommand(args);
        if (args[i] == "--help") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    std::fputs(kHelp, stderr);
    return 2;
}

}  // namespace lumi
