// Dirty regions: what is marked must come back covered, tightly, in few disjoint rectangles.
#include "gfx/DirtyRegion.h"

#include <gtest/gtest.h>

#include <random>

#include "RasterTestSupport.h"

namespace lumi::gfx {
namespace {

using Rects = std::vector<Rect>;

TEST(DirtyRegion, MarksComeBackAsTheirOwnBoxesClippedToTheSurface) {
    DirtyRegion region(40, 40);
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_TRUE(region.Collect().empty());
    region.Add(Rect{39, 39, 40, 40});
    EXPECT_EQ(region.Collect(), (Rects{{39, 39, 40, 40}}));
    region.Clear();
    region.Add(Rect{-100, -100, 1, 1});
    region.Add(Rect{40, 0, 50, 10});  // outside
    region.Add(Rect{5, 5, 5, 20});    // empty
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 1, 1}}));
    // Two marks in one tile share its box.
    region.Add(Rect{4, 4, 6, 6});
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 6, 6}}));
    region.Clear();
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_TRUE(region.Collect().empty());
}

TEST(DirtyRegion, ABlitAcrossTileBordersComesBackWhole) {
    DirtyRegion region(200, 100);
    region.Add(Rect{10, 10, 150, 70});
    EXPECT_EQ(region.Collect(), (Rects{{10, 10, 150, 70}}));
    region.AddAll();
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 200, 100}}));
}

TEST(DirtyRegion, NeighboursJoinOnlyWhenThatCostsLessThanARequest) {
    DirtyRegion region(400, 100);
    // 3 x 3 stars in neighbouring tiles: the 15 pixels between them cost less than a put.
    region.Add(Rect{12, 0, 15, 3});
    region.Add(Rect{20, 0, 23, 3});
    // Far apart (the gap alone is 555 pixels): two puts.
    region.Add(Rect{200, 50, 203, 53});
    region.Add(Rect{388, 50, 391, 53});
    EXPECT_EQ(region.Collect(), (Rects{{12, 0, 23, 3}, {200, 50, 203, 53}, {388, 50, 391, 53}}));
    // Where a put costs nothing beyond its pixels, only joins that add none are made.
    region.SetRequestCost(0);
    EXPECT_EQ(region.Collect(), (Rects{{12, 0, 15, 3}, {20, 0, 23, 3}, {200, 50, 203, 53}, {388, 50, 391, 53}}));
    region.Clear();
    region.Add(Rect{0, 0, 9, 3});
    region.Add(Rect{9, 0, 20, 3});
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 20, 3}}));
}

TEST(DirtyRegion, AScrollingBandIsPresentedOnceBesideTheStarsAboveIt) {
    // A bottom line band 30 rows high under a star that shares a tile row with it.
    DirtyRegion region(320, 100);
    region.Add(Rect{0, 70, 320, 100});
    region.Add(Rect{100, 65, 103, 68});
    const Rects& rects = region.Collect();
    int64_t area = 0;
    for (size_t a = 0; a < rects.size(); ++a) {
        area += static_cast<int64_t>(rects[a].Width()) * rects[a].Height();
        for (size_t b = a + 1; b < rects.size(); ++b) EXPECT_TRUE(Intersect(rects[a], rects[b]).IsEmpty());
    }
    auto covered = [&rects](int x, int y) {
        for (const Rect& r : rects)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    };
    EXPECT_TRUE(covered(0, 70) && covered(319, 99) && covered(102, 67));
    // The band's 9600 pixels and the star's, at most the star's tile column down to the
    // band (a tile wide, 5 rows) and one request's worth beside them.
    EXPECT_GE(area, 9600 + 9);
    EXPECT_LE(area, 9600 + DirtyRegion::kTileSize * 5 + DirtyRegion::kRequestCost);
    EXPECT_LE(rects.size(), 5u);
}

TEST(DirtyRegion, TouchesOnlyWhereSomethingWasMarked) {
    DirtyRegion region(100, 100);
    EXPECT_FALSE(region.Touches(Rect{0, 0, 100, 100}));
    region.Add(Rect{50, 50, 52, 52});
    EXPECT_TRUE(region.Touches(Rect{0, 0, 51, 51}));
    EXPECT_FALSE(region.Touches(Rect{0, 0, 50, 100}));   // same tile, left of the mark
    EXPECT_FALSE(region.Touches(Rect{52, 52, 60, 60}));  // same tile, below and right of it
    EXPECT_FALSE(region.Touches(Rect{200, 0, 300, 10}));
}

