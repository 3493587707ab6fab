// What a tick asks the window system to show, against what it really changed, on a
// full-HD sky run as the saver runs it: the first message flies in and forms, stars
// twinkle, the bottom line scrolls, the next message comes. Per tick it counts the pixels
// that differ from the tick before, the pixels in the dirty rectangles a shell presents,
// and the rectangles (one put each); the time measured is collecting those rectangles.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
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

std::string FreshSettingsFolder() {
    char pattern[] = "/tmp/lumi-presentbench-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? std::string(made) + "/" : std::string("$DISABLE");
}

struct RunningSky {
    RunningSky() {
        const std::string folder = FreshSettingsFolder();
        RestartLogAt(folder + "log.txt");
        ResetMainIni();
        MainIni().Init(folder, "Lumivan.ini");
        ResetMessageStore();
        TheMessageStore().WriteDefaults();
        ResetMessageStore();
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

    // Pixels that differ from what the window shows; brings the copy up to date.
    long CountChanged() {
        long changed = 0;
        for (int y = 0; y < kHeight; ++y) {
            const uint32_t* row = surface->Row(y);
            uint32_t* seen = &shown[static_cast<size_t>(y) * kWidth];
            if (std::memcmp(row, seen, kWidth * sizeof(uint32_t)) == 0) continue;
            for (int x = 0; x < kWidth; ++x) {
                if (row[x] != seen[x]) {
                    ++changed;
                    seen[x] = row[x];
                }
            }
        }
        return changed;
    }

    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> sky;
    std::unique_ptr<Universe> universe;
    std::vector<uint32_t> shown;  // what the window shows after the last present
};

void BM_PresentedPixelsPerTick(benchmark::State& state) {
    RunningSky run;
    gfx::DirtyRegion& dirty = *run.surface->Dirty();
    double changed = 0, presented = 0, rects = 0;
    long idleTicks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        run.universe->Step();
        changed += static_cast<double>(run.CountChanged());
        state.ResumeTiming();
        const std::vector<gfx::Rect>& collected = dirty.Collect();
        benchmark::DoNotOptimize(collected.data());
        state.PauseTiming();
        for (const gfx::Rect& r : collected) presented += static_cast<double>(r.Width()) * r.Height();
        rects += static_cast<double>(collected.size());
        idleTicks += collected.empty();
        dirty.Clear();
        state.ResumeTiming();
    }
    const double ticks = static_cast<double>(state.iterations());
    state.counters["changed/tick"] = changed / ticks;
    state.counters["presented/tick"] = presented / ticks;
    state.counters["rects/tick"] = rects / ticks;
    state.counters["presented/changed"] = changed > 0 ? presented / changed : 0;
    state.counters["idle_ticks"] = static_cast<double>(idleTicks);
}
// 3,000 ticks: two minutes of sky at 40 ms a tick, from the first flight on.
BENCHMARK(BM_PresentedPixelsPerTick)->Unit(benchmark::kMicrosecond)->Iterations(3000);

}  // namespace
