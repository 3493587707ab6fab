#include "dialogs/StartupPage.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"

namespace lumi {
namespace {

using dialogs::StartupPage;
using testing::FakeControls;

class StartupPageTest : public testing::DialogSettingsTest {
protected:
    FakeControls controls_;
    StartupPage page_;
};

TEST_F(StartupPageTest, ANewFileOpensWithOnlyTheOldTvEffect) {
    page_.Open(controls_);
    for (int id = IDC_STARTUP_TOP_LEFT; id <= IDC_STARTUP_WALLPAPER; ++id) {
        EXPECT_EQ(controls_.Checked(id), id == IDC_STARTUP_SWITCH_OFF_TV) << id;
    }
    EXPECT_EQ(controls_.Text(IDC_STARTUP_WALLPAPER_PATH), "");
}

TEST_F(StartupPageTest, ApplyStoresTheSwitchesAndTheFolderAndOpenReadsThemBack) {
    page_.Open(controls_);
    controls_.Toggle(page_, IDC_STARTUP_TOP_RIGHT);
    controls_.Toggle(page_, IDC_STARTUP_BOTTOM_LEFT);
    controls_.Toggle(page_, IDC_STARTUP_SWITCH_OFF_TV);
    controls_.Toggle(page_, IDC_STARTUP_REACH_STARS);
    controls_.Toggle(page_, IDC_STARTUP_WALLPAPER);
    controls_.Type(page_, IDC_STARTUP_WALLPAPER_PATH, "/home/me/Pictures/" + std::string(300, 'p'));
    page_.Apply(controls_);

    IniFile& ini = MainIni();
    EXPECT_EQ(ini.ReadIntForUser("Params", "DisableTL", -1), 0);
    EXPECT_EQ(ini.ReadIntForUser("Params", "DisableTR", -1), 1);
    EXPECT_EQ(ini.ReadIntForUser("Params", "DisableBL", -1), 1);
    EXPECT_EQ(ini.ReadIntForUser("Params", "DisableBR", -1), 0);
    EXPECT_EQ(ini.ReadIntForUser("Params", "SwitchOffTV", -1), 0);
    EXPECT_EQ(ini.ReadIntForUser("Params", "ReachTheStars", -1), 1);
    // The changer's own section is shared by every user of the file.
    EXPECT_EQ(ini.ReadInt("WallPaper", "Enabled", -1), 1);
    const std::string path = ini.ReadString("WallPaper", "path", "");
    EXPECT_EQ(path.size(), 253u);
    EXPECT_EQ(path.rfind("/home/me/Pictures/pp", 0), 0u);

    FakeControls reopened;
    StartupPage again;
    again.Open(reopened);
    EXPECT_FALSE(reopened.Checked(IDC_STARTUP_TOP_LEFT));
    EXPECT_TRUE(reopened.Checked(IDC_STARTUP_TOP_RIGHT));
    EXPECT_TRUE(reopened.Checked(IDC_STARTUP_BOTTOM_LEFT));
    EXPECT_FALSE(reopened.Checked(IDC_STARTUP_SWITCH_OFF_TV));
    EXPECT_TRUE(reopened.Checked(IDC_STARTUP_REACH_STARS));
    EXPECT_TRUE(reopened.Checked(IDC_STARTUP_WALLPAPER));
    EXPECT_EQ(reopened.Text(IDC_STARTUP_WALLPAPER_PATH), path);
}

TEST_F(StartupPageTest, BrowseLogsTheFieldAndTakesTheChosenFolder) {
    page_.Open(controls_);
    controls_.Type(page_, IDC_STARTUP_WALLPAPER_PATH, "/old/folder");
    controls_.chosenFolder = "/home/me/Holidays";
    controls_.Click(page_, IDC_STARTUP_WALLPAPER_BROWSE);
    EXPECT_EQ(controls_.folderChooserTitles.back(), "containing wallpaper pictures");
    EXPECT_EQ(controls_.Text(IDC_STARTUP_WALLPAPER_PATH), "/home/me/Holidays");
    EXPECT_NE(LogText().find("IDC_WALLPAPER_BROWSE - path: /old/folder"), std::string::npos);

    controls_.chosenFolder.reset();
    controls_.Click(page_, IDC_STARTUP_WALLPAPER_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_STARTUP_WALLPAPER_PATH), "/home/me/Holidays");
    EXPECT_TRUE(boxes_.boxes.empty());  // the capacity is enough: no internal error
    EXPECT_EQ(MainIni().ReadString("WallPaper", "path", "-"), "-");
}

TEST_F(StartupPageTest, AChosenFolderTheChangerWouldReadBackCutIsRefused) {
    // The changer reads the folder with room for 255 bytes: 253 characters come back.
    page_.Open(controls_);
    controls_.Type(page_, IDC_STARTUP_WALLPAPER_PATH, "/old/folder");
    controls_.chosenFolder = "/" + std::string(253, 'h');
    controls_.Click(page_, IDC_STARTUP_WALLPAPER_BROWSE);
    EXPECT_EQ(controls_.Text(IDC_STARTUP_WALLPAPER_PATH), "/old/folder");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_NE(boxes_.boxes[0].text.find(*controls_.chosenFolder), std::string::npos);

    controls_.chosenFolder = "/" + std::string(252, 'h');
    controls_.Click(page_, IDC_STARTUP_WALLPAPER_BROWSE);
    page_.Apply(controls_);
    EXPECT_EQ(MainIni().ReadString("WallPaper", "path", "", 255), *controls_.chosenFolder);

    // Typed, a backslash takes two of the 253 stored characters.
    controls_.Type(page_, IDC_STARTUP_WALLPAPER_PATH, "D:\\" + std::string(260, 'h'));
    page_.Apply(controls_);
    const std::string stored = MainIni().ReadString("WallPaper", "path", "");
    EXPECT_EQ(stored, "D:\\" + std::string(249, 'h'));
    EXPECT_EQ(MainIni().ReadString("WallPaper", "path", "", 255), stored);
}

}  // namespace
}  // namespace lumi
