// Sound: the user's background sound (built-in, own WAV or MIDI file, or silence) and the
// built-in effects other parts play by number, all through one replaceable player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/SoundPlayer.h"

namespace lumi {

// Plays built-in sound `number` in place of any wave sound, looping when asked. The window
// names the module that carries the sound; the program itself is the only one used.
void PlayBuiltInSound(WindowHandle window, int number, SoundLoop loop = SoundLoop::Once);
void PlaySystemSound(std::string_view alias);
void StopWaveSound();
// Opens, checks and starts the MIDI file; 0 on success, else the device's error number.
uint32_t PlayMidiFile(WindowHandle notifyWindow, const std::string& path);
// Closes the MIDI device if one is open and forgets it.
void CloseMidi();
// At the program's end: stops and closes the device an older version opened by name.
void EndProgramSound();

// The platform's player for one run of the saver or the settings: installed while it
// lives; at the end the program-end commands go out and silence returns.
class ProgramSound {
public:
    ProgramSound() : player_(CreatePlatformSoundPlayer()) { SetSoundPlayer(player_.get()); }
    ~ProgramSound() {
        EndProgramSound();
        SetSoundPlayer(nullptr);
    }
    ProgramSound(const ProgramSound&) = delete;
    ProgramSound& operator=(const ProgramSound&) = delete;

private:
    std::unique_ptr<SoundPlayer> player_;
};

// The user's choice of background sound, section "Sound", per user.
struct SoundSettings {
    static constexpr int kSilence = 105;
    static constexpr int kMidiFile = 144;
    static constexpr int kWavFile = 145;
    static constexpr size_t kPathBuffer = 300;

    std::string wavFile;       // WavFile
    std::string midFile;       // MidFile
    int sound = kSilence;      // Sound: a built-in number, 105, 144 or 145
    int playContinuously = 0;  // PlayContinuously: loop built-in sounds and the WAV file
    int cuckoo = 0;            // Cuckoo: the hourly sound

    void Load();
    void Save() const;
    // Reloads the settings and starts the chosen sound.
    void Play(WindowHandle window);
    // Stops the MIDI file and any wave sound.
    void Stop();
};

// For tests: installs itself for its lifetime and remembers what was asked to play.
class RecordingSoundPlayer : public SoundPlayer {
public:
    struct Played {
        int number;
        SoundLoop loop;
    };
    RecordingSoundPlayer() { SetSoundPlayer(this); }
    ~RecordingSoundPlayer() override { SetSoundPlayer(nullptr); }
    RecordingSoundPlayer(const RecordingSoundPlayer&) = delete;
    RecordingSoundPlayer& operator=(const RecordingSoundPlayer&) = delete;

    void PlayResource(int number, SoundLoop loop) override {
        played.push_back({number, loop});
        calls.push_back("resource " + std::to_string(number) + Looping(loop));
    }
    void PlayAlias(std::string_view alias) override {
        aliases.emplace_back(alias);
        calls.push_back("alias " + std::string(alias));
    }
    void PlayFile(const std::string& path, SoundLoop loop) override { calls.push_back("file " + path + Looping(loop)); }
    void StopWave() override { calls.push_back("stop wave"); }
    uint32_t MidiOpen(const std::string& path, uint32_t& device) override {
        calls.push_back("midi open " + path);
        if (midiOpenError != 0) return midiOpenError;
        device = ++lastMidiDevice;
        return 0;
    }
    uint32_t MidiStatusPort(uint32_t device) override {
        calls.push_back("midi port " + std::to_string(device));
        return midiPortError;
    }
    uint32_t MidiPlay(uint32_t device, WindowHandle /*notify*/) override {
        calls.push_back("midi play " + std::to_string(device));
        return midiPlayError;
    }
    void MidiClose(uint32_t device) override { calls.push_back("midi close " + std::to_string(device)); }
    void MciCommand(std::string_view command) override { calls.push_back("mci " + std::string(command)); }

    std::vector<Played> played;
    std::vector<std::string> aliases;
    // Every call in order, as short texts ("resource 124 loop", "midi close 1").
    std::vector<std::string> calls;
    uint32_t midiOpenError = 0;
    uint32_t midiPortError = 0;
    uint32_t midiPlayError = 0;
    uint32_t lastMidiDevice = 0;

private:
    static const char* Looping(SoundLoop loop) { return loop == SoundLoop::Loop ? " loop" : ""; }
};

}  // namespace lumi
