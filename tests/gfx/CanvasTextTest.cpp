// Text on the canvas with a predictable font: cells, colours, measuring, and DrawText's
// line breaking, alignment, prefixes and clipping.
#include <gtest/gtest.h>

#include <climits>

#include "FakeFont.h"
#include "RasterTestSupport.h"
#include "gfx/Canvas.h"

namespace lumi::gfx {
namespace {

using namespace testing;

const std::map<Color, char> kNames{{kWhite, 'W'}, {kRed, 'R'}};

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { SetFontRasterizer(std::make_unique<testing::FakeRasterizer>()); }
    void TearDown() override { SetFontRasterizer(nullptr); }

    std::unique_ptr<Canvas> TextCanvas(int width, int height) {
        auto canvas = MakeCanvas(width, height);
        canvas->SetTextColor(kWhite);
        canvas->SetBkColor(kRed);
        return canvas;
    }
    // Lines and width that DrawText would take, from its measuring mode.
    static Rect Calc(Canvas& canvas, std::string_view text, int width, unsigned format) {
        Rect r{0, 0, width, 100};
        canvas.DrawText(text, r, format | DrawTextFlag::CalcRect);
        return r;
    }
};

TEST_F(CanvasText, ExtentCountsTheExtraSpacingAfterEveryCharacter) {
    auto canvas = TextCanvas(1, 1);
    EXPECT_EQ(canvas->GetTextExtentPoint32("abc"), (Size{18, 8}));
    canvas->SetTextCharacterExtra(1);
    EXPECT_EQ(canvas->GetTextExtentPoint32("abc"), (Size{21, 8}));
    EXPECT_EQ(canvas->GetTextExtentPoint32(""), (Size{0, 8}));
    EXPECT_EQ(canvas->GetTextMetrics().ascent, 6);
}

TEST_F(CanvasText, OpaqueTextFillsItsCellsWithTheBackground) {
    auto canvas = TextCanvas(8, 9);
    canvas->TextOut(0, 0, "a");
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"RRRRRR..", "RWWWWR..", "RWWWWR..", "RWWWWR..", "RWWWWR..",
                                               "RWWWWR..", "RRRRRR..", "RRRRRR..", "........"}));
    auto clear = TextCanvas(8, 2);
    clear->SetBkMode(BackgroundMode::Transparent);
    clear->TextOut(-1, 0, "a");
    EXPECT_EQ(Picture(*clear, kNames), (Rows{"........", "WWWW...."}));
}

TEST_F(CanvasText, ExtraSpacingWidensEachCell) {
    auto canvas = TextCanvas(16, 2);
    canvas->SetTextCharacterExtra(1);
    canvas->TextOut(0, 0, "ab");
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"RRRRRRRRRRRRRR..", "RWWWWRRRWWWWRR.."}));
}

TEST_F(CanvasText, WordBreakWrapsAtTheRectangleWidth) {
    auto canvas = TextCanvas(1, 1);
    // "aa bb" is exactly 30 pixels wide and still fits a 30-pixel line.
    EXPECT_EQ(Calc(*canvas, "aa bb cc", 30, DrawTextFlag::WordBreak), (Rect{0, 0, 30, 16}));
    EXPECT_EQ(Calc(*canvas, "aa bb cc", 29, DrawTextFlag::WordBreak), (Rect{0, 0, 12, 24}));
    // The blanks where a line breaks vanish; leading blanks of the text stay.
    EXPECT_EQ(Calc(*canvas, "aa      bb", 12, DrawTextFlag::WordBreak), (Rect{0, 0, 12, 16}));
    EXPECT_EQ(Calc(*canvas, " aa", 12, DrawTextFlag::WordBreak), (Rect{0, 0, 18, 8}));
    // A word longer than the line is not cut.
    EXPECT_EQ(Calc(*canvas, "abcdefgh ab", 20, DrawTextFlag::WordBreak), (Rect{0, 0, 48, 16}));
    // Without word breaking everything stays on one line.
    EXPECT_EQ(Calc(*canvas, "aa bb cc", 29, 0), (Rect{0, 0, 48, 8}));
    canvas->SetTextCharacterExtra(1);
    EXPECT_EQ(Calc(*canvas, "aa bb cc", 30, DrawTextFlag::WordBreak), (Rect{0, 0, 14, 24}));
}

TEST_F(CanvasText, LineBreaksInTheText) {
    auto canvas = TextCanvas(1, 1);
    EXPECT_EQ(Calc(*canvas, "a\r\nbb\nc", 100, 0), (Rect{0, 0, 12, 24}));
    EXPECT_EQ(Calc(*canvas, "a\rb", 100, DrawTextFlag::WordBreak), (Rect{0, 0, 6, 16}));
    EXPECT_EQ(Calc(*canvas, "a\n", 100, 0), (Rect{0, 0, 6, 8}));
    EXPECT_EQ(Calc(*canvas, "\n\na", 100, 0), (Rect{0, 0, 6, 24}));
    EXPECT_EQ(Calc(*canvas, "a\nb", 100, DrawTextFlag::SingleLine), (Rect{0, 0, 12, 8}));
    Rect untouched{1, 2, 3, 4};
    EXPECT_EQ(canvas->DrawText("", untouched, DrawTextFlag::CalcRect), 0);
    EXPECT_EQ(untouched, (Rect{1, 2, 3, 4}));
}

