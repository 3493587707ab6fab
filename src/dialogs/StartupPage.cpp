#include "dialogs/StartupPage.h"

#include <string>

#include "base/Log.h"
#include "dialogs/Choosers.h"
#include "dialogs/DialogIds.h"
#include "media/Wallpaper.h"
#include "settings/IniFile.h"
#include "sky/HotCorners.h"

namespace lumi::dialogs {

namespace {

// The changer reads the folder with room for 255 bytes; what is stored must come back whole.
constexpr size_t kWallpaperPathBuffer = 255;

int Switch(const Controls& controls, int id) { return controls.Checked(id) ? 1 : 0; }

}  // namespace

void StartupPage::Open(Controls& controls) {
    opened_ = true;
    HotCorners corners;
    corners.Read();
    controls.SetChecked(IDC_STARTUP_TOP_LEFT, corners.topLeft != 0);
    controls.SetChecked(IDC_STARTUP_TOP_RIGHT, corners.topRight != 0);
    controls.SetChecked(IDC_STARTUP_BOTTOM_LEFT, corners.bottomLeft != 0);
    controls.SetChecked(IDC_STARTUP_BOTTOM_RIGHT, corners.bottomRight != 0);
    controls.SetChecked(IDC_STARTUP_SWITCH_OFF_TV, corners.switchOffTV != 0);
    controls.SetChecked(IDC_STARTUP_REACH_STARS, corners.reachTheStars != 0);

    IniFile& ini = MainIni();
    controls.SetChecked(IDC_STARTUP_WALLPAPER, ini.ReadInt(kWallpaperSection, "Enabled", 0) != 0);
    controls.SetText(IDC_STARTUP_WALLPAPER_PATH, ini.ReadString(kWallpaperSection, "path", "", kWallpaperPathBuffer));
}

void StartupPage::Command(Controls& controls, int id) {
    if (id != IDC_STARTUP_WALLPAPER_BROWSE) return;
    std::string path = controls.Text(IDC_STARTUP_WALLPAPER_PATH);
    AppLog().Info.Log("IDC_WALLPAPER_BROWSE - path", path);
    if (ChooseFolder(controls, "containing wallpaper pictures", path, kFolderCapacity, kWallpaperPathBuffer)) {
        controls.SetText(IDC_STARTUP_WALLPAPER_PATH, path);
    }
}

void StartupPage::Apply(Controls& controls) {
    if (!opened_) return;
    HotCorners corners;
    corners.topLeft = Switch(controls, IDC_STARTUP_TOP_LEFT);
    corners.topRight = Switch(controls, IDC_STARTUP_TOP_RIGHT);
    corners.bottomLeft = Switch(controls, IDC_STARTUP_BOTTOM_LEFT);
    corners.bottomRight = Switch(controls, IDC_STARTUP_BOTTOM_RIGHT);
    corners.switchOffTV = Switch(controls, IDC_STARTUP_SWITCH_OFF_TV);
    corners.reachTheStars = Switch(controls, IDC_STARTUP_REACH_STARS);
    corners.Write();

    IniFile& ini = MainIni();
    ini.WriteUInt(kWallpaperSection, "Enabled", static_cast<unsigned long>(Switch(controls, IDC_STARTUP_WALLPAPER)));
    // No longer than the changer reads back, so what is stored is what it uses.
    ini.WriteString(kWallpaperSection, "path",
                    IniFile::ReadableStart(controls.Text(IDC_STARTUP_WALLPAPER_PATH), kWallpaperPathBuffer));
}

}  // namespace lumi::dialogs
