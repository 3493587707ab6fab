#include "dialogs/TextFontChooser.h"

#include <gtest/gtest.h>

#include "../common/TestSupport.h"
#include "FakeControls.h"
#include "settings/IniFile.h"

namespace lumi {
namespace {

using dialogs::ChooseTextFont;
using dialogs::FontChoice;
using dialogs::HeightFromPointSize;
using dialogs::PointSizeFromHeight;
using testing::FakeControls;

class TextFontChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainIni();
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder_), 0);
    }
    void TearDown() override { ResetMainIni(); }

    testing::TempFolder folder_;
    FakeControls controls_;
};

TEST_F(TextFontChooserTest, StartsFromTheDefaultsAndStoresTheChoice) {
    FontChoice chosen;
    chosen.face = "DejaVu Sans";
    chosen.pointSize = 14;
    chosen.charSet = 238;
    chosen.color = 0x0080FF;
    controls_.chosenFont = chosen;
    ChooseTextFont(controls_);

    ASSERT_TRUE(controls_.fontChooserStart.has_value());
    EXPECT_EQ(controls_.fontChooserStart->face, "Courier New");
    EXPECT_DOUBLE_EQ(controls_.fontChooserStart->pointSize, 10);
    EXPECT_EQ(controls_.fontChooserStart->charSet, 0);
    EXPECT_EQ(controls_.fontChooserStart->color, 0xFFFF00u);

    IniFile& ini = MainIni();
    EXPECT_EQ(ini.ReadStringForUser("Font", "Font", ""), "DejaVu Sans");
    EXPECT_DOUBLE_EQ(ini.ReadFloatForUser("Font", "FontSize", 0), 14);
    EXPECT_EQ(ini.ReadIntForUser("Font", "FontCharSet", 0), 238);
    EXPECT_EQ(ini.ReadIntForUser("Font", "Color", 0), 0x0080FF);

    // The next showing starts from what was stored.
    controls_.chosenFont.reset();
    ChooseTextFont(controls_);
    EXPECT_EQ(controls_.fontChooserStart->face, "DejaVu Sans");
    EXPECT_DOUBLE_EQ(controls_.fontChooserStart->pointSize, 14);
    EXPECT_EQ(controls_.fontChooserStart->charSet, 238);
    EXPECT_EQ(controls_.fontChooserStart->color, 0x0080FFu);
}

TEST_F(TextFontChooserTest, ACancelStoresTheStartingValuesUnchanged) {
    IniFile& ini = MainIni();
    ini.WriteStringForUser("Font", "Font", "Liberation Mono");
    ini.WriteFloatForUser("Font", "FontSize", 40);  // beyond the largest size: 34
    ini.WriteUIntForUser("Font", "FontCharSet", 204);
    ini.WriteIntForUser("Font", "Color", 0x112233);
    ChooseTextFont(controls_);
    EXPECT_EQ(controls_.fontChoosers, 1);
    EXPECT_EQ(ini.ReadStringForUser("Font", "Font", ""), "Liberation Mono");
    EXPECT_DOUBLE_EQ(ini.ReadFloatForUser("Font", "FontSize", 0), 34);
    EXPECT_EQ(ini.ReadIntForUser("Font", "FontCharSet", 0), 204);
    EXPECT_EQ(ini.ReadIntForUser("Font", "Color", 0), 0x112233);
}

TEST_F(TextFontChooserTest, AFirstCancelWritesTheDefaults) {
    ChooseTextFont(controls_);
    IniFile& ini = MainIni();
    EXPECT_EQ(ini.ReadStringForUser("Font", "Font", ""), "Courier New");
    EXPECT_DOUBLE_EQ(ini.ReadFloatForUser("Font", "FontSize", 0), 10);
    EXPECT_EQ(ini.ReadIntForUser("Font", "Color", 0), 0xFFFF00);
}

TEST(PointSizeTest, LogicalHeightsAndPointsRoundAsTheDeviceDoes) {
    // 13 pixels at 96 per inch: 13 * 72 / 96 = 9.75 points, rounded to 10.
    EXPECT_EQ(PointSizeFromHeight(-13, 96), 10);
    EXPECT_EQ(HeightFromPointSize(10, 96), -13);  // 10 * 96 / 72 = 13.33
    // 150 %: 144 per inch.
    EXPECT_EQ(HeightFromPointSize(12, 144), -24);
    EXPECT_EQ(PointSizeFromHeight(-24, 144), 12);
    // A half rounds away from zero: 3 * 72 / 144 = 1.5.
    EXPECT_EQ(PointSizeFromHeight(-3, 144), 2);
    // 120 per inch: 10 * 120 / 72 = 16.67; 17 * 72 / 120 = 10.2.
    EXPECT_EQ(HeightFromPointSize(10, 120), -17);
    EXPECT_EQ(PointSizeFromHeight(-17, 120), 10);
    // A positive (cell) height gives a negative size, as the formula has it.
    EXPECT_EQ(PointSizeFromHeight(16, 96), -12);
}

}  // namespace
}  // namespace lumi
