// Built-in sound effects, played by resource number through one replaceable player.
// Only the narrow part other modules call today; the full sound module grows from here.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"

namespace lumi {

enum class SoundLoop { Once, Loop };

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts built-in sound `number` asynchronously in place of any wave sound that plays.
    virtual void PlayResource(int number, SoundLoop loop) = 0;
    // Starts one of the system's named event sounds ("MailBeep") without waiting. Players
    // that know no such sounds stay silent.
    virtual void PlayAlias(std::string_view /*alias*/) {}
};

namespace detail {
// Nothing installed means silence: the saver must run on machines with no sound at all.
inline std::atomic<SoundPlayer*> installedSoundPlayer{nullptr};
}  // namespace detail

// Installs the player every effect goes through; nullptr returns to silence. Caller owns it.
inline void SetSoundPlayer(SoundPlayer* player) {
    detail::installedSoundPlayer.store(player, std::memory_order_release);
}

inline void PlayBuiltInSound(WindowHandle /*window*/, int number, SoundLoop loop = SoundLoop::Once) {
    if (SoundPlayer* p = detail::installedSoundPlayer.load(std::memory_order_acquire)) p->PlayResource(number, loop);
}

inline void PlaySystemSound(std::string_view alias) {
    if (SoundPlayer* p = detail::installedSoundPlayer.load(std::memory_order_acquire)) p->PlayAlias(alias);
}

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
    void PlayResource(int number, SoundLoop loop) override { played.push_back({number, loop}); }
    void PlayAlias(std::string_view alias) override { aliases.emplace_back(alias); }

    std::vector<Played> played;
    std::vector<std::string> aliases;
};

}  // namespace lumi
