// What a tick asks the window system to show, against what it changed, on a full-HD sky
// run as the saver runs it: the first message flies in and forms, stars twinkle, the
// bottom line scrolls, the next message comes. Per tick it counts
//   differing:  pixels whose colour the step changed;
//   presented:  pixels in the dirty rectangles a shell presents, and the rectangles (one
//               put each), for several costs of a put in pixels (request_cost);
//   moved:      pixels the window system moves within the window (the bottom line's
//               scroll), which cost no transfer;
//   wrong:      pixels where a window fed those moves and puts differs from the raster
//               after the present (must be 0).
// The time measured is collecting the rectangles. (Pixels drawn in the colour they had
// are not marked, so what was drawn but not changed cannot be told from the raster.)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "scene/Universe.h"
#include "settings/IniFile.h"
#include "sky/SkyDC.h"
#include "base/Log.h"
#include "base/Random.h"

namespace {

using namespace lumi;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTickMs = 40;

struct RunningSky {
    RunningSky() {
        bench::StartWithDefaultMessages("presentbench");
        SeedRandom(5);
        bench::UseScreen(kWidth, kHeight, kTickMs);
        surface = gfx::Surface::Create(kWidth, kHeight, gfx::DirtyTracking::On);
        sky = std::make_unique<gfx::Canvas>(surface);
        SetSkyDC(sky.get());
        universe = std::make_unique<Universe>();
        universe->Create();
        shown.assign(surface->Data(), surface->Data() + static_cast<size_t>(kWidth) * kHeight);
        surface->Dirty()->Clear();
    }
    ~RunningSky() {
        universe->Destroy();
        SetSkyDC(nullptr);
        ResetMainIni();
    }

    // One step; counts the pixels that changed colour, and keeps the picture.
    void Step(long& differing) {
        universe->Step();
        const uint32_t* pixels = surface->Data();
        differing = 0;
        for (size_t i = 0; i < shown.size(); ++i) {
            differing += pixels[i] != shown[i];
            shown[i] = pixels[i];
        }
    }

    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> sky;
    std::unique_ptr<Universe> universe;
    std::vector<uint32_t> shown;  // what the raster held after the last step
};

// What a window shows when fed a presenter's move and puts.
struct Window {
    Window() : pixels(static_cast<size_t>(kWidth) * kHeight, 0) {}
    // Pixels moved.
    long Move(const gfx::DirtyRegion::Scroll& scroll) {
        if (!scroll.valid) return 0;
        const gfx::Rect& to = scroll.area;
        for (int y = to.top; y < to.bottom; ++y) {
            uint32_t* row = &pixels[static_cast<size_t>(y) * kWidth];
            std::copy(row + to.left - scroll.dx, row + to.right - scroll.dx, scratch);
            std::copy(scratch, scratch + to.Width(), row + to.left);
        }
        return static_cast<long>(to.Width()) * to.Height();
    }
    void Put(const gfx::Surface& raster, const gfx::Rect& r) {
        for (int y = r.top; y < r.bottom; ++y)
            std::copy(raster.Row(y) + r.left, raster.Row(y) + r.right, &pixels[static_cast<size_t>(y) * kWidth + r.left]);
    }
    long Wrong(const gfx::Surface& raster) const {
        long wrong = 0;
        for (size_t i = 0; i < pixels.size(); ++i) wrong += pixels[i] != raster.Data()[i];
        return wrong;
    }
    std::vector<uint32_t> pixels;
    uint32_t scratch[kWidth];
};

void BM_PresentedPixelsPerTick(benchmark::State& state) {
    RunningSky run;
    gfx::DirtyRegion& dirty = *run.surface->Dirty();
    dirty.SetRequestCost(static_cast<int>(state.range(0)));
    double differing = 0, presented = 0, rects = 0, moved = 0;
    long idleTicks = 0, wrong = 0, tick = 0;
    auto window = std::make_unique<Window>();
    window->pixels = run.shown;
    for (auto _ : state) {
        state.PauseTiming();
        long differingNow = 0;
        run.Step(differingNow);
        differing += static_cast<double>(differingNow);
        state.ResumeTiming();
        const std::vector<gfx::Rect>& collected = dirty.Collect();
        benchmark::DoNotOptimize(collected.data());
        state.PauseTiming();
        moved += static_cast<double>(window->Move(dirty.PendingScroll()));
        for (const gfx::Rect& r : collected) {
            presented += static_cast<double>(r.Width()) * r.Height();
            window->Put(*run.surface, r);
        }
        // Every 10th tick: comparing the whole screen is slow.
        if (++tick % 10 == 0) wrong += window->Wrong(*run.surface);
        rects += static_cast<double>(collected.size());
        idleTicks += dirty.IsEmpty();
        dirty.Clear();
        state.ResumeTiming();
    }
    const double ticks = static_cast<double>(state.iterations());
    state.counters["differing/tick"] = differing / ticks;
    state.counters["presented/tick"] = presented / ticks;
    state.counters["rects/tick"] = rects / ticks;
    state.counters["moved/tick"] = moved / ticks;
    state.counters["presented/differing"] = differing > 0 ? presented / differing : 0;
    state.counters["wrong_pixels"] = static_cast<double>(wrong);
    state.counters["idle_ticks"] = static_cast<double>(idleTicks);
}
// 3,000 ticks: two minutes of sky at 40 ms a tick, from the first flight on.
BENCHMARK(BM_PresentedPixelsPerTick)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(3000)
    ->Arg(0)
    ->Arg(64)
    ->Arg(gfx::DirtyRegion::kRequestCost)
    ->Arg(1024)
    ->ArgName("request_cost");

}  // namespace

