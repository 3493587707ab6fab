// Pixel-exact checks of the canvas's raster operations on tiny surfaces.
#include "gfx/Canvas.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "RasterTestSupport.h"

namespace lumi::gfx {
namespace {

using namespace testing;

// Source letters A..I are the colours Rgb(1..9, 0, 0).
const std::map<Color, char> kNames = [] {
    std::map<Color, char> names{{kWhite, 'W'}, {kRed, 'R'}};
    for (int i = 0; i < 9; ++i) names[Rgb(i + 1, 0, 0)] = static_cast<char>('A' + i);
    return names;
}();

// A canvas whose pixels, row by row, are the letters A, B, C...
std::unique_ptr<Canvas> Lettered(int width, int height) {
    auto canvas = MakeCanvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) canvas->SetPixel(x, y, Rgb(y * width + x + 1, 0, 0));
    return canvas;
}

std::unique_ptr<Canvas> White(int width, int height) {
    auto canvas = MakeCanvas(width, height);
    canvas->FillRect(Rect{0, 0, width, height}, Brush::White());
    return canvas;
}

TEST(CanvasSelection, SelectReturnsWhatWasSelectedBefore) {
    auto memory = Canvas::CreateCompatible(nullptr);
    ASSERT_TRUE(memory->Bitmap());
    EXPECT_EQ(memory->Bitmap()->Width(), 1);  // the platform's default 1 x 1 bitmap
    auto bitmap = Canvas::CreateCompatibleBitmap(memory.get(), 3, 2);
    auto old = memory->SelectBitmap(bitmap);
    EXPECT_EQ(old->Width(), 1);
    EXPECT_EQ(memory->SelectBitmap(old), bitmap);
    EXPECT_EQ(memory->SelectBitmap(nullptr), nullptr);
    EXPECT_EQ(memory->Bitmap(), old);

    EXPECT_EQ(memory->SelectPen(Pen::White()), Pen::Black());
    EXPECT_EQ(memory->SelectBrush(Brush::Null()), Brush::White());
    EXPECT_EQ(memory->SetTextColor(0x01FF0000), 0u);
    EXPECT_EQ(memory->GetTextColor(), 0x00FF0000u);
    EXPECT_EQ(memory->SetTextCharacterExtra(1), 0);
    EXPECT_EQ(memory->GetTextCharacterExtra(), 1);
}

TEST(CanvasSelection, NewBitmapsAreBlackAndKeepAliveWhileSelected) {
    auto memory = Canvas::CreateCompatible(nullptr);
    memory->SelectBitmap(Canvas::CreateCompatibleBitmap(memory.get(), 2, 2));
    EXPECT_EQ(Picture(*memory), (Rows{"..", ".."}));
    memory->SetPixel(1, 1, kWhite);
    EXPECT_EQ(memory->GetPixel(1, 1), kWhite);
}

TEST(CanvasBitBlt, CopiesClippedToTheDestination) {
    auto src = Lettered(3, 3);
    auto dst = MakeCanvas(4, 4);
    EXPECT_TRUE(dst->BitBlt(-1, -1, 3, 3, src.get(), 0, 0, RasterOp::SrcCopy));
    EXPECT_TRUE(dst->BitBlt(2, 2, 3, 3, src.get(), 0, 0, RasterOp::SrcCopy));
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"EF..", "HI..", "..AB", "..DE"}));
}

TEST(CanvasBitBlt, LeavesPixelsAlonePastTheSourceEdges) {
    auto src = Lettered(3, 3);
    auto dst = White(4, 4);
    dst->BitBlt(0, 0, 3, 3, src.get(), 2, 2, RasterOp::SrcCopy);
    dst->BitBlt(2, 2, 2, 2, src.get(), -1, -1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"IWWW", "WWWW", "WWWW", "WWWA"}));
}

TEST(CanvasBitBlt, EmptyAndNegativeSizesDrawNothing) {
    auto src = Lettered(3, 3);
    auto dst = White(3, 3);
    for (auto [w, h] : {std::pair{0, 3}, {3, 0}, {-2, 2}, {2, -2}, {INT_MIN, INT_MIN}})
        dst->BitBlt(1, 1, w, h, src.get(), 0, 0, RasterOp::SrcCopy);
    dst->BitBlt(INT_MAX, INT_MAX, INT_MAX, INT_MAX, src.get(), INT_MIN, INT_MIN, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"WWW", "WWW", "WWW"}));
    EXPECT_FALSE(dst->BitBlt(0, 0, 1, 1, nullptr, 0, 0, RasterOp::SrcCopy));
}

