// The numbered resources the program carries: present, of the stated size and depth,
// and listed for the Windows build and in the credits.
#include "media/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <set>
#include <sstream>
#include <vector>

#include "common/TestSupport.h"
#include "gfx/BmpReader.h"

namespace lumi {
namespace {

struct Symbol {
    int id;
    int width;
    int height;
    bool lastColumnAndRowUnused;  // the message scan stops one pixel short
};

const Symbol kSymbols[] = {
    {131, 66, 56, true},   // heart
    {132, 36, 41, true},   // happy face
    {190, 42, 32, true},   // peace sign
    {179, 55, 55, false},  // star
    {178, 55, 55, false},  // Christmas tree
};

TEST(Resources, SymbolsHaveTheirSizeAndAreOneBitPictures) {
    for (const Symbol& s : kSymbols) {
        std::optional<std::string_view> bytes = ResourceBytes(ResourceType::Bitmap, s.id);
        ASSERT_TRUE(bytes) << s.id;
        // The bit depth sits 14 bytes into the info header, wherever that starts.
        size_t header = bytes->substr(0, 2) == "BM" ? 14 : 0;
        ASSERT_GT(bytes->size(), header + 16);
        EXPECT_EQ(static_cast<unsigned char>((*bytes)[header + 14]), 1) << s.id;

        std::optional<gfx::Image> picture = LoadBitmapResource(s.id);
        ASSERT_TRUE(picture) << s.id;
        EXPECT_EQ(picture->Width(), s.width) << s.id;
        EXPECT_EQ(picture->Height(), s.height) << s.id;
        int lit = 0;
        for (uint32_t c : picture->Pixels()) {
            ASSERT_TRUE(c == 0 || c == 0xFFFFFF) << s.id;
            lit += c != 0;
        }
        // A real shape, neither empty nor a filled block.
        EXPECT_GT(lit, s.width * s.height / 8) << s.id;
        EXPECT_LT(lit, s.width * s.height * 3 / 4) << s.id;
        if (s.lastColumnAndRowUnused) {
            for (int y = 0; y < s.height; ++y) EXPECT_EQ(picture->Pixel(s.width - 1, y), 0u) << s.id;
            for (int x = 0; x < s.width; ++x) EXPECT_EQ(picture->Pixel(x, s.height - 1), 0u) << s.id;
        }
    }
}

// The flying pictures, the category pictures and the settings pages' pictures: colour
// pictures on black (they are copied onto the night sky as they are), 60 to 130 pixels.
TEST(Resources, PicturesAreColourPicturesOnBlackOfAFlyingSize) {
    const int kPictures[] = {113, 118, 120, 121, 122, 123, 127, 128, 138, 139, 141, 142, 143, 145,
                             149, 153, 154, 155, 156, 157, 158, 160, 164, 189, 192, 195, 206};
    for (int id : kPictures) {
        std::optional<std::string_view> bytes = ResourceBytes(ResourceType::Bitmap, id);
        ASSERT_TRUE(bytes) << id;
        const size_t header = bytes->substr(0, 2) == "BM" ? 14 : 0;
        ASSERT_GT(bytes->size(), header + 16);
        EXPECT_EQ(static_cast<unsigned char>((*bytes)[header + 14]), 24) << id;

        std::optional<gfx::Image> picture = LoadBitmapResource(id);
        ASSERT_TRUE(picture) << id;
        const int longer = std::max(picture->Width(), picture->Height());
        EXPECT_GE(longer, 60) << id;
        EXPECT_LE(longer, 130) << id;
        const int w = picture->Width() - 1, h = picture->Height() - 1;
        for (auto [x, y] : {std::pair{0, 0}, {w, 0}, {0, h}, {w, h}}) EXPECT_EQ(picture->Pixel(x, y), 0u) << id;
        int lit = 0;
        std::set<uint32_t> colours;
        for (uint32_t c : picture->Pixels()) {
            lit += c != 0;
            colours.insert(c);
        }
        // A drawing, neither a speck nor a filled block, shaded rather than flat.
        EXPECT_GT(lit, picture->Width() * picture->Height() / 8) << id;
        EXPECT_LT(lit, picture->Width() * picture->Height() * 99 / 100) << id;
        EXPECT_GT(colours.size(), 200u) << id;
    }
}

TEST(Resources, UnknownNumbersAndWrongTypesFindNothing) {
    EXPECT_FALSE(ResourceBytes(ResourceType::Bitmap, 0));
    EXPECT_FALSE(ResourceBytes(ResourceType::Bitmap, -131));
    EXPECT_FALSE(ResourceBytes(ResourceType::Bitmap, 99999));
    EXPECT_FALSE(ResourceBytes(ResourceType::Wave, 131));
    EXPECT_FALSE(LoadBitmapResource(99999));
}

TEST(Resources, EmbeddedBytesAreTheSourceFiles) {
    const std::string folder = testing::SourceDir() + "/resources/bitmaps/";
    std::optional<gfx::Image> fromFile = gfx::ReadBmpFile(folder + "131-heart.bmp");
    std::optional<gfx::Image> embedded = LoadBitmapResource(131);
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(embedded);
    EXPECT_EQ(*fromFile, *embedded);
}

// A WAV file read here on its own terms: the RIFF chunks, the format, the samples.
struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

uint32_t Le(std::string_view b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::optional<Wave> ParseWave(std::string_view b) {
    if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") return std::nullopt;
    if (Le(b, 4, 4) + 8 != b.size()) return std::nullopt;
    Wave w;
    bool data = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string_view id = b.substr(at, 4);
        const size_t size = Le(b, at + 4, 4);
        if (at + 8 + size > b.size()) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            w.format = static_cast<int>(Le(b, at + 8, 2));
            w.channels = static_cast<int>(Le(b, at + 10, 2));
            w.rate = static_cast<int>(Le(b, at + 12, 4));
            w.bits = static_cast<int>(Le(b, at + 22, 2));
        } else if (id == "data") {
            for (size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<int16_t>(Le(b, at + 8 + i, 2)));
            data = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!data) return std::nullopt;
    return w;
}

double Decibels(double amplitude) { return 20 * std::log10(amplitude / 32768.0); }

double RmsDb(const std::vector<int16_t>& s, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count; ++i) sum += double(s[i]) * s[i];
    return Decibels(std::sqrt(sum / count));
}

struct Sound {
    int id;
    bool mood;  // plays in a loop behind the sky
};

// Every number any part of the program plays; 105, 144 and 145 are not sounds.
const Sound kSounds[] = {{124, true},  {168, true},  {123, true},  {106, true},  {107, true},
                         {191, true},  {110, false}, {143, false}, {130, false}, {140, false},
                         {187, false}, {152, false}, {188, false}, {183, false}};

TEST(Resources, EverySoundIsMonoPcmAtTheCommonLevelBelowFullScale) {
    double quietest = 0, loudest = -100;
    size_t total = 0;
    for (const Sound& s : kSounds) {
        std::optional<std::string_view> bytes = ResourceBytes(ResourceType::Wave, s.id);
        ASSERT_TRUE(bytes) << s.id;
        total += bytes->size();
        std::optional<Wave> w = ParseWave(*bytes);
        ASSERT_TRUE(w) << s.id;
        EXPECT_EQ(w->format, 1) << s.id;
        EXPECT_EQ(w->channels, 1) << s.id;
        EXPECT_EQ(w->rate, 22050) << s.id;
        EXPECT_EQ(w->bits, 16) << s.id;
        const double seconds = w->samples.size() / 22050.0;
        if (s.mood) {
            EXPECT_GE(seconds, 10.0) << s.id;
            EXPECT_LE(seconds, 30.0) << s.id;
        } else {
            EXPECT_GT(seconds, 0.3) << s.id;
            EXPECT_LT(seconds, 5.0) << s.id;
        }
        int peak = 0;
        for (int16_t v : w->samples) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LT(Decibels(peak), -1.0) << s.id;
        const double rms = RmsDb(w->samples, 0, w->samples.size());
        quietest = std::min(quietest, rms);
        loudest = std::max(loudest, rms);
        EXPECT_GT(rms, -26.0) << s.id;
    }
    EXPECT_LE(loudest - quietest, 3.0);
    EXPECT_LE(total, 6u * 1024 * 1024);
    EXPECT_FALSE(ResourceBytes(ResourceType::Wave, 105));
    EXPECT_FALSE(ResourceBytes(ResourceType::Wave, 144));
    EXPECT_FALSE(ResourceBytes(ResourceType::Wave, 145));
}

// 123 is the flying saucer as a bitmap and the sea as a sound: the type picks which.
TEST(Resources, OneNumberCanBeABitmapAndASound) {
    std::optional<std::string_view> sea = ResourceBytes(ResourceType::Wave, 123);
    ASSERT_TRUE(sea);
    EXPECT_EQ(sea->substr(0, 4), "RIFF");
    if (std::optional<std::string_view> saucer = ResourceBytes(ResourceType::Bitmap, 123)) {
        EXPECT_NE(saucer->substr(0, 4), "RIFF");
    }
}

// Played in a loop, the last sample leads into the first: the step across the seam is no
// bigger than the ordinary steps of the sound.
TEST(Resources, MoodSoundsLoopWithoutAClick) {
    for (const Sound& s : kSounds) {
        if (!s.mood) continue;
        std::optional<Wave> w = ParseWave(*ResourceBytes(ResourceType::Wave, s.id));
        ASSERT_TRUE(w) << s.id;
        const std::vector<int16_t>& x = w->samples;
        std::vector<int> steps;
        for (size_t i = 1; i < x.size(); ++i) steps.push_back(std::abs(int(x[i]) - int(x[i - 1])));
        std::sort(steps.begin(), steps.end());
        const int usual = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(int(x.front()) - int(x.back())), usual) << s.id;
        // Loudness in windows of 0.1 s: a note may begin at the seam, as anywhere in the
        // tune, but the seam changes it no more than the sound's own biggest change.
        const size_t tenth = 2205;
        double biggest = 0;
        for (size_t at = tenth; at + 2 * tenth <= x.size(); at += tenth)
            biggest = std::max(biggest, std::abs(RmsDb(x, at, tenth) - RmsDb(x, at - tenth, tenth)));
        EXPECT_LE(std::abs(RmsDb(x, x.size() - tenth, tenth) - RmsDb(x, 0, tenth)), biggest) << s.id;
    }
}