TEST(DirtyRegion, KnowsWhetherAnythingWasDrawnIntoAPlaceSinceAMoment) {
    DirtyRegion region(64, 48);
    const Rect star{20, 20, 23, 23};  // within the 16 x 16 tile at (16, 16)
    EXPECT_TRUE(region.DrawnSince(star, 0));
    region.Add(star);
    const uint64_t drawn = region.Moment();
    EXPECT_FALSE(region.DrawnSince(star, drawn));
    // Presenting forgets the marks, not when they were drawn.
    region.Clear();
    EXPECT_FALSE(region.DrawnSince(star, drawn));
    region.Add(Rect{40, 20, 41, 21});  // another tile
    region.Add(Rect{0, 0, 100, 10});   // clipped, above
    EXPECT_FALSE(region.DrawnSince(star, drawn));
    EXPECT_FALSE(region.DrawnSince(Rect{200, 200, 210, 210}, drawn));
    region.Add(Rect{31, 31, 32, 32});  // the same tile, beside the star
    EXPECT_TRUE(region.DrawnSince(star, drawn));
    // A scrolling block's drawing is not marked but is drawn all the same.
    const uint64_t beforeBand = region.Moment();
    region.BeginScroll();
    region.Add(Rect{0, 32, 64, 40});
    region.Scrolled(Rect{0, 32, 64, 40}, -2, true);
    EXPECT_TRUE(region.DrawnSince(Rect{10, 38, 11, 39}, beforeBand));
    // A region made later vouches for no moment of another.
    const uint64_t late = region.Moment();
    DirtyRegion other(64, 48);
    EXPECT_TRUE(other.DrawnSince(star, late));
}

TEST(DirtyRegion, WideSurfacesSpanSeveralWordsPerRow) {
    DirtyRegion region(64 * 16 + 70, 33);
    region.Add(Rect{63 * 16, 0, 65 * 16, 1});
    region.Add(Rect{64 * 16 + 69, 32, 64 * 16 + 70, 33});
    EXPECT_EQ(region.Collect(), (Rects{{63 * 16, 0, 65 * 16, 1}, {64 * 16 + 69, 32, 64 * 16 + 70, 33}}));
}

TEST(DirtyRegion, ScatteredMarksComeBackCoveredWithoutOverlap) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        DirtyRegion region(300, 200);
        std::vector<Rect> marked;
        for (int i = 0; i < 40; ++i) {
            int x = static_cast<int>(random() % 320) - 10;
            int y = static_cast<int>(random() % 220) - 10;
            Rect r{x, y, x + 1 + static_cast<int>(random() % 20), y + 1 + static_cast<int>(random() % 20)};
            region.Add(r);
            marked.push_back(r);
        }
        const Rects& rects = region.Collect();
        for (const Rect& r : rects) {
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, 300);
            EXPECT_LE(r.bottom, 200);
        }
        for (size_t a = 0; a < rects.size(); ++a)
            for (size_t b = a + 1; b < rects.size(); ++b) EXPECT_TRUE(Intersect(rects[a], rects[b]).IsEmpty());
        for (const Rect& m : marked) {
            Rect visible = Intersect(m, Rect{0, 0, 300, 200});
            for (int y = visible.top; y < visible.bottom; ++y)
                for (int x = visible.left; x < visible.right; ++x) {
                    bool covered = false;
                    for (const Rect& r : rects) covered = covered || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
                    ASSERT_TRUE(covered) << x << "," << y;
                }
        }
    }
}

