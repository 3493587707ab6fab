// The wallpaper changer's logic over a recording platform: when it runs at all, the
// file it picks and the lines it logs, what a failure at each stage leaves behind, the
// bitmap file's exact bytes, and the folder chooser's capacity rule.
#include "media/Wallpaper.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <set>

#include "common/TestSupport.h"
#include "platform/Wallpaper.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Random.h"

namespace lumi {
namespace {

gfx::Image Solid(int w, int h, uint32_t colour) { return *gfx::Image::Create(w, h, colour); }

class RecordingWallpapers : public WallpaperService {
public:
    RecordingWallpapers() { SetWallpapers(this); }
    ~RecordingWallpapers() override { SetWallpapers(nullptr); }

    std::optional<std::vector<std::string>> ListFiles(const std::string& folder, const std::string& patterns) override {
        listed.push_back(folder + "|" + patterns);
        return files;
    }
    PictureLoad LoadPicture(const std::string& path) override {
        loaded.push_back(path);
        PictureLoad r;
        if (decodable) r.picture = Solid(4, 3, 0x123456);
        else r.why = "the file ends before the picture does";
        return r;
    }
    std::string NextWallpaperFile(std::string& why) override {
        if (output.empty()) why = "no cache folder";
        return output;
    }
    FileWrite WritePrivateFile(const std::string& path, const uint8_t* data, size_t size) override {
        written[path] = std::vector<uint8_t>(data, data + size);
        return writeResult;
    }
    bool SetWallpaper(const std::string& file, const gfx::Image&, std::string& why) override {
        set.push_back(file);
        if (!setWorks) why = "gsettings failed";
        return setWorks;
    }
    bool ChooseFolder(WindowHandle, const std::string& title, std::string& folder) override {
        chooserTitle = title;
        folder = chosen;
        return !chosen.empty();
    }

    std::optional<std::vector<std::string>> files = std::vector<std::string>{"a.jpg", "b.JPG", "c.jpeg"};
    bool decodable = true;
    std::string output = "/cache/wallpaper-1.bmp";
    FileWrite writeResult = FileWrite::Written;
    bool setWorks = true;
    std::string chosen;
    std::vector<std::string> listed, loaded, set;
    std::map<std::string, std::vector<uint8_t>> written;
    std::string chooserTitle;
};

class WallpaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        SeedRandom(7);
        SetWallpaperChanges(WallpaperChanges::On);
    }
    void TearDown() override {
        SetWallpaperChanges(WallpaperChanges::Off);
        ResetRandomSeed();
        ResetMainIni();
    }
    void Enable(const std::string& enabled, const std::string& path) {
        MainIni().WriteString("WallPaper", "Enabled", enabled);
        MainIni().WriteString("WallPaper", "path", path);
    }
    std::string Log() const { return testing::ReadFile(folder.File("log.txt")); }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
    RecordingWallpapers platform;
};

TEST_F(WallpaperTest, RunsOnlyWhenEnabledWithAFolderInASkyAtLeast400WideOfTheSaverItself) {
    ChangeWallpaperAtStart(1024);  // nothing stored: off
    Enable("1", "");
    ChangeWallpaperAtStart(1024);  // no folder
    Enable("0", "/pics");
    ChangeWallpaperAtStart(1024);
    Enable("1", "/pics");
    ChangeWallpaperAtStart(399);  // the small preview
    SetWallpaperChanges(WallpaperChanges::Off);
    ChangeWallpaperAtStart(1024);  // a snapshot or a plain window
    EXPECT_TRUE(platform.listed.empty());

    SetWallpaperChanges(WallpaperChanges::On);
    ChangeWallpaperAtStart(400);
    ASSERT_EQ(platform.listed.size(), 1u);
    EXPECT_EQ(platform.listed[0], "/pics|*.jpg;*.jpeg");
    EXPECT_EQ(platform.set.size(), 1u);
}