TEST(CanvasBitBlt, BlacknessNeedsNoSourceAndClips) {
    auto dst = White(4, 4);
    EXPECT_TRUE(dst->BitBlt(1, 1, 2, 50, nullptr, 0, 0, RasterOp::Blackness));
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"WWWW", "W..W", "W..W", "W..W"}));
}

TEST(CanvasBitBlt, MovesWithinOneSurfaceInBothDirections) {
    auto row = Lettered(5, 1);
    row->BitBlt(1, 0, 4, 1, row.get(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*row, kNames), (Rows{"AABCD"}));
    auto column = Lettered(1, 4);
    column->BitBlt(0, 1, 1, 3, column.get(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*column, kNames), (Rows{"A", "A", "B", "C"}));
    column->BitBlt(0, 0, 1, 3, column.get(), 0, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*column, kNames), (Rows{"A", "B", "C", "C"}));
}

TEST(CanvasStretchBlt, ScalesByNearestPixel) {
    auto src = Lettered(2, 1);
    auto dst = MakeCanvas(4, 2);
    dst->StretchBlt(0, 0, 4, 2, src.get(), 0, 0, 2, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"AABB", "AABB"}));

    auto wide = Lettered(4, 1);
    auto small = MakeCanvas(2, 1);
    small->StretchBlt(0, 0, 2, 1, wide.get(), 0, 0, 4, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*small, kNames), (Rows{"BD"}));

    auto same = MakeCanvas(3, 3);
    auto letters = Lettered(3, 3);
    same->StretchBlt(0, 0, 3, 3, letters.get(), 0, 0, 3, 3, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*same, kNames), Picture(*letters, kNames));
}

TEST(CanvasStretchBlt, NegativeWidthMirrorsOntoTheColumnsBeforeX) {
    auto src = Lettered(3, 1);
    auto dst = White(5, 1);
    dst->StretchBlt(4, 0, -3, 1, src.get(), 0, 0, 3, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"WCBAW"}));
    auto flipped = MakeCanvas(1, 3);
    auto column = Lettered(1, 3);
    flipped->StretchBlt(0, 3, 1, -3, column.get(), 0, 0, 1, 3, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*flipped, kNames), (Rows{"C", "B", "A"}));
}

TEST(CanvasStretchBlt, MirroringInPlaceTwiceGivesThePictureBack) {
    auto canvas = Lettered(3, 3);
    auto original = Picture(*canvas, kNames);
    canvas->StretchBlt(3, 0, -3, 3, canvas.get(), 0, 0, 3, 3, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"CBA", "FED", "IHG"}));
    canvas->StretchBlt(3, 0, -3, 3, canvas.get(), 0, 0, 3, 3, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*canvas, kNames), original);
}

TEST(CanvasStretchBlt, StretchesOverARectangleAndClips) {
    auto src = Lettered(2, 1);
    auto dst = White(4, 3);
    dst->StretchBlt(1, 1, 2, 2, src.get(), 0, 0, 1, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"WWWW", "WAAW", "WAAW"}));
    dst->StretchBlt(-2, 0, 4, 1, src.get(), 0, 0, 2, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames)[0], "BBWW");
    // Source columns past the source's edge leave the destination as it was.
    dst->StretchBlt(0, 2, 4, 1, src.get(), 1, 0, 2, 1, RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames)[2], "BBAW");
}

TEST(CanvasStretchBlt, BlacknessCoversTheMirroredSpan) {
    auto dst = White(4, 1);
    dst->StretchBlt(3, 0, -2, 1, nullptr, 0, 0, 0, 0, RasterOp::Blackness);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"W..W"}));
    auto src = Lettered(2, 2);
    dst->StretchBlt(0, 0, 0, 1, src.get(), 0, 0, 2, 2, RasterOp::SrcCopy);
    dst->StretchBlt(0, 0, 4, 1, src.get(), 0, 0, 0, 2, RasterOp::SrcCopy);
    dst->StretchBlt(INT_MIN, INT_MIN, INT_MIN, INT_MIN, src.get(), INT_MAX, INT_MAX, INT_MIN, INT_MIN,
                    RasterOp::SrcCopy);
    EXPECT_EQ(Picture(*dst, kNames), (Rows{"W..W"}));
}