// Every numbered file must reach the Windows build too, under the same number, and
// have its origin recorded.
TEST(Resources, EveryFileIsInTheWindowsResourceScriptAndTheCredits) {
    const std::string root = testing::SourceDir() + "/resources/";
    const std::string script = testing::ReadFile(root + "win32/lumivane.rc");
    const std::string credits = testing::ReadFile(root + "CREDITS");
    ASSERT_FALSE(script.empty());
    std::set<std::string> listed;
    // Lines of the form: <number> BITMAP|WAVE|ICON "../<folder>/<number>-<name>.<ext>"
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string number, kind, quoted;
        if (!(words >> number >> kind >> quoted)) continue;
        if (kind != "BITMAP" && kind != "WAVE" && kind != "ICON") continue;
        ASSERT_GT(quoted.size(), 5u) << line;
        ASSERT_EQ(quoted.substr(0, 4), "\"../") << line;
        const std::string path = quoted.substr(4, quoted.size() - 5);
        listed.insert(path);
        EXPECT_EQ(path.substr(path.find('/') + 1, number.size() + 1), number + "-")
            << path << " is listed under another number";
        EXPECT_TRUE(std::filesystem::exists(root + path)) << path;
    }
    for (const char* kind : {"bitmaps", "sounds", "icon"}) {
        if (!std::filesystem::exists(root + kind)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(root + kind)) {
            const std::string path = std::string(kind) + "/" + entry.path().filename().string();
            EXPECT_TRUE(listed.count(path)) << path << " is missing from win32/lumivane.rc";
            EXPECT_NE(credits.find(path), std::string::npos) << path << " is missing from CREDITS";
        }
    }
}

}  // namespace
}  // namespace lumi