TEST_F(WallpaperTest, PicksEachOfThreeFilesWritesTheBitmapAndSetsItWithTheLogLines) {
    std::set<std::string> picked;
    for (int run = 0; run < 30; ++run) {
        EXPECT_NE(ChangeWallpaper("/pics", "*.jpg"), 0);
        picked.insert(platform.loaded.back());
    }
    EXPECT_EQ(picked, (std::set<std::string>{"/pics/a.jpg", "/pics/b.JPG", "/pics/c.jpeg"}));
    ASSERT_EQ(platform.set.size(), 30u);
    EXPECT_EQ(platform.set.back(), "/cache/wallpaper-1.bmp");
    // A 4 × 3 picture: rows of 12 bytes, no padding needed.
    EXPECT_EQ(platform.written["/cache/wallpaper-1.bmp"].size(), 54u + 36u);
    EXPECT_TRUE(Logged("info> looking in path: /pics"));
    EXPECT_TRUE(Logged("info> total files3 NEW INT CONV"));
    EXPECT_TRUE(Logged("info> winner file: /pics/"));
    EXPECT_TRUE(Logged("info> New wallpaper: /cache/wallpaper-1.bmp"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WallpaperTest, AFolderEndingInASeparatorIsNotGivenASecond) {
    platform.files = std::vector<std::string>{"only.jpg"};
    std::string result;
    PickRandomFile("/pics/", "*.jpg", result);
    EXPECT_EQ(result, "/pics/only.jpg");
    EXPECT_TRUE(Logged("winner file0 NEW INT CONV"));
}

TEST_F(WallpaperTest, AnEmptyOrMissingFolderChangesNothingAndLogsNoFiles) {
    platform.files = std::vector<std::string>{};
    EXPECT_EQ(ChangeWallpaper("/empty", "*.jpg"), 0);
    EXPECT_TRUE(Logged("total files0 NEW INT CONV"));
    platform.files = std::nullopt;
    EXPECT_EQ(ChangeWallpaper("/missing", "*.jpg"), 0);
    EXPECT_TRUE(Logged("PickRandomFile: the folder cannot be read"));
    EXPECT_EQ(ChangeWallpaper("", "*.jpg"), 0);
    EXPECT_EQ(platform.listed.size(), 2u);  // the empty name is never listed
    EXPECT_TRUE(platform.loaded.empty());
    EXPECT_TRUE(platform.set.empty());
}

TEST_F(WallpaperTest, APictureThatDoesNotDecodeLeavesTheWallpaperAndSaysWhy) {
    platform.decodable = false;
    EXPECT_EQ(ChangeWallpaper("/pics", "*.jpg"), 0);
    EXPECT_TRUE(platform.written.empty());
    EXPECT_TRUE(platform.set.empty());
    EXPECT_TRUE(Logged("WARNING> LoadPictureFile: /pics/"));
    EXPECT_TRUE(Logged("the file ends before the picture does"));
}

TEST_F(WallpaperTest, NoPlaceForTheFileOrADesktopThatRefusesReportsFailure) {
    platform.output.clear();
    EXPECT_EQ(ChangeWallpaper("/pics", "*.jpg"), 0);
    EXPECT_TRUE(Logged("no place for the wallpaper file: no cache folder"));
    EXPECT_TRUE(platform.set.empty());

    platform.output = "/cache/wallpaper-1.bmp";
    platform.setWorks = false;
    EXPECT_EQ(ChangeWallpaper("/pics", "*.jpg"), 0);
    EXPECT_TRUE(Logged("the wallpaper was not set: gsettings failed"));
}

TEST_F(WallpaperTest, AFileThatCannotBeWrittenShowsTheBoxAndIsNotSetAsWallpaper) {
    platform.writeResult = FileWrite::CannotCreate;
    EXPECT_EQ(ChangeWallpaper("/pics", "*.jpg"), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to Create Bitmap File");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Error);
    // A file cut short (a full disk) would show half a picture: it is refused too.
    platform.writeResult = FileWrite::Incomplete;
    EXPECT_EQ(ChangeWallpaper("/pics", "*.jpg"), 0);
    EXPECT_EQ(boxes.boxes.size(), 2u);
    EXPECT_TRUE(platform.set.empty());
}

TEST_F(WallpaperTest, APictureWithNoPixelsCannotBeAllocatedAndSaysSo) {
    EXPECT_FALSE(SaveBitmapFile(folder.File("x.bmp"), gfx::Image()));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Unable to Allocate Bitmap Memory");
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].icon, BoxIcon::Error);
}

TEST(SaveBitmapFile, AThreeByTwoPictureIs54HeaderBytesAndTwoRowsOfNinePaddedToTwelve) {
    testing::TempFolder folder;
    gfx::Image picture = Solid(3, 2, 0);
    picture.SetPixel(0, 0, 0x0000FF);  // red   (0x00BBGGRR)
    picture.SetPixel(1, 0, 0x00FF00);  // green
    picture.SetPixel(2, 0, 0xFF0000);  // blue
    picture.SetPixel(0, 1, 0x123456);
    picture.SetPixel(1, 1, 0xABCDEF);
    picture.SetPixel(2, 1, 0x000000);
    const std::string path = folder.File("out.bmp");
    ASSERT_TRUE(SaveBitmapFile(path, picture));  // through the real platform writer
    const std::string bytes = testing::ReadFile(path);
    const std::vector<uint8_t> expected = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,         // file header
        40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0,       // size, width, height, planes, bits
        0, 0, 0, 0, 24, 0, 0, 0,                                // no compression, image size
        0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0,                     // 2835 dots a metre (72 an inch)
        0, 0, 0, 0, 0, 0, 0, 0,                                 // colours: none
        0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF, 0, 0, 0, 0, 0, 0,   // bottom row first, B G R
        0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0,            // top row: red, green, blue
    };
    ASSERT_EQ(bytes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(static_cast<uint8_t>(bytes[i]), expected[i]) << "byte " << i;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(WallpaperTest, BrowseForFolderReportsASmallBufferAndRefusesAPathThatDoesNotFit) {
    platform.chosen = "/home/sky/pictures";
    std::string path = "old";
    EXPECT_EQ(BrowseForFolder(nullptr, "containing wallpaper pictures", path, 260), 1);
    EXPECT_EQ(path, "/home/sky/pictures");
    EXPECT_EQ(platform.chooserTitle, "containing wallpaper pictures");
    EXPECT_TRUE(boxes.boxes.empty());

    path = "old";
    EXPECT_EQ(BrowseForFolder(nullptr, "t", path, 19), 1);  // 18 characters and the terminator
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Internal error #7724");
    EXPECT_EQ(boxes.boxes[0].caption, "PROBLEM");
    EXPECT_EQ(path, "/home/sky/pictures");
    path = "old";
    EXPECT_EQ(BrowseForFolder(nullptr, "t", path, 18), 0);
    EXPECT_EQ(path, "old");

    platform.chosen.clear();
    EXPECT_EQ(BrowseForFolder(nullptr, "t", path, 260), 0);
    EXPECT_EQ(path, "old");
}

}  // namespace
}  // namespace lumi
