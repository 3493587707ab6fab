// Built-in sound effects, played by resource number through one replaceable player.
// Only the narrow part other modules call today; the full sound module grows from here.
#pragma once

#include <atomic>
#include <vector>

#include "platform/MessageBox.h"

namespace lumi {

enum class SoundLoop { Once, Loop };

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts built-in sound `number` asynchronously in place of any wave sound that plays.
    virtual void PlayResource(int number, SoundLoop loop) = 0;
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

    std::vector<Played> played;
};

}  // namespace lumi
