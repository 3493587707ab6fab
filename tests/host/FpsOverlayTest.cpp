// The -fps display: its figures worked out by hand, drawn once a second in the lower-left
// corner, drawn again only where the sky covered it.
#include "host/FpsOverlay.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfx/DirtyRegion.h"
#include "gfx/Surface.h"

namespace lumi {
namespace {

TEST(FpsOverlay, FiguresAreFramesAndCpuShareOverTheSpan) {
    FpsFigures f = MeasureFps(1000, 25, 50'000);
    EXPECT_DOUBLE_EQ(f.framesPerSecond, 25.0);
    EXPECT_DOUBLE_EQ(f.cpuPercent, 5.0);
    f = MeasureFps(2000, 61, 2'000'000);  // a whole core for two seconds
    EXPECT_DOUBLE_EQ(f.framesPerSecond, 30.5);
    EXPECT_DOUBLE_EQ(f.cpuPercent, 100.0);
    f = MeasureFps(0, 10, 10);
    EXPECT_DOUBLE_EQ(f.framesPerSecond, 0.0);
    EXPECT_DOUBLE_EQ(f.cpuPercent, 0.0);
}

TEST(FpsOverlay, DrawsOnceASecondInTheLowerLeftAndAgainOnlyWhereCovered) {
    auto sky = gfx::Surface::Create(300, 120, gfx::DirtyTracking::On);
    uint64_t cpu = 1'000'000;
    FpsOverlay overlay(sky, [&cpu] { return cpu; });
    gfx::DirtyRegion& dirty = *sky->Dirty();

    overlay.Frame(5000, 100);
    overlay.Frame(5500, 112);
    EXPECT_TRUE(dirty.IsEmpty());  // nothing to say before a second has passed
    EXPECT_STREQ(overlay.FrameLine(), "");

    cpu += 80'000;
    overlay.Frame(6000, 125);
    EXPECT_STREQ(overlay.FrameLine(), "FPS: 25.0");
    EXPECT_STREQ(overlay.LoadLine(), "CPU: 8.0%");
    const gfx::Rect box = overlay.Box();
    EXPECT_EQ(box.left, 8);
    EXPECT_EQ(box.bottom, 112);
    EXPECT_GT(box.Height(), 20);
    // Text pixels inside the box, nothing drawn outside it.
    int lit = 0, litOutside = 0;
    gfx::Point someText{-1, -1};
    for (int y = 0; y < sky->Height(); ++y)
        for (int x = 0; x < sky->Width(); ++x) {
            if (sky->GetPixel(x, y) == 0) continue;
            const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            (inside ? lit : litOutside) += 1;
            if (inside) someText = {x, y};
        }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(litOutside, 0);
    for (const gfx::Rect& r : dirty.Collect()) EXPECT_TRUE(gfx::Intersect(r, box) == r);
    dirty.Clear();

    // A still sky: nothing is drawn again.
    overlay.Frame(6040, 126);
    EXPECT_TRUE(dirty.IsEmpty());
    // The sky erased a star over the figures: they come back.
    sky->SetPixel(someText.x, someText.y, 0);
    overlay.Frame(6080, 127);
    EXPECT_NE(sky->GetPixel(someText.x, someText.y), 0u);
    // A change elsewhere leaves them alone.
    dirty.Clear();
    sky->SetPixel(250, 5, gfx::Rgb(9, 9, 9));
    overlay.Frame(6120, 128);
    EXPECT_EQ(dirty.Collect(), (std::vector<gfx::Rect>{{250, 5, 251, 6}}));
}

}  // namespace
}  // namespace lumi
