// One Universe step on a full-HD sky with dirty tracking, as the saver window runs it once
// per tick, followed by the shell's collection of what changed.
#include <benchmark/benchmark.h>

#include <memory>

#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "sky/SkyDC.h"
#include "scene/Universe.h"
#include "settings/IniFile.h"
#include "base/Random.h"

namespace {

using namespace lumi;

void BM_UniverseStepFullHd(benchmark::State& state) {
    // No settings file: every setting reads its default and nothing is written.
    MainIni().Init("$DISABLE", "Lumivan.ini");
    SeedRandom(3);
    auto surface = gfx::Surface::Create(1920, 1080, gfx::DirtyTracking::On);
    gfx::Canvas canvas(surface);
    SetSkyDC(&canvas);
    SaverRun().ScreenRect = {0, 0, 1920, 1080};
    SaverRun().RealTickTime = 40;

    Universe universe;
    universe.Create();
    for (auto _ : state) {
        universe.Step();
        if (gfx::DirtyRegion* dirty = surface->Dirty()) dirty->Clear();
    }
    universe.Destroy();
    SetSkyDC(nullptr);
}
BENCHMARK(BM_UniverseStepFullHd);

}  // namespace
