// The numbered resources the program carries: present, of the stated size and depth,
// and listed for the Windows build and in the credits.
#include "media/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

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
