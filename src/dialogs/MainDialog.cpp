// The main dialog's opening and its OK and Cancel.
#include "dialogs/MainDialog.h"

#include <utility>

#include "base/Log.h"
#include "content/MessageStore.h"
#include "dialogs/DialogIds.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr int kResultOk = 1;
constexpr int kResultCancel = 0;

void CheckFrom(Controls& controls, int id, long value) { controls.SetChecked(id, value != 0); }

}  // namespace

const char* SettingsCaption() { return "Lumivane Screensaver v" LUMI_VERSION; }

MainDialog::MainDialog(std::string settingsFolder) : settingsFolder_(std::move(settingsFolder)) {}
MainDialog::~MainDialog() = default;

void MainDialog::Open(Controls& controls) {
    AppLog().Info.Log("Version", LUMI_VERSION);
    AppLog().Info.Log("operation", "configure");
    IniFile& ini = MainIni();
    if (ini.Init(settingsFolder_, "Lumivan.ini") != 0) {
        controls.End(kResultCancel);
        return;
    }
    EncryptPleaseUtility(ini);
    MessageStore& store = TheMessageStore();
    store.WriteDefaults();

    controls.SetCaption(SettingsCaption());
    controls.SetText(IDC_OK, "Ok");
    controls.SetText(IDC_CANCEL, "Ooops... Cancel");

    store.GoFirst();
    controls.SetText(IDC_MAIN_MESSAGE, store.Message());
    controls.SetText(IDC_MAIN_BOTTOMLINE, store.BottomLine());
    CheckFrom(controls, IDC_MAIN_AIRPLANES, SettingAirplanes.Get());
    const bool moon = SettingMoon.Get() != 0;
    CheckFrom(controls, IDC_MAIN_MOON, moon);
    controls.Enable(IDC_MAIN_SOUTHERN, moon);
    CheckFrom(controls, IDC_MAIN_SOUTHERN, SettingSouthernHemisphere.Get());
    CheckFrom(controls, IDC_MAIN_JOKES, ini.ReadIntForUser("params", "Jokes", 0));
    CheckFrom(controls, IDC_MAIN_EMAIL, ini.ReadIntForUser("Email", "Enabled", 0));
    // A user opens the settings to change the message: let him type at once.
    controls.Focus(IDC_MAIN_MESSAGE, true);
}

void MainDialog::Command(Controls& controls, int id) {
    switch (id) {
        case IDC_OK:
            Confirm(controls);
            Finish(controls, kResultOk);
            break;
        case IDC_CANCEL:
            Finish(controls, kResultCancel);
            break;
        case IDC_MAIN_MOON:
            SettingMoon.Set(controls.Checked(IDC_MAIN_MOON) ? 1 : 0);
            controls.Enable(IDC_MAIN_SOUTHERN, controls.Checked(IDC_MAIN_MOON));
            break;
        default:
            break;
    }
}

void MainDialog::Timer(Controls&, int) {}

void MainDialog::Paint(Controls&) {}

void MainDialog::Confirm(Controls& controls) {
    UnlockFromMainPage(TheMessageStore(), controls.Window(), controls.Text(IDC_MAIN_MESSAGE),
                       controls.Text(IDC_MAIN_BOTTOMLINE));
    IniFile& ini = MainIni();
    SettingAirplanes.Set(controls.Checked(IDC_MAIN_AIRPLANES) ? 1 : 0);
    ini.WriteUIntForUser("Params", "Jokes", controls.Checked(IDC_MAIN_JOKES) ? 1 : 0);
    ini.WriteUIntForUser("Params", "SouthernHemisphere", controls.Checked(IDC_MAIN_SOUTHERN) ? 1 : 0);
    ini.WriteUIntForUser("Email", "Enabled", controls.Checked(IDC_MAIN_EMAIL) ? 1 : 0);
}

void MainDialog::Finish(Controls& controls, int result) { controls.End(result); }

}  // namespace lumi::dialogs
