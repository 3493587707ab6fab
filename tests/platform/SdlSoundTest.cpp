// The Linux player heard through SDL's disk driver, which writes what the sound card
// would play (16-bit stereo at 22,050 Hz here) to a file as the time passes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/TestSupport.h"
#include "platform/SoundPlayer.h"

namespace lumi {
namespace {

constexpr size_t kBytesPerSecond = 22050 * 2 * 2;

class SdlSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        out = folder.File("out.raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
        player = CreatePlatformSoundPlayer();
    }
    void TearDown() override {
        player.reset();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // Lets the driver write until the file holds `seconds` of sound (or a generous limit
    // passes on a slow machine; the checks then fail on what is missing).
    void PlayFor(double seconds) {
        const size_t wanted = static_cast<size_t>(seconds * kBytesPerSecond);
        for (int i = 0; i < 1500 && Size() < wanted; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    size_t Size() const {
        std::error_code ec;
        const auto size = std::filesystem::file_size(out, ec);
        return ec ? 0 : static_cast<size_t>(size);
    }
    // The left channel's RMS over a span of the recording, in sample units.
    double Rms(double from, double to) {
        const std::string bytes = testing::ReadFile(out);
        size_t a = static_cast<size_t>(from * 22050) * 4, b = static_cast<size_t>(to * 22050) * 4;
        b = std::min(b, bytes.size() / 4 * 4);
        double sum = 0;
        size_t n = 0;
        for (size_t i = a; i + 1 < b; i += 4, ++n) {
            const int16_t v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8);
            sum += double(v) * v;
        }
        return n ? std::sqrt(sum / n) : -1;
    }
    // The loudest half second of the recording (a slow start may come first).
    double LoudestHalfSecond() {
        const double seconds = double(Size()) / kBytesPerSecond;
        double loudest = 0;
        for (double at = 0; at + 0.5 <= seconds; at += 0.25) loudest = std::max(loudest, Rms(at, at + 0.5));
        return loudest;
    }

    testing::TempFolder folder;
    std::string out;
    std::unique_ptr<SoundPlayer> player;
};

TEST_F(SdlSoundTest, NothingPlayedOpensNoDevice) {
    player->StopWave();
    player->MidiClose(1);
    player.reset();
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The "Ooops!" sound lasts 0.7 s; looped it still sounds at 1.2 to 1.8 s, and after the
// stop the card hears silence.
TEST_F(SdlSoundTest, ABuiltInSoundLoopsUntilStopped) {
    player->PlayResource(152, SoundLoop::Loop);
    PlayFor(2.0);
    player->StopWave();
    const double stopped = double(Size()) / kBytesPerSecond;
    PlayFor(stopped + 0.8);
    player.reset();
    EXPECT_GT(Rms(1.2, 1.8), 500.0);
    EXPECT_EQ(Rms(stopped + 0.4, stopped + 0.8), 0.0);
}

TEST_F(SdlSoundTest, AOneShotSoundEndsByItself) {
    player->PlayResource(152, SoundLoop::Once);
    PlayFor(2.5);
    player.reset();
    EXPECT_GT(Rms(0.0, 1.0), 300.0);
    EXPECT_EQ(Rms(1.6, 2.4), 0.0);
}

TEST_F(SdlSoundTest, ANewWaveSoundReplacesTheOneThatPlays) {
    player->PlayResource(124, SoundLoop::Loop);
    PlayFor(0.5);
    player->PlayResource(152, SoundLoop::Once);  // 0.7 s, after which nothing is left
    const double replaced = double(Size()) / kBytesPerSecond;
    PlayFor(replaced + 2.0);
    player.reset();
    EXPECT_EQ(Rms(replaced + 1.4, replaced + 2.0), 0.0);
}

TEST_F(SdlSoundTest, UnknownNumbersAndMissingFilesAreSilence) {
    player->PlayResource(4242, SoundLoop::Loop);
    player->PlayFile(folder.File("missing.wav"), SoundLoop::Loop);
    uint32_t device = 0;
    EXPECT_NE(player->MidiOpen(folder.File("missing.mid"), device), 0u);
    PlayFor(1.0);
    player.reset();
    EXPECT_EQ(Rms(0.0, 1.0), 0.0);
}

// A tiny General MIDI file: a C major chord on the piano for a second.
std::string ChordMidi() {
    std::string track;
    auto add = [&](std::initializer_list<int> bytes) {
        for (int b : bytes) track.push_back(static_cast<char>(b));
    };
    add({0x00, 0xC0, 0x00});  // piano
    for (int note : {60, 64, 67}) add({0x00, 0x90, note, 0x60});
    add({0x83, 0x60, 0x80, 60, 0});  // 480 ticks later
    add({0x00, 0x80, 64, 0, 0x00, 0x80, 67, 0});
    add({0x00, 0xFF, 0x2F, 0x00});
    std::string file("MThd\0\0\0\x06\0\0\0\x01\x01\xE0", 14);  // format 0, one track, 480 per beat
    file += "MTrk";
    for (int shift : {24, 16, 8, 0}) file.push_back(static_cast<char>(track.size() >> shift & 0xFF));
    return file + track;
}

TEST_F(SdlSoundTest, AMidiFilePlaysThroughTheSoundFont) {
    if (access("/usr/share/sounds/sf2/TimGM6mb.sf2", R_OK) != 0 &&
        access("/usr/share/sounds/sf2/default-GM.sf2", R_OK) != 0)
        GTEST_SKIP() << "no General MIDI soundfont installed";
    const std::string midi = folder.File("chord.mid");
    testing::WriteFile(midi, ChordMidi());
    uint32_t device = 0;
    ASSERT_EQ(player->MidiOpen(midi, device), 0u);
    EXPECT_NE(device, 0u);
    EXPECT_EQ(player->MidiStatusPort(device), 0u);
    EXPECT_EQ(player->MidiPlay(device, nullptr), 0u);
    // Loading the soundfont takes a while on a busy machine; the chord follows it.
    PlayFor(3.0);
    player->MidiClose(device);
    player.reset();
    EXPECT_GT(LoudestHalfSecond(), 100.0);
}

TEST_F(SdlSoundTest, TheExitAliasPlaysTheThemesLogoutSound) {
    if (access("/usr/share/sounds/freedesktop/stereo/desktop-logout.oga", R_OK) != 0 &&
        access("/usr/share/sounds/freedesktop/stereo/service-logout.oga", R_OK) != 0)
        GTEST_SKIP() << "the freedesktop sound theme is not installed";
    player->PlayAlias("SystemExit");
    PlayFor(2.0);
    player.reset();
    EXPECT_GT(LoudestHalfSecond(), 100.0);
}

}  // namespace
}  // namespace lumi
