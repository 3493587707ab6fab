// Sound on Linux through SDL2_mixer: one wave channel (a new wave sound replaces the one
// that plays), the program's WAVE resources from memory, the user's WAV from disk, the
// freedesktop theme's event sounds for the system aliases, MIDI through a General MIDI
// soundfont. A worker thread opens the device at the first sound and does all mixer work,
// so a slow or missing audio system never holds up the window thread; without a device
// every sound is silence.
//
// The mixer is loaded when the first sound plays, not with the program: it brings some
// seventy libraries (decoders, the sound servers' clients) that cost a sky that stays
// silent about 11 MB of resident memory and 25 ms of every start.
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <type_traits>

#include "platform/Resources.h"
#include "platform/SoundPlayer.h"
#include "base/Log.h"

namespace lumi {

namespace {

constexpr int kWaveChannel = 0;
// The multimedia interface's number for a file that cannot be opened.
constexpr uint32_t kMidiFileNotFound = 275;

const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/soundfonts/default.sf2",
};

struct AliasFiles {
    const char* alias;
    const char* files[3];  // the theme's nearest events, best first
};

const AliasFiles kAliases[] = {
    {"MailBeep", {"message-new-email", "message", "bell"}},
    {"SystemExit", {"desktop-logout", "service-logout", "complete"}},
};

constexpr const char* kThemeFolder = "/usr/share/sounds/freedesktop/stereo/";

constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";

// The SDL and SDL_mixer calls the player makes, from the loaded library (the mixer's own
// dependencies bring SDL's). Macros of older headers are spelled out: Mix_PlayChannel and
// Mix_LoadWAV through the calls they stand for.
struct MixerCalls {
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_GetError) GetError = nullptr;
    decltype(&SDL_Quit) Quit = nullptr;
    decltype(&SDL_RWFromFile) RWFromFile = nullptr;
    decltype(&SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_AllocateChannels) AllocateChannels = nullptr;
    decltype(&Mix_SetSoundFonts) SetSoundFonts = nullptr;
    decltype(&Mix_HaltChannel) HaltChannel = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_Quit) MixQuit = nullptr;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
};

// Loads the mixer once for the process; nullptr (logged each time it is asked) when it
// cannot be loaded, and then every sound is silence.
const MixerCalls* LoadMixer() {
    static std::mutex loading;
    static MixerCalls calls;
    static bool loaded = false;
    std::lock_guard<std::mutex> lock(loading);
    if (loaded) return &calls;
    void* library = dlopen(kMixerLibrary, RTLD_NOW | RTLD_LOCAL);
    const char* failure = library ? nullptr : dlerror();
    const auto find = [&](auto& call, const char* name) {
        if (!library || failure) return;
        call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(library, name));
        if (!call) failure = name;
    };
    find(calls.InitSubSystem, "SDL_InitSubSystem");
    find(calls.GetError, "SDL_GetError");
    find(calls.Quit, "SDL_Quit");
    find(calls.RWFromFile, "SDL_RWFromFile");
    find(calls.RWFromConstMem, "SDL_RWFromConstMem");
    find(calls.OpenAudio, "Mix_OpenAudio");
    find(calls.Init, "Mix_Init");
    find(calls.AllocateChannels, "Mix_AllocateChannels");
    find(calls.SetSoundFonts, "Mix_SetSoundFonts");
    find(calls.HaltChannel, "Mix_HaltChannel");
    find(calls.HaltMusic, "Mix_HaltMusic");
    find(calls.FreeChunk, "Mix_FreeChunk");
    find(calls.FreeMusic, "Mix_FreeMusic");
    find(calls.CloseAudio, "Mix_CloseAudio");
    find(calls.MixQuit, "Mix_Quit");
    find(calls.LoadWAV_RW, "Mix_LoadWAV_RW");
    find(calls.LoadMUS, "Mix_LoadMUS");
    find(calls.PlayMusic, "Mix_PlayMusic");
    find(calls.PlayChannelTimed, "Mix_PlayChannelTimed");
    if (failure) {
        AppLog().Info.Log("SdlSound", std::string("no sound library, silence: ") + failure);
        // The handle stays open: dlclose of a library with threads of its own is unsafe.
        calls = MixerCalls{};
        return nullptr;
    }
    loaded = true;
    return &calls;
}

bool Readable(const std::string& path) { return !path.empty() && access(path.c_str(), R_OK) == 0; }

