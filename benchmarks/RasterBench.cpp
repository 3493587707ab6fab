// One tick's worth of sky drawing on a full-HD window surface: 2,919 stars plotted (small
// images blitted from memory bitmaps, faint ones as single pixels), a scrolling text line,
// then the dirty region collected and cleared as the shell does before presenting.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "gfx/Canvas.h"

namespace {

using namespace lumi::gfx;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kStars = 2723 + 196;

struct Sky {
    Sky() : window(Surface::Create(kWidth, kHeight, DirtyTracking::On)) {
        for (int size : {3, 5, 7}) {
            auto image = Canvas::CreateCompatible(&window);
            image->SelectBitmap(Canvas::CreateCompatibleBitmap(&window, size, size));
            image->FillRect(Rect{0, 0, size, size}, Brush::Solid(Rgb(200, 200, 255)));
            images.push_back(std::move(image));
        }
        line = Canvas::CreateCompatible(&window);
        line->SelectBitmap(Canvas::CreateCompatibleBitmap(&window, 900, 18));
        line->FillRect(Rect{0, 0, 900, 18}, Brush::Solid(Rgb(255, 255, 0)));
        std::mt19937 random(1);
        for (int i = 0; i < kStars; ++i)
            stars.push_back(Star{static_cast<int>(random() % kWidth), static_cast<int>(random() % kHeight),
                                 static_cast<int>(random() % 4)});
    }

    void Tick(int tick) {
        for (const Star& s : stars) {
            if (s.kind == 0) {
                window.SetPixel(s.x, s.y, Rgb(200, 200, 200));
            } else {
                int size = 2 * s.kind + 1;
                window.BitBlt(s.x - s.kind, s.y - s.kind, size, size, images[s.kind - 1].get(), 0, 0,
                              RasterOp::SrcCopy);
            }
        }
        window.BitBlt(kWidth - 2 * (tick % 1000), kHeight - 23, 900, 18, line.get(), 0, 0, RasterOp::SrcCopy);
    }

    struct Star {
        int x, y, kind;
    };
    Canvas window;
    std::vector<std::unique_ptr<Canvas>> images;
    std::unique_ptr<Canvas> line;
    std::vector<Star> stars;
};

void BM_TickOfStarsWithDirtyRegion(benchmark::State& state) {
    Sky sky;
    DirtyRegion& dirty = *sky.window.Bitmap()->Dirty();
    int tick = 0;
    size_t rects = 0;
    for (auto _ : state) {
        sky.Tick(tick++);
        rects = dirty.Collect().size();
        benchmark::DoNotOptimize(rects);
        dirty.Clear();
    }
    state.counters["rects"] = static_cast<double>(rects);
}
BENCHMARK(BM_TickOfStarsWithDirtyRegion)->Unit(benchmark::kMicrosecond);

// The same plots into a quiet part of the sky: a few hundred stars in one corner, as when
// only the message stars move.
void BM_CollectAfterSparsePlots(benchmark::State& state) {
    Sky sky;
    DirtyRegion& dirty = *sky.window.Bitmap()->Dirty();
    for (auto _ : state) {
        for (int i = 0; i < 300; ++i) sky.window.SetPixel(i % 200, i / 2, Rgb(255, 255, 255));
        benchmark::DoNotOptimize(dirty.Collect().size());
        dirty.Clear();
    }
}
BENCHMARK(BM_CollectAfterSparsePlots)->Unit(benchmark::kMicrosecond);

}  // namespace
