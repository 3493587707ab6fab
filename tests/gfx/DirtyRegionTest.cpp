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

}  // namespace
}  // namespace lumi::gfx