TEST(DirtyRegion, AMovedBandIsMovedAndOnlyTheColumnScrolledInIsMarked) {
    DirtyRegion region(64, 32);
    region.SetRequestCost(0);  // no joins beyond those that add no pixels
    // First drawing of a 20 x 6 band entering at the right edge: nothing to move from.
    region.BeginScroll();
    region.Add(Rect{50, 20, 70, 26});  // the drawing's own marks are not taken
    region.Scrolled(Rect{50, 20, 70, 26}, -2, false);
    EXPECT_FALSE(region.PendingScroll().valid);
    EXPECT_EQ(region.Collect(), (Rects{{50, 20, 64, 26}}));
    region.Clear();
    // Two pixels further left, after one present: columns 48..61 are the old 50..63 moved;
    // 62 and 63 show the band's columns the window has not had yet.
    region.BeginScroll();
    region.Add(Rect{48, 20, 68, 26});
    region.Scrolled(Rect{48, 20, 68, 26}, -2, true);
    ASSERT_TRUE(region.PendingScroll().valid);
    EXPECT_EQ(region.PendingScroll().area, (Rect{48, 20, 62, 26}));
    EXPECT_EQ(region.PendingScroll().dx, -2);
    EXPECT_EQ(region.Collect(), (Rects{{62, 20, 64, 26}}));
    EXPECT_TRUE(region.Touches(Rect{0, 25, 49, 32}));
    EXPECT_FALSE(region.Touches(Rect{0, 0, 64, 20}));
    region.Clear();
    EXPECT_TRUE(region.IsEmpty());

    region.BeginScroll();
    region.Scrolled(Rect{46, 20, 66, 26}, -2, true);
    region.Clear();
    // A star drawn over the band after it, at (50, 22), is on the window after the present.
    region.BeginScroll();
    region.Scrolled(Rect{44, 20, 64, 26}, -2, true);
    region.Add(Rect{50, 22, 51, 23});
    EXPECT_EQ(region.Collect(), (Rects{{50, 22, 51, 23}, {62, 20, 64, 26}}));
    region.Clear();
    // The band's right end is on the sky now, so nothing scrolls in. The move carries the
    // star to (48, 22), where the raster shows the band: only that pixel is sent.
    region.BeginScroll();
    region.Scrolled(Rect{42, 20, 62, 26}, -2, true);
    EXPECT_EQ(region.PendingScroll().area, (Rect{42, 20, 62, 26}));
    EXPECT_EQ(region.Collect(), (Rects{{48, 22, 49, 23}}));
    region.Clear();
    // That pixel was a correction, not something drawn over the band: nothing follows it.
    region.BeginScroll();
    region.Scrolled(Rect{40, 20, 60, 26}, -2, true);
    EXPECT_TRUE(region.Collect().empty());
    EXPECT_FALSE(region.IsEmpty());
}

TEST(DirtyRegion, ABandDrawnTwiceBeforeAPresentOrAfterAPauseIsMarkedNotMoved) {
    DirtyRegion region(64, 32);
    region.BeginScroll();
    region.Scrolled(Rect{40, 10, 60, 16}, -2, false);
    region.Clear();
    region.BeginScroll();
    region.Scrolled(Rect{38, 10, 58, 16}, -2, true);
    ASSERT_TRUE(region.PendingScroll().valid);
    // No present in between: the window still shows the picture from before the first.
    region.BeginScroll();
    region.Scrolled(Rect{36, 10, 56, 16}, -2, true);
    EXPECT_FALSE(region.PendingScroll().valid);
    EXPECT_EQ(region.Collect(), (Rects{{36, 10, 58, 16}}));
    region.Clear();
    // Two presents since the last drawing (the band stood still for a tick): marked too.
    region.Clear();
    region.BeginScroll();
    region.Scrolled(Rect{34, 10, 54, 16}, -2, true);
    EXPECT_FALSE(region.PendingScroll().valid);
    region.Clear();
    // Other rows, or the drawer's word that it is not the same picture: marked.
    region.BeginScroll();
    region.Scrolled(Rect{32, 11, 52, 17}, -2, true);
    EXPECT_FALSE(region.PendingScroll().valid);
    region.Clear();
    region.BeginScroll();
    region.Scrolled(Rect{30, 11, 50, 17}, -2, false);
    EXPECT_FALSE(region.PendingScroll().valid);
    region.Clear();
    // A present that keeps its marks sends the block instead of moving it.
    region.BeginScroll();
    region.Scrolled(Rect{28, 11, 48, 17}, -2, true);
    ASSERT_TRUE(region.PendingScroll().valid);
    region.MarkScrollInstead();
    EXPECT_FALSE(region.PendingScroll().valid);
    EXPECT_EQ(region.Collect(), (Rects{{28, 11, 48, 17}}));
}

