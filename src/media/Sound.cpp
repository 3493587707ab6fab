// The sound module's rules over the installed player: what each choice plays, the MIDI
// device that is open, and the stored choice.
#include "media/Sound.h"

#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {

namespace {

constexpr const char* kSection = "Sound";

// The MIDI device that plays, 0 when none. The window thread alone plays sounds.
uint32_t midiDevice = 0;

SoundPlayer* Player() { return detail::installedSoundPlayer.load(std::memory_order_acquire); }

}  // namespace

void PlayBuiltInSound(WindowHandle /*window*/, int number, SoundLoop loop) {
    if (SoundPlayer* p = Player()) p->PlayResource(number, loop);
}

void PlaySystemSound(std::string_view alias) {
    if (SoundPlayer* p = Player()) p->PlayAlias(alias);
}

void StopWaveSound() {
    if (SoundPlayer* p = Player()) p->StopWave();
}

uint32_t PlayMidiFile(WindowHandle notifyWindow, const std::string& path) {
    SoundPlayer* p = Player();
    if (!p) return kMidiDeviceNotInstalled;
    uint32_t device = 0;
    if (uint32_t error = p->MidiOpen(path, device)) {
        AppLog().Warning.Log("PlayMidiFile open", static_cast<long>(error));
        return error;
    }
    midiDevice = device;
    uint32_t error = p->MidiStatusPort(device);
    if (error == 0) error = p->MidiPlay(device, notifyWindow);
    if (error != 0) {
        AppLog().Warning.Log("PlayMidiFile", static_cast<long>(error));
        CloseMidi();
    }
    return error;
}

void CloseMidi() {
    if (midiDevice != 0) {
        if (SoundPlayer* p = Player()) p->MidiClose(midiDevice);
    }
    midiDevice = 0;
}

void EndProgramSound() {
    // Two blanks after the verb, as the device name was always sent.
    if (SoundPlayer* p = Player()) {
        p->MciCommand("stop  MySound");
        p->MciCommand("close  MySound");
    }
}

void SoundSettings::Load() {
    IniFile& ini = MainIni();
    wavFile = ini.ReadStringForUser(kSection, "WavFile", "", kPathBuffer);
    midFile = ini.ReadStringForUser(kSection, "MidFile", "", kPathBuffer);
    sound = static_cast<int>(ini.ReadIntForUser(kSection, "Sound", kSilence));
    playContinuously = static_cast<int>(ini.ReadIntForUser(kSection, "PlayContinuously", 0));
    cuckoo = static_cast<int>(ini.ReadIntForUser(kSection, "Cuckoo", 0));
}

void SoundSettings::Save() const {
    IniFile& ini = MainIni();
    ini.WriteUIntForUser(kSection, "Sound", static_cast<unsigned long>(static_cast<uint32_t>(sound)));
    ini.WriteUIntForUser(kSection, "Cuckoo", static_cast<unsigned long>(static_cast<uint32_t>(cuckoo)));
    ini.WriteStringForUser(kSection, "WavFile", wavFile);
    ini.WriteStringForUser(kSection, "MidFile", midFile);
    ini.WriteUIntForUser(kSection, "PlayContinuously",
                         static_cast<unsigned long>(static_cast<uint32_t>(playContinuously)));
}

void SoundSettings::Play(WindowHandle window) {
    Load();
    const SoundLoop loop = playContinuously != 0 ? SoundLoop::Loop : SoundLoop::Once;
    AppLog().Info.Log("SoundSettings::Play", sound);
    CloseMidi();
    switch (sound) {
    case kSilence:
        StopWaveSound();
        break;
    case kMidiFile:
        // A MIDI file plays once whatever the loop setting says; failing gives silence.
        CloseMidi();
        StopWaveSound();
        PlayMidiFile(nullptr, midFile);
        break;
    case kWavFile:
        // No file chosen: silence, rather than whatever the system plays for a bad name.
        if (wavFile.empty()) {
            StopWaveSound();
        } else if (SoundPlayer* p = Player()) {
            p->PlayFile(wavFile, loop);
        }
        break;
    default:
        PlayBuiltInSound(window, sound, loop);
        break;
    }
}

void SoundSettings::Stop() {
    CloseMidi();
    StopWaveSound();
}

}  // namespace lumi