TEST(CanvasPixels, OutsideTheSurfaceIsInvalid) {
    auto canvas = MakeCanvas(2, 2);
    EXPECT_EQ(canvas->SetPixel(1, 0, 0x12345678), 0x00345678u);
    EXPECT_EQ(canvas->GetPixel(1, 0), 0x00345678u);
    EXPECT_EQ(canvas->GetPixel(-1, 0), kInvalidColor);
    EXPECT_EQ(canvas->GetPixel(0, 2), kInvalidColor);
    EXPECT_EQ(canvas->SetPixel(2, 0, kWhite), kInvalidColor);
    EXPECT_EQ(Picture(*canvas), (Rows{".?", ".."}));
}

TEST(CanvasFillRect, PaintsWithoutTheRightAndBottomEdges) {
    auto canvas = MakeCanvas(4, 3);
    canvas->FillRect(Rect{1, 0, 3, 2}, Brush::White());
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{".WW.", ".WW.", "...."}));
    canvas->FillRect(Rect{0, 0, 4, 3}, Brush::Null());
    canvas->FillRect(Rect{3, 0, 1, 2}, Brush::Solid(kRed));
    canvas->FillRect(Rect{0, 2, 4, 2}, Brush::Solid(kRed));
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{".WW.", ".WW.", "...."}));
    canvas->FillRect(Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, Brush::Solid(kRed));
    canvas->FillRect(Rect{1, 1, 2, 2}, Brush::Black());
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"RRRR", "R.RR", "RRRR"}));
}

TEST(CanvasShapes, RectangleHasAPenOutlineAndABrushInside) {
    auto canvas = MakeCanvas(5, 4);
    canvas->SelectPen(Pen::Solid(0, kRed));
    canvas->Rectangle(0, 0, 4, 3);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"RRRR.", "RWWR.", "RRRR.", "....."}));
    auto plain = MakeCanvas(5, 4);
    plain->SelectPen(Pen::Null());
    plain->Rectangle(0, 0, 4, 3);
    EXPECT_EQ(Picture(*plain, kNames), (Rows{"WWW..", "WWW..", ".....", "....."}));
}

TEST(CanvasShapes, EllipseStaysInsideItsBox) {
    auto canvas = MakeCanvas(6, 6);
    canvas->SelectPen(Pen::Solid(1, kRed));
    canvas->Ellipse(0, 0, 5, 5);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{".RRR..", "RWWWR.", "RWWWR.", "RWWWR.", ".RRR..", "......"}));
    auto inverted = MakeCanvas(6, 6);
    inverted->SelectPen(Pen::Solid(1, kRed));
    inverted->Ellipse(5, 5, 0, 0);
    EXPECT_EQ(Picture(*inverted, kNames), Picture(*canvas, kNames));
}

TEST(CanvasShapes, EllipseClipsAndHandlesDegenerateBoxes) {
    auto canvas = MakeCanvas(4, 4);
    canvas->SelectBrush(Brush::Black());
    canvas->Ellipse(-3, -3, 3, 3);
    canvas->Ellipse(2, 2, 2, 9);
    canvas->Ellipse(INT_MIN / 2, 0, INT_MAX / 2, 1);
    EXPECT_EQ(canvas->GetPixel(0, 0), 0u);
    EXPECT_EQ(canvas->GetPixel(3, 3), 0u);
    auto dot = MakeCanvas(3, 3);
    dot->SelectPen(Pen::White());
    dot->Ellipse(1, 1, 2, 2);
    EXPECT_EQ(Picture(*dot, kNames), (Rows{"...", ".W.", "..."}));
}

TEST(CanvasLines, EndPointIsNotDrawnAndBecomesCurrent) {
    auto canvas = MakeCanvas(5, 5);
    canvas->SelectPen(Pen::White());
    canvas->MoveTo(0, 0);
    canvas->LineTo(4, 0);
    EXPECT_EQ(Picture(*canvas, kNames)[0], "WWWW.");
    canvas->LineTo(4, 4);
    canvas->MoveTo(0, 4);
    EXPECT_EQ(canvas->MoveTo(3, 2), (Point{0, 4}));
    canvas->LineTo(0, 2);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"WWWWW", "....W", ".WWWW", "....W", "....."}));
}

