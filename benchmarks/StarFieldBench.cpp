// One scene step of the star field on a full-HD window surface: 2,723 message stars in
// flight and 196 fixed stars, drawn through the palette with dirty tracking, then the
// dirty region collected as the shell does before presenting. Also counts the heap
// allocations made while stepping, which must be none.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "scene/MessageCanvas.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/Stars.h"
#include "scene/StepFlags.h"
#include "scene/TextToStars.h"
#include "base/Log.h"
#include "base/Random.h"

namespace {

using namespace lumi;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTickMs = 60;

struct StarField {
    StarField() {
        SeedRandom(11);
        bench::UseScreen(kWidth, kHeight, kTickMs);
        sky = std::make_unique<gfx::Canvas>(gfx::Surface::Create(kWidth, kHeight, gfx::DirtyTracking::On));
        SetSkyDC(sky.get());
        SkyMatrix.Create(kWidth, kHeight);
        SkyMatrix.Fill(1500, 100, 220, 220, SpaceMatrixClass::kMoon);

        // A message of about 3,000 lit pixels, so every message star has a target.
        gfx::Canvas& message = MessageCanvas().NewContext(sky.get());
        message.SelectBitmap(gfx::Canvas::CreateCompatibleBitmap(sky.get(), 150, 30));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 150; ++x)
                if ((x + y) % 3 != 0) message.SetPixel(x, y, gfx::Rgb(255, 255, 255));
        MessageCanvas().canvasWidth = 150;
        MessageCanvas().canvasHeight = 30;
        Text2Pixel();

        messageStars.resize(2723);
        for (GlyphStar& star : messageStars) star.Create(30, 45);
        stars.resize(196);
        for (STAR& star : stars)
            star.Create(15, 30, 40000 / kTickMs, sky.get(), SaverRun().ScreenRect, 20000 / kTickMs, 2000 / kTickMs);

        // Two sets of targets to fly between, so that the stars are always on their way.
        for (const GlyphStar& star : messageStars) {
            message1.push_back(gfx::Point{star.targetX, star.targetY});
            message2.push_back(gfx::Point{RandomRange(0, kWidth), RandomRange(1, kHeight)});
        }
    }
    ~StarField() {
        for (size_t i = 0; i < stars.size() + messageStars.size(); ++i) StarPalette().Destroy();
        SkyMatrix.Destroy();
        ResetMessageCanvas();
        SetSkyDC(nullptr);
    }

    void Step() {
        StarStepFlags& flags = StepFlags();
        flags.retarget = false;
        flags.glyphMoved = false;
        flags.twinklePick = RandomRange(0, 40000 / kTickMs);
        if (messageStars.front().moveCountdown == 0) {
            flipped = !flipped;
            const std::vector<gfx::Point>& next = flipped ? message2 : message1;
            for (size_t i = 0; i < messageStars.size(); ++i) {
                messageStars[i].targetX = next[i].x;
                messageStars[i].targetY = next[i].y;
            }
            flags.retarget = true;
        }
        for (GlyphStar& star : messageStars) star.Step();
        flags.twinklePick = RandomRange(0, 40000 / kTickMs);
        for (STAR& star : stars) star.Step();
    }

    std::unique_ptr<gfx::Canvas> sky;
    std::vector<GlyphStar> messageStars;
    std::vector<STAR> stars;
    std::vector<gfx::Point> message1, message2;
    bool flipped = false;
};

void BM_StarFieldStep(benchmark::State& state) {
    StarField field;
    gfx::DirtyRegion& dirty = *field.sky->Bitmap()->Dirty();
    long allocated = 0;
    const uint32_t linesBefore = LogLineCount.load();
    for (auto _ : state) {
        const long before = bench::Allocations();
        field.Step();
        allocated += bench::Allocations() - before;
        dirty.Clear();
    }
    state.counters["allocs/step"] = static_cast<double>(allocated) / static_cast<double>(state.iterations());
    state.counters["log_lines"] = static_cast<double>(LogLineCount.load() - linesBefore);
}
BENCHMARK(BM_StarFieldStep)->Unit(benchmark::kNanosecond);

// The same step followed by what the shell does before presenting.
void BM_StarFieldStepAndCollect(benchmark::State& state) {
    StarField field;
    gfx::DirtyRegion& dirty = *field.sky->Bitmap()->Dirty();
    size_t rects = 0;
    for (auto _ : state) {
        field.Step();
        rects = dirty.Collect().size();
        benchmark::DoNotOptimize(rects);
        dirty.Clear();
    }
    state.counters["rects"] = static_cast<double>(rects);
}
BENCHMARK(BM_StarFieldStepAndCollect)->Unit(benchmark::kNanosecond);

}  // namespace
