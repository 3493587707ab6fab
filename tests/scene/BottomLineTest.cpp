// The bottom line: its final text with the moon text, where it stands and how it scrolls
// out, what it leaves behind on the sky, and what it marks for presenting.
#include "scene/BottomLine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/TestSupport.h"
#include "gfx/Canvas.h"
#include "gfx/FakeFont.h"
#include "gfx/Surface.h"
#include "sky/SaverRun.h"
#include "moon/MoonPhase.h"
#include "sky/SkyDC.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {
namespace {

constexpr int kSkyWidth = 800;
constexpr int kSkyHeight = 600;
// The fake font: 6-pixel cells 8 pixels high, glyph blocks at (1, 1)..(4, 5) of a cell.
constexpr int kCell = 6;
constexpr int kLineHeight = 8;

class BottomLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        ResetErrorReports();
        ResetSaverRun();
        SaverRun().ScreenRect = SkyRect{0, 0, kSkyWidth, kSkyHeight};
        gfx::SetFontRasterizer(std::make_unique<gfx::testing::FakeRasterizer>());
        gfx::SetPixelsPerInch(96);
        sky = gfx::Surface::Create(kSkyWidth, kSkyHeight, gfx::DirtyTracking::On);
        skyDC = std::make_unique<gfx::Canvas>(sky);
        SetSkyDC(skyDC.get());
        ResetMoonText();
        BottomLineText().clear();
    }
    void TearDown() override {
        line.tBmp.Destroy();
        SetSkyDC(nullptr);
        BottomLineText().clear();
        ResetMoonText();
        gfx::SetFontRasterizer(nullptr);
        ResetSaverRun();
        ResetMainIni();
    }

    // Fills the moon text for a fixed night.
    static void MakeMoonText() {
        CpelurMoonData data;
        CalcPhaseAt(data, 1302010520);
        ASSERT_FALSE(MoonText().empty());
        ASSERT_EQ(MoonText()[0], ' ');
    }

    testing::TempFolder folder;
    std::shared_ptr<gfx::Surface> sky;
    std::unique_ptr<gfx::Canvas> skyDC;
    BOTTOMLINE line;
};

TEST_F(BottomLineTest, MoonTextFollowsOnlyALineThatHasText) {
    MakeMoonText();
    BottomLineText() = "Hello";
    line.Create();
    EXPECT_EQ(BottomLineText(), "Hello" + MoonText() + "  ");
    EXPECT_EQ(line.finished, 0);
    EXPECT_EQ(line.scrollOffset, 0);
    EXPECT_EQ(line.tBmp.width, static_cast<int>(BottomLineText().size()) * kCell + 20);
    line.tBmp.Destroy();

    BottomLineText().clear();
    line.Create();
    EXPECT_EQ(BottomLineText(), "  ");
    // Two blanks and the 20 black columns that wipe the trail.
    EXPECT_EQ(line.tBmp.width, 2 * kCell + 20);
    EXPECT_EQ(line.tBmp.height, kLineHeight);
    EXPECT_NE(testing::ReadFile(folder.File("log.txt")).find("BOTTOMLINE::Final text:   "), std::string::npos);
}

TEST_F(BottomLineTest, OverlongLineEndsInTheMarkerInsteadOfOverrunning) {
    MakeMoonText();
    BottomLineText() = std::string(290, 'x');
    line.Create();
    EXPECT_LT(BottomLineText().size(), kBottomLineTextCapacity);
    EXPECT_NE(BottomLineText().find("*StrCat*"), std::string::npos);
}

TEST_F(BottomLineTest, ScrollsTwoPixelsATickFiveAboveTheBottom) {
    BottomLineText() = "Hi";
    line.Create();
    line.Scroll();
    EXPECT_EQ(line.tBmp.x, kSkyWidth);
    EXPECT_EQ(line.tBmp.y, kSkyHeight - kLineHeight - 5);
    for (int i = 0; i < 10; ++i) line.Scroll();
    EXPECT_EQ(line.tBmp.x, kSkyWidth - 20);
    EXPECT_EQ(line.scrollOffset, 22);
}

TEST_F(BottomLineTest, FinishesExactlyWhenItsRightEndPassesTheLeftEdge) {
    BottomLineText() = "Hi";
    line.Create();
    const int width = line.tBmp.width;  // 2 cells, two blanks, 20 columns: 44
    // Finished in the call that takes the offset past width + sky width.
    const int calls = (width + kSkyWidth) / 2 + 1;
    for (int i = 1; i < calls; ++i) {
        line.Scroll();
        ASSERT_EQ(line.finished, 0) << "call " << i;
    }
    line.Scroll();
    EXPECT_EQ(line.finished, 1);
    EXPECT_EQ(line.scrollOffset, 0);
    // The last picture drawn ends at the sky's left edge.
    EXPECT_EQ(line.tBmp.x + width, 0);

    // A finished line stays where it is.
    line.Scroll();
    EXPECT_EQ(line.tBmp.x + width, 0);
    EXPECT_EQ(line.finished, 1);
}

TEST_F(BottomLineTest, DrawsInTheConfiguredColourAndLeavesNoTrail) {
    MainIni().WriteIntForUser("Font", "Color", 0x00FF00);
    BottomLineText() = "Hi";
    line.Create();
    for (int i = 0; i < 30; ++i) line.Scroll();
    const int x = line.tBmp.x;
    const int y = line.tBmp.y;
    EXPECT_EQ(skyDC->GetPixel(x + 1, y + 1), 0x00FF00u);
    EXPECT_EQ(skyDC->GetPixel(x + kCell + 1, y + 1), 0x00FF00u);
    // Everything right of the text, where earlier steps drew it, is black again.
    for (int column = x + 2 * kCell; column < kSkyWidth; ++column)
        for (int row = y; row < y + kLineHeight; ++row)
            ASSERT_EQ(skyDC->GetPixel(column, row), 0u) << column << "," << row;
}

TEST_F(BottomLineTest, MarksOnlyTheLinesBandForPresenting) {
    BottomLineText() = "Hello";
    line.Create();
    for (int i = 0; i < 40; ++i) line.Scroll();
    sky->Dirty()->Clear();
    line.Scroll();
    ASSERT_FALSE(sky->Dirty()->IsEmpty());
    const int tile = gfx::DirtyRegion::kTileSize;
    const int bandTop = (line.tBmp.y / tile) * tile;
    for (const gfx::Rect& r : sky->Dirty()->Collect()) {
        EXPECT_GE(r.top, bandTop);
        EXPECT_GE(r.left, (line.tBmp.x / tile) * tile);
    }
}

}  // namespace
}  // namespace lumi
