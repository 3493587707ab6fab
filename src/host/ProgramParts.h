// The program's parts that join a saver run at the saver window's fixed places (message
// store defaults, message file import, hot corners, start-up effect, application object).
#pragma once

#include "host/SkyScene.h"

namespace lumi {

SaverParts& ProgramSaverParts();

}  // namespace lumi