TEST(CanvasLines, SlopedLinesStepAlongTheLongerAxis) {
    auto canvas = MakeCanvas(7, 3);
    canvas->SelectPen(Pen::White());
    canvas->MoveTo(0, 0);
    canvas->LineTo(6, 2);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"WW.....", "..WWW..", ".....W."}));
    auto diagonal = MakeCanvas(4, 4);
    diagonal->SelectPen(Pen::White());
    diagonal->MoveTo(3, 0);
    diagonal->LineTo(-1, 4);
    EXPECT_EQ(Picture(*diagonal, kNames), (Rows{"...W", "..W.", ".W..", "W..."}));
}

TEST(CanvasLines, NullPenMovesOnlyAndFarLinesAreClippedQuickly) {
    auto canvas = MakeCanvas(5, 3);
    canvas->SelectPen(Pen::Null());
    canvas->MoveTo(0, 0);
    canvas->LineTo(4, 2);
    EXPECT_EQ(canvas->MoveTo(0, 0), (Point{4, 2}));
    canvas->SelectPen(Pen::White());
    auto start = std::chrono::steady_clock::now();
    canvas->MoveTo(INT_MIN, 1);
    canvas->LineTo(INT_MAX, 1);
    canvas->MoveTo(-2000000000, -2000000000);
    canvas->LineTo(2000000000, 2000000000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"W....", "WWWWW", "..W.."}));
}

TEST(CanvasLines, WidePensDrawSquares) {
    auto canvas = MakeCanvas(5, 4);
    canvas->SelectPen(Pen::Solid(2, kWhite));
    canvas->MoveTo(1, 1);
    canvas->LineTo(3, 1);
    EXPECT_EQ(Picture(*canvas, kNames), (Rows{"WWW..", "WWW..", ".....", "....."}));
}

TEST(CanvasDirty, OnlyPixelsThatTookANewColourAreMarked) {
    auto window = MakeCanvas(100, 100, DirtyTracking::On);
    DirtyRegion* dirty = window->Bitmap()->Dirty();
    // A 5 x 5 star image whose only lit pixels are (1, 2) and (3, 1).
    auto star = MakeCanvas(5, 5);
    star->SetPixel(1, 2, kWhite);
    star->SetPixel(3, 1, kWhite);
    window->BitBlt(40, 40, 5, 5, star.get(), 0, 0, RasterOp::SrcCopy);
    // The rows that changed, across the block.
    EXPECT_EQ(dirty->Collect(), (std::vector<Rect>{{40, 41, 45, 43}}));
    EXPECT_EQ(window->GetPixel(41, 42), kWhite);
    EXPECT_EQ(window->GetPixel(43, 41), kWhite);
    dirty->Clear();
    // Drawn again where it is, the star changes nothing; nor does a pixel set to its own
    // colour.
    window->BitBlt(40, 40, 5, 5, star.get(), 0, 0, RasterOp::SrcCopy);
    window->SetPixel(43, 41, kWhite);
    EXPECT_TRUE(dirty->IsEmpty());
    // Moved one pixel right: the rows that changed, across the new block.
    window->BitBlt(41, 40, 5, 5, star.get(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(dirty->Collect(), (std::vector<Rect>{{41, 41, 46, 43}}));
    dirty->Clear();
    // A large block is marked whole, changed or not.
    auto black = MakeCanvas(70, 70);
    window->BitBlt(0, 0, 70, 70, black.get(), 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(dirty->Collect(), (std::vector<Rect>{{0, 0, 70, 70}}));
}

TEST(CanvasDirty, WindowSurfacesRecordWhatEachOperationTouched) {
    auto window = MakeCanvas(100, 100, DirtyTracking::On);
    auto star = Lettered(3, 3);
    window->BitBlt(40, 40, 3, 3, star.get(), 0, 0, RasterOp::SrcCopy);
    window->SetPixel(99, 0, kWhite);
    window->SetPixel(200, 0, kWhite);
    DirtyRegion* dirty = window->Bitmap()->Dirty();
    ASSERT_NE(dirty, nullptr);
    EXPECT_EQ(dirty->Collect(), (std::vector<Rect>{{99, 0, 100, 1}, {40, 40, 43, 43}}));
    dirty->Clear();
    window->FillRect(Rect{0, 0, 100, 100}, Brush::Null());
    window->BitBlt(0, 0, 0, 0, star.get(), 0, 0, RasterOp::SrcCopy);
    EXPECT_TRUE(dirty->IsEmpty());
    EXPECT_EQ(star->Bitmap()->Dirty(), nullptr);
}

}  // namespace
}  // namespace lumi::gfx
