// Sound on Windows: PlaySoundA for the WAVE resources, files and system aliases (the
// system plays them in the background), the MCI "sequencer" device for MIDI files.
#include <windows.h>
#include <mmsystem.h>

#include "platform/SoundPlayer.h"

namespace lumi {

namespace {

// A missing resource or file is silence: without SND_NODEFAULT the system would play its
// default beep in its place, and with a loop go on beeping.
constexpr DWORD kResource = SND_RESOURCE | SND_ASYNC | SND_NODEFAULT;
constexpr DWORD kFile = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;

class Win32SoundPlayer final : public SoundPlayer {
public:
    void PlayResource(int number, SoundLoop loop) override {
        if (number <= 0 || number > 0xFFFF) {
            StopWave();
            return;
        }
        PlaySoundA(MAKEINTRESOURCEA(number), GetModuleHandleA(nullptr),
                   kResource | (loop == SoundLoop::Loop ? SND_LOOP : 0));
    }
    void PlayAlias(std::string_view alias) override {
        const std::string name(alias);
        PlaySoundA(name.c_str(), nullptr, SND_ALIAS | SND_ASYNC);
    }
    void PlayFile(const std::string& path, SoundLoop loop) override {
        PlaySoundA(path.c_str(), nullptr, kFile | (loop == SoundLoop::Loop ? SND_LOOP : 0));
    }
    void StopWave() override { PlaySoundA(nullptr, nullptr, 0); }

    uint32_t MidiOpen(const std::string& path, uint32_t& device) override {
        MCI_OPEN_PARMSA open{};
        open.lpstrDeviceType = "sequencer";
        open.lpstrElementName = path.c_str();
        MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT,
                                         reinterpret_cast<DWORD_PTR>(&open));
        if (error != 0) return static_cast<uint32_t>(error);
        device = open.wDeviceID;
        return 0;
    }
    uint32_t MidiStatusPort(uint32_t device) override {
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_SEQ_STATUS_PORT;
        return static_cast<uint32_t>(
            mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)));
    }
    uint32_t MidiPlay(uint32_t device, WindowHandle notify) override {
        MCI_PLAY_PARMS play{};
        play.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
        return static_cast<uint32_t>(mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)));
    }
    void MidiClose(uint32_t device) override { mciSendCommandA(device, MCI_CLOSE, 0, 0); }

    void MciCommand(std::string_view command) override {
        const std::string text(command);
        mciSendStringA(text.c_str(), nullptr, 0, nullptr);
    }
};

}  // namespace

std::unique_ptr<SoundPlayer> CreatePlatformSoundPlayer() { return std::make_unique<Win32SoundPlayer>(); }

}  // namespace lumi
