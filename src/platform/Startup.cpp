// Hands the platform's clock, the log's place and the font rasterizer to the folders
// below the platform.
#include "platform/Startup.h"

#include "base/Clock.h"
#include "base/Log.h"
#include "gfx/FontRasterizer.h"
#include "platform/Fonts.h"
#include "platform/OsReport.h"
#include "platform/SystemClock.h"
#include "platform/System.h"

namespace lumi::platform {

void StartPlatform() {
    SetDefaultClock(&SystemClock());
    SetLogSetup({DefaultLogPath(), &SystemReport, &OpenUserFile});
    gfx::SetPlatformFontRasterizerMaker(&gfx::PlatformFontRasterizer);
}

std::string DefaultLogPath() {
    const std::string folder = LogFolder();
    // Without a folder of the user's own there is no log, rather than one in whatever
    // folder the process happens to run in or one others could read.
    if (folder.empty()) return std::string();
    const std::string module = ModuleFilePath();
    const std::string separators = std::string("/") + PathSeparator();
    const size_t cut = module.find_last_of(separators);
    std::string name = cut == std::string::npos ? module : module.substr(cut + 1);
    if (name.empty()) name = "lumivane";
    return folder + name + ".log.txt";
}

}  // namespace lumi::platform
