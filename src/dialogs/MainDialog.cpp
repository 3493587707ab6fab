// The main dialog: its opening, its switches and choosers, the picture, the runaway OK
// button, and OK and Cancel.
#include "dialogs/MainDialog.h"

#include <cstdio>
#include <utility>

#include "base/Log.h"
#include "base/Random.h"
#include "content/MessageStore.h"
#include "dialogs/Choosers.h"
#include "dialogs/DialogIds.h"
#include "dialogs/EmailDialog.h"
#include "dialogs/FieldText.h"
#include "dialogs/MoreOptions.h"
#include "dialogs/TextFontChooser.h"
#include "media/Sound.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr int kResultOk = 1;
constexpr int kResultCancel = 0;

constexpr int kAirplanesSound = 140;
constexpr int kJokesSound = 187;
constexpr int kCongratulationsSound = 183;

// What the main page passes on: the message and bottom line as the store keeps them.
constexpr size_t kMessageChars = 98;
constexpr size_t kBottomLineChars = 298;
// The picture chooser's buffer, and the stored path read into it as a start.
constexpr size_t kPictureBuffer = 300;
constexpr size_t kPictureRead = 299;

void CheckFrom(Controls& controls, int id, long value) { controls.SetChecked(id, value != 0); }

unsigned long Flag(const Controls& controls, int id) { return controls.Checked(id) ? 1 : 0; }

std::string Cut(std::string text, size_t chars) {
    if (text.size() > chars) text.resize(chars);
    return text;
}

}  // namespace

const char* SettingsCaption() { return "Lumivane Screensaver v" LUMI_VERSION; }

MainDialog::MainDialog(std::string settingsFolder)
    : settingsFolder_(std::move(settingsFolder)), pictureArea_(IDC_MAIN_PICTURE_AREA) {}
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

    // One opening in seven, for a user who asked for jokes.
    if (ini.ReadIntForUser("params", "Jokes", 0) != 0 && RandomRange(0, 7) == 1) runaway_.Arm(controls, IDC_OK);

    controls.SetCaption(SettingsCaption());
    controls.SetText(IDC_OK, "Ok");
    controls.SetText(IDC_CANCEL, "Ooops... Cancel");

    store.GoFirst();
    // The boxes take "\r\n" line breaks; a stored text may hold bare ones.
    controls.SetText(IDC_MAIN_MESSAGE, WithCrLf(store.Message()));
    controls.SetText(IDC_MAIN_BOTTOMLINE, WithCrLf(store.BottomLine()));
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
        // The window may go as soon as it is told to end: nothing touches it afterwards.
        case IDC_OK:
            Confirm(controls);
            Finish(controls, kResultOk);
            return;
        case IDC_CANCEL:
            Finish(controls, kResultCancel);
            return;
        case IDC_MAIN_MOON:
            SettingMoon.Set(controls.Checked(IDC_MAIN_MOON) ? 1 : 0);
            controls.Enable(IDC_MAIN_SOUTHERN, controls.Checked(IDC_MAIN_MOON));
            break;
        case IDC_MAIN_AIRPLANES:
            if (controls.Checked(IDC_MAIN_AIRPLANES)) PlayBuiltInSound(controls.Window(), kAirplanesSound);
            break;
        case IDC_MAIN_JOKES:
            if (controls.Checked(IDC_MAIN_JOKES)) PlayBuiltInSound(controls.Window(), kJokesSound);
            break;
        case IDC_MAIN_EMAIL:
            runaway_.Pause();
            if (controls.Checked(IDC_MAIN_EMAIL)) {
                EmailDialog email;
                ModalDialog(controls, IDD_EMAIL, email);
            }
            break;
        case IDC_MAIN_FONT:
            runaway_.Pause();
            ChooseTextFont(controls);
            controls.Repaint(0);
            break;
        case IDC_MAIN_PICTURE:
            runaway_.Pause();
            ChoosePicture(controls);
            break;
        case IDC_MAIN_OPTIONS:
            runaway_.Pause();
            RunMoreOptionsSheet(controls);
            TheMessageStore().GoFirst();
            break;
        case IDC_MAIN_HELP:
            if (!controls.OpenHelpPage("lumivan.htm")) AppLog().Warning.Log("MainDialog", "cannot open lumivan.htm");
            break;
        default:
            return;
    }
    runaway_.Resume();
    controls.Repaint(IDC_OK);
}

void MainDialog::Timer(Controls& controls, int timerId) { runaway_.Tick(controls, timerId); }

void MainDialog::Paint(Controls& controls) { pictureArea_.Draw(controls); }

void MainDialog::ChoosePicture(Controls& controls) {
    IniFile& ini = MainIni();
    std::string path = ini.ReadStringForUser("Params", "UPIC", "", kPictureRead);
    // Cancelling goes back to the built-in picture.
    if (!ChooseFile(controls, "Select your favorite picture", "BMP", path, kPictureBuffer, PictureArea::kPathRead)) {
        path.clear();
    }
    ini.WriteStringForUser("Params", "UPIC", path);
    pictureArea_.Release();
    controls.Repaint(IDC_MAIN_PICTURE_AREA);
}

void MainDialog::Confirm(Controls& controls) {
    UnlockFromMainPage(TheMessageStore(), controls.Window(), Cut(controls.Text(IDC_MAIN_MESSAGE), kMessageChars),
                       Cut(controls.Text(IDC_MAIN_BOTTOMLINE), kBottomLineChars));
    if (runaway_.Armed() && !runaway_.Paused()) {
        PlayBuiltInSound(controls.Window(), kCongratulationsSound);
        runaway_.Pause();
        char text[80];
        std::snprintf(text, sizeof text, "You were able to hit the button with %i attempts!", runaway_.Attempts());
        ShowMessageBox(controls.Window(), text, "CONGRATULATIONS!");
    }
    IniFile& ini = MainIni();
    SettingAirplanes.Set(controls.Checked(IDC_MAIN_AIRPLANES) ? 1 : 0);
    ini.WriteUIntForUser("Params", "Jokes", Flag(controls, IDC_MAIN_JOKES));
    ini.WriteUIntForUser("Params", "SouthernHemisphere", Flag(controls, IDC_MAIN_SOUTHERN));
    ini.WriteUIntForUser("Email", "Enabled", Flag(controls, IDC_MAIN_EMAIL));
}

void MainDialog::Finish(Controls& controls, int result) {
    pictureArea_.Release();
    runaway_.Disarm(controls);
    runaway_.Resume();
    controls.End(result);
}

}  // namespace lumi::dialogs
