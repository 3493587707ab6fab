// The background sound choices, the MIDI device's life and the stored settings, heard
// through the recording player.
#include "media/Sound.h"

#include <gtest/gtest.h>

#include "common/TestSupport.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using Calls = std::vector<std::string>;

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0); }
    void TearDown() override {
        CloseMidi();
        ResetMainIni();
    }
    void Choose(int sound, int loop, const std::string& wav = "", const std::string& mid = "") {
        SoundSettings s;
        s.sound = sound;
        s.playContinuously = loop;
        s.wavFile = wav;
        s.midFile = mid;
        s.Save();
    }

    testing::TempFolder folder;
    RecordingSoundPlayer player;
};

TEST_F(SoundTest, ANewSettingsFileMeansSilenceNoLoopAndNoCuckoo) {
    SoundSettings s;
    s.sound = 124;
    s.cuckoo = 1;
    s.Load();
    EXPECT_EQ(s.sound, 105);
    EXPECT_EQ(s.playContinuously, 0);
    EXPECT_EQ(s.cuckoo, 0);
    EXPECT_EQ(s.wavFile, "");
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"stop wave"}));
}

TEST_F(SoundTest, SavedSettingsComeBackUnderTheirKeys) {
    SoundSettings s;
    s.sound = 191;
    s.playContinuously = 1;
    s.cuckoo = 1;
    s.wavFile = "/music/rain.wav";
    s.midFile = "/music/night.mid";
    s.Save();
    IniFile& ini = MainIni();
    EXPECT_EQ(ini.ReadIntForUser("Sound", "Sound", 0), 191);
    // The time events read the same switch as "cuckoo".
    EXPECT_EQ(ini.ReadIntForUser("sound", "cuckoo", 0), 1);
    EXPECT_EQ(ini.ReadIntForUser("Sound", "PlayContinuously", 0), 1);
    SoundSettings back;
    back.Load();
    EXPECT_EQ(back.wavFile, "/music/rain.wav");
    EXPECT_EQ(back.midFile, "/music/night.mid");
    EXPECT_EQ(back.sound, 191);
}

TEST_F(SoundTest, StoredPathsAreCutToTheirBuffer) {
    MainIni().WriteStringForUser("Sound", "WavFile", std::string(400, 'w'));
    SoundSettings s;
    s.Load();
    // A 300-byte buffer: the lookup has room for 299, so 298 characters arrive.
    EXPECT_EQ(s.wavFile.size(), 298u);
}

TEST_F(SoundTest, BuiltInSoundsPlayOnceOrLoopAsChosen) {
    Choose(124, 1);
    SoundSettings s;
    s.Play(nullptr);
    Choose(123, 0);
    s.Play(nullptr);
    // Any other number is taken as a built-in sound; the player decides it is silence.
    Choose(4242, 0);
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"resource 124 loop", "resource 123", "resource 4242"}));
}

TEST_F(SoundTest, TheWavFilePlaysFromDiskAndAnEmptyPathIsSilence) {
    Choose(145, 1, "/music/rain.wav");
    SoundSettings s;
    s.Play(nullptr);
    Choose(145, 0, "");
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"file /music/rain.wav loop", "stop wave"}));
}

TEST_F(SoundTest, AMidiChoiceStopsTheLoopAndPlaysTheFileOnce) {
    Choose(124, 1, "", "/music/night.mid");
    SoundSettings s;
    s.Play(nullptr);
    Choose(144, 1, "", "/music/night.mid");
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"resource 124 loop", "stop wave", "midi open /music/night.mid", "midi port 1",
                                   "midi play 1"}));
    // The next choice closes the device before anything else plays.
    player.calls.clear();
    Choose(105, 0);
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"midi close 1", "stop wave"}));
    // Closed once is forgotten: nothing more to close.
    player.calls.clear();
    s.Stop();
    EXPECT_EQ(player.calls, (Calls{"stop wave"}));
}

TEST_F(SoundTest, AMidiDeviceThatFailsIsClosedAndItsErrorReturned) {
    player.midiPortError = 277;
    EXPECT_EQ(PlayMidiFile(nullptr, "/music/a.mid"), 277u);
    EXPECT_EQ(player.calls, (Calls{"midi open /music/a.mid", "midi port 1", "midi close 1"}));

    player.calls.clear();
    player.midiPortError = 0;
    player.midiPlayError = 278;
    EXPECT_EQ(PlayMidiFile(nullptr, "/music/a.mid"), 278u);
    EXPECT_EQ(player.calls, (Calls{"midi open /music/a.mid", "midi port 2", "midi play 2", "midi close 2"}));

    // A file that does not open leaves no device to close.
    player.calls.clear();
    player.midiOpenError = 275;
    EXPECT_EQ(PlayMidiFile(nullptr, "/music/missing.mid"), 275u);
    CloseMidi();
    EXPECT_EQ(player.calls, (Calls{"midi open /music/missing.mid"}));

    // Play ignores the error: silence, nothing reported.
    player.calls.clear();
    Choose(144, 0, "", "/music/missing.mid");
    SoundSettings s;
    s.Play(nullptr);
    EXPECT_EQ(player.calls, (Calls{"stop wave", "midi open /music/missing.mid"}));
}

TEST_F(SoundTest, StopClosesMidiThenStopsTheWave) {
    ASSERT_EQ(PlayMidiFile(nullptr, "/music/a.mid"), 0u);
    player.calls.clear();
    SoundSettings s;
    s.Stop();
    EXPECT_EQ(player.calls, (Calls{"midi close 1", "stop wave"}));
}

TEST_F(SoundTest, TheProgramEndSendsTheTwoCommandStrings) {
    EndProgramSound();
    EXPECT_EQ(player.calls, (Calls{"mci stop  MySound", "mci close  MySound"}));
}

TEST(SoundWithoutPlayer, EverythingIsSilentAndMidiReportsNoDevice) {
    SetSoundPlayer(nullptr);
    PlayBuiltInSound(nullptr, 110);
    StopWaveSound();
    EXPECT_EQ(PlayMidiFile(nullptr, "/music/a.mid"), kMidiDeviceNotInstalled);
    CloseMidi();
    EndProgramSound();
}

}  // namespace
}  // namespace lumi
