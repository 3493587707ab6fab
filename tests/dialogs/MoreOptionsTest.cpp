#include "dialogs/MoreOptions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "DialogTestSupport.h"
#include "FakeControls.h"
#include "dialogs/DialogIds.h"
#include "media/Sound.h"

namespace lumi {
namespace {

using testing::FakeControls;

class MoreOptionsTest : public testing::DialogSettingsTest {
protected:
    RecordingSoundPlayer player_;
};

TEST_F(MoreOptionsTest, TheSheetHoldsTheFivePagesInOrder) {
    FakeControls owner;
    std::vector<std::pair<int, std::string>> seen;
    owner.onSheet = [&seen](const std::string&, const std::vector<dialogs::SheetPage>& pages) {
        for (const auto& page : pages) {
            EXPECT_NE(page.logic, nullptr);
            seen.emplace_back(page.templateId, page.caption);
        }
    };
    dialogs::RunMoreOptionsSheet(owner);
    EXPECT_EQ(owner.sheets, std::vector<std::string>{"Lumivane Screensaver v4.21 - Much More Options"});
    const std::vector<std::pair<int, std::string>> expected = {
        {2019, "Star Messages"}, {2006, "Sounds"}, {121, "Quotes"}, {2018, "Startup"}, {2014, "About"}};
    EXPECT_EQ(seen, expected);
}

TEST_F(MoreOptionsTest, OkStoresEveryOpenedPageAfterLeavingTheCurrentOne) {
    FakeControls owner;
    owner.onSheet = [](const std::string&, const std::vector<dialogs::SheetPage>& pages) {
        std::map<int, FakeControls> windows;
        // The user looks at the first two pages, picks a sound on the second and presses OK.
        for (int i = 0; i < 2; ++i) pages[i].logic->Open(windows[pages[i].templateId]);
        pages[0].logic->Leave(windows[IDD_STAR_MESSAGES]);
        FakeControls& sounds = windows[IDD_SOUNDS];
        sounds.SetChecked(IDC_SOUND_SILENCE, false);
        sounds.Toggle(*pages[1].logic, IDC_SOUND_SEA);
        windows[IDD_STAR_MESSAGES].SetChecked(IDC_STAR_FORMAT24, true);
        pages[1].logic->Leave(sounds);
        // A front-end may apply every page of the sheet, opened or not.
        for (const auto& page : pages) page.logic->Apply(windows[page.templateId]);
    };
    dialogs::RunMoreOptionsSheet(owner);
    EXPECT_EQ(MainIni().ReadIntForUser("Sound", "Sound", -1), 123);
    EXPECT_EQ(MainIni().ReadIntForUser("params", "FormatTime24H", -1), 1);
    EXPECT_EQ(player_.calls.back(), "stop wave");
    // Pages never opened store nothing.
    EXPECT_EQ(MainIni().ReadIntForUser("FPicture", "ShowEvery", -1), -1);
    EXPECT_EQ(MainIni().ReadIntForUser("FPicture", "Category", -1), -1);
    EXPECT_EQ(MainIni().ReadIntForUser("Params", "SwitchOffTV", -1), -1);
    EXPECT_EQ(MainIni().ReadInt("WallPaper", "Enabled", -1), -1);
}

TEST_F(MoreOptionsTest, APageThatNeverOpenedKeepsEverySettingWhenLeftOrApplied) {
    // What the user set in earlier showings of the sheet.
    IniFile& ini = MainIni();
    ini.WriteUIntForUser("Messages", "ShowRandomly", 1);
    ini.WriteStringForUser("Messages", "DecryptPassword", "Moon");
    ini.WriteUIntForUser("Messages", "Preview", 2);
    ini.WriteUIntForUser("params", "FormatTime24H", 1);
    ini.WriteUIntForUser("Sound", "Sound", 124);
    ini.WriteStringForUser("Sound", "WavFile", "/music/rain.wav");
    ini.WriteUIntForUser("Sound", "Cuckoo", 1);
    ini.WriteUIntForUser("FPicture", "Category", 5);
    ini.WriteUIntForUser("FPicture", "ShowEvery", 30);
    ini.WriteStringForUser("FPicture", "BANNER", "Hello sky");
    ini.WriteUIntForUser("Params", "DisableTL", 1);
    ini.WriteUInt("WallPaper", "Enabled", 1);
    ini.WriteString("WallPaper", "path", "/home/me/Holidays");
    const std::string before = testing::ReadFile(folder_.File("Lumivan.ini"));

    FakeControls owner;
    owner.onSheet = [](const std::string&, const std::vector<dialogs::SheetPage>& pages) {
        // Windows that were made but whose pages never heard Open: empty boxes, nothing checked.
        std::map<int, FakeControls> windows;
        for (const auto& page : pages) page.logic->Leave(windows[page.templateId]);
        for (const auto& page : pages) page.logic->Apply(windows[page.templateId]);
    };
    dialogs::RunMoreOptionsSheet(owner);
    EXPECT_EQ(testing::ReadFile(folder_.File("Lumivan.ini")), before);
    EXPECT_TRUE(player_.calls.empty());
}

}  // namespace
}  // namespace lumi
