// The program's parts that join a saver run at the saver window's fixed places (message
// store defaults, message file import, hot corners, start-up effect, application object).
#pragma once

#include <string>
#include <vector>

#include "host/SaverParts.h"
#include "sky/SkyScene.h"
#include "host/StartUpEffects.h"

namespace lumi {

SaverParts& ProgramSaverParts();

// The shell whose cursor and window the hot corners read, and how it shows the start-up
// effect's frames while the effect blocks (empty: the clock sleeps and only the end is
// seen). A shell binds itself before the window is created and unbinds (nullptr) before
// it goes; unbound, no corner ever vetoes a run.
void BindProgramParts(SaverHost* host, EffectPause pause = {});

// The argument vector the program was given. Once set, a friend's message file is taken
// from it as it stands; unset, from the platform's command line split by Windows rules.
void SetProgramArguments(std::vector<std::string> args);

}  // namespace lumi
