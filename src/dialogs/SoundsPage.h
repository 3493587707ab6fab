// The "Sounds" page (2006): the background sound, its two files, looping and the cuckoo.
#pragma once

#include "dialogs/Controls.h"
#include "media/Sound.h"

namespace lumi::dialogs {

// One radio button of the page: its control, the sound choice it stands for, and the
// label it carries (the templates hold the same texts; a front-end that builds its own
// widgets takes them from here).
struct SoundChoice {
    int id;
    int value;
    const char* label;
};

constexpr SoundChoice kSoundChoices[] = {
    {1000, SoundSettings::kSilence, "The sound of silence. It rests my ears."},
    {1001, 124, "A lullaby for my insomnia."},
    {1002, 123, "I love the sea. It takes me away."},
    {1003, SoundSettings::kWavFile, "My favorite WAV file:"},
    {1004, SoundSettings::kMidiFile, "My favorite MIDI file:"},
    {1005, 106, "I like birds. ( Well cooked )"},
    {1006, 107, "Tonight I feel sad. But this is different from being sad."},
    {1007, 168, "Sleep Reminder. ( The opposite of an alarm clock )"},
    {1008, 191, "\"Sleeping with the one I love\" melody."},
};
constexpr const char* kPlayContinuouslyLabel = "Play continuously (works only with the build-in sounds)";
constexpr const char* kCuckooLabel = "Cuckoo on the hour";

class SoundsPage : public DialogLogic {
public:
    void Open(Controls& controls) override;
    void Command(Controls& controls, int id) override;
    void Apply(Controls& controls) override;
    void Leave(Controls& controls) override;

private:
    // The controls into the settings; a choice no radio button stands for is kept.
    void Take(const Controls& controls);
    void Browse(Controls& controls, int edit, const char* kind);

    SoundSettings settings_;
    // Apply and Leave act only on a page that was filled: empty boxes are no choice.
    bool opened_ = false;
};

}  // namespace lumi::dialogs
