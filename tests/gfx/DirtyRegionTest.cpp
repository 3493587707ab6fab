// Dirty tiles: what is marked must come back covered, in few rectangles, within the surface.
#include "gfx/DirtyRegion.h"

#include <gtest/gtest.h>

#include <random>

#include "RasterTestSupport.h"

namespace lumi::gfx {
namespace {

using Rects = std::vector<Rect>;

TEST(DirtyRegion, MarksWholeTilesClippedToTheSurface) {
    DirtyRegion region(40, 40);
    EXPECT_TRUE(region.IsEmpty());
    EXPECT_TRUE(region.Collect().empty());
    region.Add(Rect{39, 39, 40, 40});
    EXPECT_EQ(region.Collect(), (Rects{{32, 32, 40, 40}}));
    region.Clear();
    region.Add(Rect{-100, -100, 1, 1});
    region.Add(Rect{40, 0, 50, 10});  // outside
    region.Add(Rect{5, 5, 5, 20});    // empty
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 32, 32}}));
}

TEST(DirtyRegion, MergesRunsAlongRowsAndEqualRunsDownColumns) {
    DirtyRegion region(200, 100);
    region.Add(Rect{0, 0, 100, 1});
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 128, 32}}));
    region.Add(Rect{10, 40, 20, 90});
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 128, 32}, {0, 32, 32, 96}}));
    region.Clear();
    // Two columns of tiles side by side with a gap, then a row joining them below.
    region.Add(Rect{0, 0, 1, 64});
    region.Add(Rect{100, 0, 101, 64});
    region.Add(Rect{0, 70, 200, 71});
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 32, 64}, {96, 0, 128, 64}, {0, 64, 200, 96}}));
    region.AddAll();
    EXPECT_EQ(region.Collect(), (Rects{{0, 0, 200, 100}}));
}

TEST(DirtyRegion, WideSurfacesSpanSeveralWordsPerRow) {
    DirtyRegion region(64 * 32 + 70, 33);
    region.Add(Rect{63 * 32, 0, 65 * 32, 1});
    region.Add(Rect{64 * 32 + 69, 32, 64 * 32 + 70, 33});
    EXPECT_EQ(region.Collect(), (Rects{{63 * 32, 0, 65 * 32, 32}, {66 * 32, 32, 64 * 32 + 70, 33}}));
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