// The soundfont MIDI is played with: the user's own choice first, then Debian's.
std::string FindSoundFont() {
    if (const char* own = std::getenv("SDL_SOUNDFONTS"); own && *own) return own;
    for (const char* path : kSoundFonts)
        if (Readable(path)) return path;
    return {};
}

std::string AliasFile(std::string_view alias) {
    for (const AliasFiles& a : kAliases) {
        if (alias != a.alias) continue;
        for (const char* name : a.files) {
            for (const char* ext : {".oga", ".ogg", ".wav"}) {
                std::string path = std::string(kThemeFolder) + name + ext;
                if (Readable(path)) return path;
            }
        }
    }
    return {};
}

struct Command {
    enum Kind { Resource, File, StopWave, MidiPlay, MidiClose, Quit };
    explicit Command(Kind k = Quit, int n = 0, bool l = false, std::string p = {}, uint32_t d = 0)
        : kind(k), number(n), loop(l), path(std::move(p)), device(d) {}
    Kind kind;
    int number;
    bool loop;
    std::string path;
    uint32_t device;
};

class SdlSoundPlayer final : public SoundPlayer {
public:
    SdlSoundPlayer() = default;
    ~SdlSoundPlayer() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!started_ || !worker_.joinable()) return;
            queue_.push_back(Command(Command::Quit));
        }
        wake_.notify_one();
        worker_.join();
    }
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    void PlayResource(int number, SoundLoop loop) override {
        Post(Command(Command::Resource, number, loop == SoundLoop::Loop));
    }
    void PlayAlias(std::string_view alias) override {
        std::string path = AliasFile(alias);
        // Without the theme there is nothing to play, and the wave that plays goes on.
        if (path.empty()) return;
        Post(Command(Command::File, 0, false, std::move(path)));
    }
    void PlayFile(const std::string& path, SoundLoop loop) override {
        Post(Command(Command::File, 0, loop == SoundLoop::Loop, path));
    }
    void StopWave() override { PostIfStarted(Command(Command::StopWave)); }

    uint32_t MidiOpen(const std::string& path, uint32_t& device) override {
        if (!Readable(path)) return kMidiFileNotFound;
        if (FindSoundFont().empty()) {
            AppLog().Warning.Log("SdlSound", "no General MIDI soundfont (timgm6mb-soundfont, or set "
                                             "SDL_SOUNDFONTS): MIDI stays silent");
            return kMidiDeviceNotInstalled;
        }
        device = ++lastMidiDevice_;
        std::lock_guard<std::mutex> lock(mutex_);
        midiPaths_[device] = path;
        return 0;
    }
    uint32_t MidiPlay(uint32_t device, WindowHandle /*notify*/) override {
        std::string path;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            auto found = midiPaths_.find(device);
            if (found == midiPaths_.end()) return kMidiFileNotFound;
            path = found->second;
        }
        Post(Command(Command::MidiPlay, 0, false, std::move(path), device));
        return 0;
    }
    void MidiClose(uint32_t device) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            midiPaths_.erase(device);
        }
        PostIfStarted(Command(Command::MidiClose, 0, false, {}, device));
    }

