// The program's entry after the platform's main: the command line decides the job, and
// each job is one call (help, version, the moon, a snapshot, the saver shell).
#include "shell/Program.h"

#include <cstdio>
#include <cstdlib>

#include "host/CommandLine.h"
#include "shell/headless/HeadlessRun.h"
#include "host/MailCommand.h"
#include "host/MoonCommand.h"
#include "host/ProgramParts.h"
#include "shell/Shell.h"
#include "media/Wallpaper.h"
#include "scene/Universe.h"

namespace lumi {

int RunProgram(const std::vector<std::string>& args) {
    const Dialect dialect = ProgramDialect();
    // Only XScreenSaver's own convention reads the variable; elsewhere it means nothing.
    const char* xscreensaverWindow = dialect == Dialect::Linux ? std::getenv("XSCREENSAVER_WINDOW") : nullptr;
    const CommandLine command =
        ParseCommandLine(args, dialect, xscreensaverWindow, ProgramPasswordMode(), ProgramWindowQueries());
    // Windows programs split their command line themselves, by Windows rules; elsewhere the
    // shell has split it already, and joining and splitting again would cut a path with blanks.
    if (dialect == Dialect::Linux) SetProgramArguments(args);

    switch (command.mode) {
        case RunMode::Help:
            std::fputs(UsageText(), stdout);
            return 0;
        case RunMode::Version:
            std::printf("lumivane %s\n", LUMI_VERSION);
            return 0;
        case RunMode::Moon:
            return RunMoonCommand(command);
        case RunMode::CheckMail:
            return RunMailCheckCommand();
        case RunMode::Snapshot:
            return RunSnapshot(command.snapshot, TheUniverse(), ProgramSaverParts());
        case RunMode::Configure:
            return RunSettings(command);
        case RunMode::FullScreen:
        case RunMode::Preview:
            // The saver proper may change the wallpaper (a small preview is too narrow
            // to); a plain window, the root window and a snapshot never do.
            SetWallpaperChanges(WallpaperChanges::On);
            return RunSaverShell(command);
        case RunMode::Root:
        case RunMode::Window:
        case RunMode::ChangePassword:
            return RunSaverShell(command);
        case RunMode::Error:
            std::fprintf(stderr, "lumivane: %s\n", command.error.c_str());
            if (command.exitCode == 2) std::fputs("Try 'lumivane --help'.\n", stderr);
            return command.exitCode;
    }
    return 2;
}

}  // namespace lumi