TEST_F(CanvasText, WrappedLinesAreDrawnOneCellBelowTheOther) {
    auto canvas = TextCanvas(20, 16);
    canvas->SetBkMode(BackgroundMode::Transparent);
    Rect r{0, 0, 20, 16};
    EXPECT_EQ(canvas->DrawText("a b", r, DrawTextFlag::WordBreak | DrawTextFlag::Center), 8);
    // Line "a b" is 18 wide and fits: it starts at (20 - 18) / 2 = 1.
    EXPECT_EQ(canvas->GetPixel(2, 1), kWhite);
    EXPECT_EQ(canvas->GetPixel(1, 1), 0u);
    auto narrow = TextCanvas(12, 16);
    narrow->SetBkMode(BackgroundMode::Transparent);
    Rect n{0, 0, 12, 16};
    narrow->DrawText("a b", n, DrawTextFlag::WordBreak | DrawTextFlag::Center);
    // Two lines of one character, each centred at x = 3.
    EXPECT_EQ(Picture(*narrow, kNames)[1], "....WWWW....");
    EXPECT_EQ(Picture(*narrow, kNames)[9], "....WWWW....");
}

TEST_F(CanvasText, AmpersandsMarkUnderlinedCharactersUnlessSwitchedOff) {
    auto canvas = TextCanvas(14, 8);
    canvas->SetBkMode(BackgroundMode::Transparent);
    Rect r{0, 0, 14, 8};
    canvas->DrawText("&a&&", r, 0);
    EXPECT_EQ(Picture(*canvas, kNames)[7], "WWWWWW........");  // underline below the 'a'
    EXPECT_EQ(Picture(*canvas, kNames)[1], ".WWWW..WWWW...");  // "a&"
    EXPECT_EQ(Calc(*canvas, "&a&&", 100, DrawTextFlag::NoPrefix).right, 24);
    EXPECT_EQ(Calc(*canvas, "a&", 100, 0).right, 6);
}

TEST_F(CanvasText, DrawingIsClippedToTheRectangleUnlessNoClip) {
    auto canvas = TextCanvas(10, 10);
    Rect r{0, 0, 3, 3};
    canvas->DrawText("ab", r, 0);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"RRR.......", "RWW.......", "RWW.......", "..........",
                                               "..........", "..........", "..........", "..........",
                                               "..........", ".........."}));
    auto free = TextCanvas(10, 3);
    Rect f{0, 0, 3, 3};
    free->DrawText("ab", f, DrawTextFlag::NoClip);
    EXPECT_EQ(Picture(*free, kNames)[1], "RWWWWRRWWW");
}

TEST_F(CanvasText, SingleLineCanBeCentredVerticallyOrPutAtTheBottom) {
    auto canvas = TextCanvas(6, 20);
    canvas->SetBkMode(BackgroundMode::Transparent);
    Rect r{0, 0, 6, 20};
    EXPECT_EQ(canvas->DrawText("a", r, DrawTextFlag::SingleLine | DrawTextFlag::VCenter), 14);
    EXPECT_EQ(canvas->GetPixel(1, 6 + 1), kWhite);
    EXPECT_EQ(canvas->GetPixel(1, 6), 0u);
    auto bottom = TextCanvas(6, 20);
    bottom->SetBkMode(BackgroundMode::Transparent);
    bottom->DrawText("a", r, DrawTextFlag::SingleLine | DrawTextFlag::Bottom | DrawTextFlag::Right);
    EXPECT_EQ(bottom->GetPixel(1, 12 + 5), kWhite);
    EXPECT_EQ(bottom->GetPixel(1, 12 + 6), 0u);
}

TEST_F(CanvasText, FontsSelectLikeObjects) {
    auto canvas = TextCanvas(4, 4);
    auto stock = canvas->CurrentFont();
    ASSERT_TRUE(stock);
    auto other = testing::MakeFakeFont();
    EXPECT_EQ(canvas->SelectFont(other), stock);
    EXPECT_EQ(canvas->SelectFont(nullptr), other);
    EXPECT_EQ(canvas->CurrentFont(), stock);
}

TEST_F(CanvasText, TextFarOutsideTheSurfaceIsSkipped) {
    auto canvas = TextCanvas(4, 4);
    canvas->TextOut(INT_MAX - 3, INT_MAX - 3, "abc");
    canvas->TextOut(INT_MIN, INT_MIN, "abc");
    Rect r{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    canvas->DrawText("a b c", r, DrawTextFlag::WordBreak | DrawTextFlag::Center);
    EXPECT_EQ(canvas->GetPixel(3, 3), 0u);
    canvas->SetTextCharacterExtra(INT_MAX);
    Rect wide{0, 0, 4, 4};
    canvas->DrawText("a b c", wide, DrawTextFlag::WordBreak | DrawTextFlag::Center);
    canvas->DrawText("a b c", wide, DrawTextFlag::CalcRect);
    EXPECT_EQ(canvas->GetTextExtentPoint32("abc").cy, 8);
}

}  // namespace
}  // namespace lumi::gfx
