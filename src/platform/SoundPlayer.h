// The platform's sound services as the sound module uses them: wave sounds by resource
// number, file or system alias, and a MIDI sequencer. One player is installed per process.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/MessageBox.h"

namespace lumi {

enum class SoundLoop { Once, Loop };

// The MIDI device's error number when no player or no synthesiser is there (the number
// the multimedia interface gives for a device that is not installed).
constexpr uint32_t kMidiDeviceNotInstalled = 306;

// What the platform's sound services do for this module. Every call returns at once: the
// sound plays in the background, and a player that cannot play stays silent.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts built-in sound `number` in place of any wave sound that plays.
    virtual void PlayResource(int number, SoundLoop loop) = 0;
    // Starts one of the system's named event sounds ("MailBeep"), in place of any wave sound.
    virtual void PlayAlias(std::string_view /*alias*/) {}
    // Starts a WAV file in place of any wave sound.
    virtual void PlayFile(const std::string& /*path*/, SoundLoop /*loop*/) {}
    virtual void StopWave() {}

    // The MIDI sequencer, step by step: open a file as a device (its id goes to `device`),
    // ask for its output port, play it once, close it. Each gives 0 or an error number.
    virtual uint32_t MidiOpen(const std::string& /*path*/, uint32_t& /*device*/) { return kMidiDeviceNotInstalled; }
    virtual uint32_t MidiStatusPort(uint32_t /*device*/) { return 0; }
    virtual uint32_t MidiPlay(uint32_t /*device*/, WindowHandle /*notify*/) { return 0; }
    virtual void MidiClose(uint32_t /*device*/) {}

    // A command string for the multimedia interface; the result is not wanted.
    virtual void MciCommand(std::string_view /*command*/) {}
};

namespace detail {
// Nothing installed means silence: the saver must run on machines with no sound at all.
inline std::atomic<SoundPlayer*> installedSoundPlayer{nullptr};
}  // namespace detail

// Installs the player every sound goes through; nullptr returns to silence. Caller owns it.
inline void SetSoundPlayer(SoundPlayer* player) {
    detail::installedSoundPlayer.store(player, std::memory_order_release);
}

// The player of this platform (SDL2_mixer on Linux, the multimedia services on Windows).
// It opens no device until something plays, so creating it costs nothing.
std::unique_ptr<SoundPlayer> CreatePlatformSoundPlayer();

}  // namespace lumi
