#include "dialogs/SoundsPage.h"

#include <string>

#include "dialogs/Choosers.h"
#include "dialogs/DialogIds.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

const SoundChoice* ChoiceFor(int id) {
    for (const SoundChoice& choice : kSoundChoices) {
        if (choice.id == id) return &choice;
    }
    return nullptr;
}

void CheckOnly(Controls& controls, int id) {
    for (const SoundChoice& choice : kSoundChoices) controls.SetChecked(choice.id, choice.id == id);
}

}  // namespace

void SoundsPage::Open(Controls& controls) {
    opened_ = true;
    settings_.Load();
    int checked = 0;
    for (const SoundChoice& choice : kSoundChoices) {
        if (choice.value == settings_.sound) checked = choice.id;
    }
    CheckOnly(controls, checked);
    controls.SetText(IDC_SOUND_WAV_PATH, settings_.wavFile);
    controls.SetText(IDC_SOUND_MIDI_PATH, settings_.midFile);
    controls.SetChecked(IDC_SOUND_CONTINUOUS, settings_.playContinuously != 0);
    controls.SetChecked(IDC_SOUND_CUCKOO, settings_.cuckoo != 0);
}

void SoundsPage::Command(Controls& controls, int id) {
    if (ChoiceFor(id) != nullptr) {
        // Stored before it is heard, so the sound picked last stays even if the sheet is
        // cancelled.
        CheckOnly(controls, id);
        Take(controls);
        settings_.Save();
        settings_.Play(controls.Window());
        return;
    }
    switch (id) {
        case IDC_SOUND_WAV_BROWSE:
            Browse(controls, IDC_SOUND_WAV_PATH, "WAV");
            break;
        case IDC_SOUND_MIDI_BROWSE:
            Browse(controls, IDC_SOUND_MIDI_PATH, "MID");
            break;
        default:
            break;
    }
}

void SoundsPage::Apply(Controls& controls) {
    if (!opened_) return;
    Take(controls);
    settings_.Save();
}

void SoundsPage::Leave(Controls&) {
    // Only this page's clicks start a sound; a page never shown has none to stop.
    if (opened_) settings_.Stop();
}

void SoundsPage::Take(const Controls& controls) {
    for (const SoundChoice& choice : kSoundChoices) {
        if (controls.Checked(choice.id)) settings_.sound = choice.value;
    }
    // No longer than the settings give back, so what is stored is what plays.
    settings_.wavFile = IniFile::ReadableStart(controls.Text(IDC_SOUND_WAV_PATH), SoundSettings::kPathBuffer);
    settings_.midFile = IniFile::ReadableStart(controls.Text(IDC_SOUND_MIDI_PATH), SoundSettings::kPathBuffer);
    settings_.playContinuously = controls.Checked(IDC_SOUND_CONTINUOUS) ? 1 : 0;
    settings_.cuckoo = controls.Checked(IDC_SOUND_CUCKOO) ? 1 : 0;
}

void SoundsPage::Browse(Controls& controls, int edit, const char* kind) {
    std::string path = controls.Text(edit);
    if (ChooseFile(controls, "Select your favorite audio file", kind, path, SoundSettings::kPathBuffer,
                   SoundSettings::kPathBuffer)) {
        controls.SetText(edit, path);
    }
}

}  // namespace lumi::dialogs
