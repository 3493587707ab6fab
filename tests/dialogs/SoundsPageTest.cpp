#include "dialogs/SoundsPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "media/Sound.h"

namespace lumi {
namespace {

using dialogs::SoundsPage;
using testing::FakeControls;

class SoundsPageTest : public testing::DialogSettingsTest {
protected:
    std::string Stored(const char* key) { return MainIni().ReadStringForUser("Sound", key, "-"); }
    int CheckedRadios() {
        int n = 0;
        for (int id = IDC_SOUND_FIRST; id <= IDC_SOUND_LAST; ++id) n += controls_.Checked(id) ? 1 : 0;
        return n;
    }

    RecordingSoundPlayer player_;
    FakeControls controls_;
    SoundsPage page_;
};

TEST_F(SoundsPageTest, RadioButtonsStandForTheChoicesInTheirOrder) {
    const int values[] = {105, 124, 123, 145, 144, 106, 107, 168, 191};
    int i = 0;
    for (const auto& choice : dialogs::kSoundChoices) {
        EXPECT_EQ(choice.id, IDC_SOUND_FIRST + i);
        EXPECT_EQ(choice.value, values[i]);
        ++i;
    }
    EXPECT_EQ(i, 9);
    EXPECT_STREQ(dialogs::kSoundChoices[7].label, "Sleep Reminder. ( The opposite of an alarm clock )");
}

TEST_F(SoundsPageTest, ANewFileOpensOnSilenceAndApplyStoresEveryControl) {
    page_.Open(controls_);
    EXPECT_TRUE(controls_.Checked(IDC_SOUND_SILENCE));
    EXPECT_EQ(CheckedRadios(), 1);
    EXPECT_FALSE(controls_.Checked(IDC_SOUND_CONTINUOUS));
    EXPECT_FALSE(controls_.Checked(IDC_SOUND_CUCKOO));
    EXPECT_EQ(controls_.Text(IDC_SOUND_WAV_PATH), "");

    controls_.SetChecked(IDC_SOUND_SILENCE, false);
    controls_.SetChecked(IDC_SOUND_WAV, true);
    controls_.Type(page_, IDC_SOUND_WAV_PATH, "/music/rain.wav");
    controls_.Type(page_, IDC_SOUND_MIDI_PATH, "/music/waltz.mid");
    controls_.Toggle(page_, IDC_SOUND_CONTINUOUS);
    controls_.Toggle(page_, IDC_SOUND_CUCKOO);
    page_.Apply(controls_);
    EXPECT_EQ(Stored("Sound"), "145");
    EXPECT_EQ(Stored("WavFile"), "/music/rain.wav");
    EXPECT_EQ(Stored("MidFile"), "/music/waltz.mid");
    EXPECT_EQ(Stored("PlayContinuously"), "1");
    EXPECT_EQ(Stored("Cuckoo"), "1");

    FakeControls reopened;
    SoundsPage again;
    again.Open(reopened);
    EXPECT_TRUE(reopened.Checked(IDC_SOUND_WAV));
    EXPECT_FALSE(reopened.Checked(IDC_SOUND_SILENCE));
    EXPECT_EQ(reopened.Text(IDC_SOUND_MIDI_PATH), "/music/waltz.mid");
    EXPECT_TRUE(reopened.Checked(IDC_SOUND_CONTINUOUS));
    EXPECT_TRUE(reopened.Checked(IDC_SOUND_CUCKOO));
    EXPECT_TRUE(player_.calls.empty());
}

TEST_F(SoundsPageTest, AClickedSoundIsStoredThenHeardAndLeavingThePageStopsIt) {
    page_.Open(controls_);
    controls_.Toggle(page_, IDC_SOUND_CONTINUOUS);
    controls_.Toggle(page_, IDC_SOUND_LULLABY);
    EXPECT_TRUE(controls_.Checked(IDC_SOUND_LULLABY));
    EXPECT_EQ(CheckedRadios(), 1);
    EXPECT_EQ(Stored("Sound"), "124");
    EXPECT_EQ(Stored("PlayContinuously"), "1");
    ASSERT_FALSE(player_.calls.empty());
    EXPECT_EQ(player_.calls.back(), "resource 124 loop");

    player_.calls.clear();
    page_.Leave(controls_);
    EXPECT_EQ(player_.calls, std::vector<std::string>{"stop wave"});
}

TEST_F(SoundsPageTest, LeavingAfterAMidiFileClosesTheDevice) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_SOUND_MIDI_PATH, "/music/waltz.mid");
    controls_.Toggle(page_, IDC_SOUND_MIDI);
    EXPECT_EQ(player_.calls.back(), "midi play 1");
    page_.Leave(controls_);
    EXPECT_EQ(player_.calls.back(), "stop wave");
    EXPECT_NE(std::find(player_.calls.begin(), player_.calls.end(), "midi close 1"), player_.calls.end());
}

TEST_F(SoundsPageTest, BrowseFillsThePathWithTheChosenFileOnly) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_SOUND_WAV_PATH, "/old.wav");
    controls_.chosenFile = "/music/sea.wav";
    controls_.Click(page_, IDC_SOUND_WAV_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_SOUND_WAV_PATH), "/music/sea.wav");
    EXPECT_EQ(controls_.fileChooserStart, "/old.wav");
    EXPECT_EQ(controls_.fileChooserTitles.back(), "Select your favorite audio file");
    EXPECT_EQ(controls_.lastFilters.front().pattern, "*.WAV");

    controls_.chosenFile.reset();
    controls_.Click(page_, IDC_SOUND_MIDI_BROWSE);
    EXPECT_EQ(controls_.lastFilters.front().pattern, "*.MID");
    EXPECT_EQ(controls_.Text(IDC_SOUND_MIDI_PATH), "");
    EXPECT_EQ(Stored("WavFile"), "-");  // nothing is stored before Apply
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(SoundsPageTest, APathIsStoredOnlyWhenTheSoundSettingsReadItBackWhole) {
    // The settings read a path with room for 299 bytes: 298 characters come back.
    const std::string longest = "/" + std::string(293, 'w') + ".wav";
    const std::string tooLong = "/" + std::string(294, 'w') + ".wav";
    page_.Open(controls_);
    controls_.chosenFile = tooLong;
    controls_.Click(page_, IDC_SOUND_WAV_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_SOUND_WAV_PATH), "");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find("too long"), std::string::npos);

    controls_.chosenFile = longest;
    controls_.Click(page_, IDC_SOUND_WAV_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_SOUND_WAV_PATH), longest);
    page_.Apply(controls_);
    SoundSettings read;
    read.Load();
    EXPECT_EQ(read.wavFile, longest);

    // Typed by hand, a longer path is stored as far as it comes back.
    controls_.Type(page_, IDC_SOUND_MIDI_PATH, "C:\\" + std::string(296, 'm'));
    page_.Apply(controls_);
    read.Load();
    EXPECT_EQ(read.midFile, "C:\\" + std::string(294, 'm'));
    EXPECT_EQ(MainIni().ReadStringForUser("Sound", "MidFile", ""), read.midFile);
    EXPECT_EQ(read.wavFile, longest);
}

TEST_F(SoundsPageTest, AChoiceNoButtonStandsForSurvivesApply) {
    MainIni().WriteUIntForUser("Sound", "Sound", 110);
    page_.Open(controls_);
    EXPECT_EQ(CheckedRadios(), 0);
    page_.Apply(controls_);
    EXPECT_EQ(Stored("Sound"), "110");
}

}  // namespace
}  // namespace lumi