// A window that shows what a presenter sends it: the move first, then the marks.
struct ModelWindow {
    ModelWindow(int w, int h) : width(w), pixels(static_cast<size_t>(w) * h, 0xDEAD) {}
    void Present(const Surface& raster, DirtyRegion& dirty, bool visible) {
        if (visible && dirty.PendingScroll().valid) {
            const Rect& to = dirty.PendingScroll().area;
            const int dx = dirty.PendingScroll().dx;
            for (int y = to.top; y < to.bottom; ++y) {
                const std::vector<uint32_t> row(pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
                for (int x = to.left; x < to.right; ++x) pixels[static_cast<size_t>(y) * width + x] = row[x - dx];
            }
        }
        if (visible)
            for (const Rect& r : dirty.Collect())
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        pixels[static_cast<size_t>(y) * width + x] = raster.Row(y)[x];
        dirty.Clear();
    }
    void PresentAll(const Surface& raster, DirtyRegion& dirty) {
        dirty.Clear();
        pixels.assign(raster.Data(), raster.Data() + pixels.size());
    }
    int width;
    std::vector<uint32_t> pixels;
};

TEST(DirtyRegion, AWindowFedMovesAndMarksShowsTheRasterWhateverIsDrawnOverTheBand) {
    // A sky with a band scrolling left 2 pixels a tick, stars drawn before and after it
    // (some over it), ticks that draw no band, ticks with no present, presents in the middle
    // of a tick and a window hidden for a while: after every present the window must show
    // exactly the raster.
    constexpr int kW = 97, kH = 40, kBandW = 30, kBandH = 7, kBandY = 28;
    std::mt19937 random(11);
    auto surface = Surface::Create(kW, kH, DirtyTracking::On);
    DirtyRegion& dirty = *surface->Dirty();
    ModelWindow window(kW, kH);
    window.PresentAll(*surface, dirty);
    auto star = [&] {
        const int x = static_cast<int>(random() % (kW + 4)) - 2;
        const int y = random() % 3 == 0 ? kBandY + static_cast<int>(random() % kBandH) - 1
                                        : static_cast<int>(random() % kH);
        const int size = 1 + static_cast<int>(random() % 3);
        const uint32_t colour = static_cast<uint32_t>(random()) & 0xFFFFFFu;
        for (int py = y; py < y + size; ++py)
            for (int px = x; px < x + size; ++px)
                if (surface->Contains(px, py)) surface->Row(py)[px] = colour;
        surface->MarkDirty(Rect{x, y, x + size, y + size});
    };
    int bandX = kW;
    bool shown = false;
    int shownX = 0;
    bool visible = true;
    int presents = 0, moves = 0;
    for (int tick = 0; tick < 3000; ++tick) {
        for (int i = random() % 3; i > 0; --i) star();
        if (random() % 10 != 0) {  // the band stands still now and then
            bandX -= 2;
            if (bandX < -kBandW) bandX = kW;
            dirty.BeginScroll();
            for (int y = kBandY; y < kBandY + kBandH; ++y)
                for (int x = bandX; x < bandX + kBandW; ++x)
                    if (surface->Contains(x, y)) surface->Row(y)[x] = static_cast<uint32_t>((x - bandX) * 7 + y);
            dirty.Scrolled(Rect{bandX, kBandY, bandX + kBandW, kBandY + kBandH}, -2, shown && bandX == shownX - 2);
            moves += dirty.PendingScroll().valid;
            shown = true;
            shownX = bandX;
        }
        if (random() % 8 == 0) {  // a present in the middle of the tick
            window.Present(*surface, dirty, visible);
            ++presents;
        }
        for (int i = random() % 4; i > 0; --i) star();
        if (random() % 50 == 0) {
            visible = !visible;
            if (visible) window.PresentAll(*surface, dirty);
        }
        if (random() % 6 == 0) continue;  // two ticks before the next present
        window.Present(*surface, dirty, visible);
        ++presents;
        if (visible) {
            ASSERT_EQ(window.pixels, std::vector<uint32_t>(surface->Data(), surface->Data() + kW * kH)) << tick;
        }
    }
    // The case under test happened often.
    EXPECT_GT(moves, 1000);
    EXPECT_GT(presents, 2000);
}

}  // namespace
}  // namespace lumi::gfx
