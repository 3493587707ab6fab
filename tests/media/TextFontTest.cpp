// The text font: configured size and colour, clamping, and selecting and restoring in
// pairs, with the internal errors for each misuse.
#include "media/TextFont.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/TestSupport.h"
#include "gfx/FakeFont.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

class TextFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        gfx::SetFontRasterizer(std::make_unique<gfx::testing::FakeRasterizer>());
        gfx::SetPixelsPerInch(96);
    }
    void TearDown() override {
        gfx::SetFontRasterizer(nullptr);
        ResetMainIni();
    }
    std::vector<std::string> ErrorBoxes() const {
        std::vector<std::string> texts;
        for (const auto& b : boxes.boxes) texts.push_back(b.caption + ": " + b.text);
        return texts;
    }

    testing::TempFolder folder;
    testing::RecordingMessageBoxes boxes;
};

TEST_F(TextFontTest, LoadTakesTheDefaultsAndFillsTheLogicalFont) {
    TextFont font;
    font.faceName = "Courier New";
    font.Load("Font");
    EXPECT_EQ(font.FontSize, 10.0f);
    EXPECT_EQ(font.Color, 0xFFFF00);
    EXPECT_EQ(font.logFont.height, -13);  // 10 points at 96 pixels per inch
    EXPECT_EQ(font.logFont.weight, 100);
    EXPECT_EQ(font.logFont.faceName, "Courier New");
}

TEST_F(TextFontTest, StoredSizeIsClampedAndSetValuesAreNotReread) {
    MainIni().WriteFloatForUser("Font", "FontSize", 40);
    MainIni().WriteIntForUser("Font", "Color", 0x123456);
    TextFont big;
    big.Load("Font");
    EXPECT_EQ(big.FontSize, 34.0f);
    EXPECT_EQ(big.Color, 0x123456);

    MainIni().WriteFloatForUser("Font", "FontSize", 2);
    TextFont small;
    small.Load("Font");
    EXPECT_EQ(small.FontSize, 5.0f);

    TextFont broken;
    broken.FontSize = std::nanf("");
    broken.Load("Font");
    EXPECT_EQ(broken.FontSize, 5.0f);

    TextFont preset;
    preset.FontSize = 12;
    preset.Color = 0xFFFFFF;
    preset.Load("Font");
    EXPECT_EQ(preset.FontSize, 12.0f);
    EXPECT_EQ(preset.Color, 0xFFFFFF);
    EXPECT_EQ(preset.logFont.height, -16);
}

TEST_F(TextFontTest, SelectSetsColoursAndFontAndRestorePutsThemBack) {
    gfx::Canvas canvas(gfx::Surface::Create(10, 10));
    canvas.SetTextColor(0x010101);
    canvas.SetBkColor(0x020202);
    std::shared_ptr<gfx::Font> before = canvas.CurrentFont();

    TextFont font;
    font.Select(&canvas, kConfiguredColour, 0x000000);
    EXPECT_EQ(font.selected, 1);
    EXPECT_EQ(canvas.GetTextColor(), 0xFFFF00u);
    EXPECT_EQ(canvas.GetBkColor(), 0u);
    EXPECT_EQ(canvas.CurrentFont(), font.font);
    font.Restore();
    EXPECT_EQ(font.selected, 0);
    EXPECT_EQ(canvas.GetTextColor(), 0x010101u);
    EXPECT_EQ(canvas.GetBkColor(), 0x020202u);
    EXPECT_EQ(canvas.CurrentFont(), before);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TextFontTest, MisuseReportsItsInternalError) {
    gfx::Canvas canvas(gfx::Surface::Create(10, 10));
    TextFont font;
    font.Restore();
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"PROBLEM: Internal error #2352"});

    boxes.boxes.clear();
    font.Select(nullptr, 0xFFFFFF, 0);
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"PROBLEM: Internal error #2351"});
    font.Restore();

    boxes.boxes.clear();
    font.Select(&canvas, 0xFFFFFF, 0);
    font.Select(&canvas, 0xFFFFFF, 0);
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"PROBLEM: Internal error #2358"});
    font.Restore();

    boxes.boxes.clear();
    {
        TextFont forgotten;
        forgotten.Select(&canvas, 0xFFFFFF, 0);
    }
    EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"PROBLEM: Internal error #2123"});
}

}  // namespace
}  // namespace lumi