private:
    void Post(Command command) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!started_) {
                started_ = true;
                try {
                    worker_ = std::thread([this] { Run(); });
                } catch (...) {
                    // No thread, no sound; the sky goes on.
                    AppLog().Warning.Log("SdlSound", "no sound thread");
                    return;
                }
            }
            if (!worker_.joinable()) return;
            queue_.push_back(std::move(command));
        }
        wake_.notify_one();
    }

    // Stopping needs no device: before the first sound there is nothing to stop.
    void PostIfStarted(Command command) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!started_ || !worker_.joinable()) return;
            queue_.push_back(std::move(command));
        }
        wake_.notify_one();
    }

    void Run() {
        const bool ready = Open();
        for (;;) {
            Command command;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !queue_.empty(); });
                command = std::move(queue_.front());
                queue_.pop_front();
            }
            if (command.kind == Command::Quit) break;
            if (ready) Handle(command);
        }
        if (ready) Close();
    }

    bool Open() {
        mix_ = LoadMixer();
        if (!mix_) return false;
        if (mix_->InitSubSystem(SDL_INIT_AUDIO) != 0) {
            AppLog().Info.Log("SdlSound", std::string("no sound device, silence: ") + mix_->GetError());
            mix_->Quit();
            return false;
        }
        if (mix_->OpenAudio(22050, AUDIO_S16SYS, 2, 1024) != 0) {
            AppLog().Info.Log("SdlSound", std::string("no sound device, silence: ") + mix_->GetError());
            mix_->Quit();
            return false;
        }
        mix_->Init(MIX_INIT_MID | MIX_INIT_OGG);
        mix_->AllocateChannels(1);
        const std::string font = FindSoundFont();
        if (!font.empty()) mix_->SetSoundFonts(font.c_str());
        AppLog().Info.Log("SdlSound", "sound device open");
        return true;
    }

    void Close() {
        mix_->HaltChannel(-1);
        mix_->HaltMusic();
        FreeWave();
        for (auto& [number, chunk] : resources_) mix_->FreeChunk(chunk);
        resources_.clear();
        if (music_) mix_->FreeMusic(music_);
        music_ = nullptr;
        mix_->CloseAudio();
        mix_->MixQuit();
        // SDL serves nothing else in this program; quitting it also frees what it kept
        // for this thread.
        mix_->Quit();
    }

    void Handle(const Command& c) {
        switch (c.kind) {
            case Command::Resource:
                if (Mix_Chunk* chunk = ResourceChunk(c.number)) StartWave(chunk, c.loop, false);
                else StopWaveChannel();  // an unknown number is silence
                break;
            case Command::File:
                if (Mix_Chunk* chunk = mix_->LoadWAV_RW(mix_->RWFromFile(c.path.c_str(), "rb"), 1)) {
                    StartWave(chunk, c.loop, true);
                } else {
                    AppLog().Warning.Log("SdlSound", "cannot play " + c.path + ": " + mix_->GetError());
                    StopWaveChannel();
                }
                break;
            case Command::StopWave:
                StopWaveChannel();
                break;
            case Command::MidiPlay:
                StopMusic();
                music_ = mix_->LoadMUS(c.path.c_str());
                if (!music_ || mix_->PlayMusic(music_, 0) != 0) {
                    AppLog().Warning.Log("SdlSound", "cannot play MIDI " + c.path + ": " + mix_->GetError());
                    StopMusic();
                    break;
                }
                musicDevice_ = c.device;
                break;
            case Command::MidiClose:
                if (c.device == musicDevice_) StopMusic();
                break;
            case Command::Quit:
                break;
        }
    }

    // The program's sounds stay loaded once played: the cuckoo comes back every hour.
    Mix_Chunk* ResourceChunk(int number) {
        if (auto found = resources_.find(number); found != resources_.end()) return found->second;
        std::optional<std::string_view> bytes = ResourceBytes(ResourceType::Wave, number);
        if (!bytes) return nullptr;
        Mix_Chunk* chunk =
            mix_->LoadWAV_RW(mix_->RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
        if (!chunk) {
            AppLog().Warning.Log("SdlSound resource", number);
            return nullptr;
        }
        resources_[number] = chunk;
        return chunk;
    }

    void StartWave(Mix_Chunk* chunk, bool loop, bool ownChunk) {
        StopWaveChannel();
        if (ownChunk) wave_ = chunk;
        mix_->PlayChannelTimed(kWaveChannel, chunk, loop ? -1 : 0, -1);
    }

    void StopWaveChannel() {
        mix_->HaltChannel(kWaveChannel);
        FreeWave();
    }

    void FreeWave() {
        if (wave_) mix_->FreeChunk(wave_);
        wave_ = nullptr;
    }

    void StopMusic() {
        mix_->HaltMusic();
        if (music_) mix_->FreeMusic(music_);
        music_ = nullptr;
        musicDevice_ = 0;
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Command> queue_;
    std::thread worker_;
    bool started_ = false;
    std::map<uint32_t, std::string> midiPaths_;
    uint32_t lastMidiDevice_ = 0;  // window thread only

    // The worker's alone.
    const MixerCalls* mix_ = nullptr;  // set by a successful Open
    std::map<int, Mix_Chunk*> resources_;
    Mix_Chunk* wave_ = nullptr;  // a file or alias sound, freed when replaced
    Mix_Music* music_ = nullptr;
    uint32_t musicDevice_ = 0;
};

}  // namespace

std::unique_ptr<SoundPlayer> CreatePlatformSoundPlayer() { return std::make_unique<SdlSoundPlayer>(); }

}  // namespace lumi
