// One whole Universe step on a full-HD sky in its busiest state: all 2,919 stars stepped,
// every message star in flight, twinkles running and the bottom line scrolling at the
// same time (the saver itself holds the line still during a flight, so this is more than
// any real tick does). Counts the heap allocations made inside the steps, which must be
// none, and the log lines written. The step that brings a new message (once a message)
// is left out: it projects the text and may allocate. A second case adds the flying
// picture with a 30-word banner trailing behind it. A third steps the sky at rest, as it
// is most of the time, starting every step with cold caches as the saver does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "sky/SkyDC.h"
#include "support/ErrorReport.h"
#include "scene/StepFlags.h"
#include "scene/Universe.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace {

using namespace lumi;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTickMs = 40;

// Thirty words for the banner, as long as the text allows.
constexpr const char* kThirtyWords =
    "one two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen "
    "sixteen seventeen eighteen nineteen twenty alpha beta gamma delta kappa lambda sigma omega pi mu";

enum class Picture { None, WitchWithBanner };

struct BusySky {
    explicit BusySky(Picture picture = Picture::None) {
        bench::StartWithDefaultMessages("skybench");
        if (picture == Picture::WitchWithBanner) {
            MainIni().WriteIntForUser("FPicture", "Category", 15);
            MainIni().WriteIntForUser("FPicture", "AutoText", 0);
            MainIni().WriteStringForUser("FPicture", "BANNER", kThirtyWords);
        }
        SeedRandom(3);
        // A report left by an earlier run's teardown ("Just the sky" has no picture to
        // destroy) would be shown, logged and stored by this run's first step.
        ResetErrorReports();
        bench::UseScreen(kWidth, kHeight, kTickMs);
        surface = gfx::Surface::Create(kWidth, kHeight, gfx::DirtyTracking::On);
        sky = std::make_unique<gfx::Canvas>(surface);
        SetSkyDC(sky.get());
        universe = std::make_unique<Universe>();
        universe->Create();
        for (const GlyphStar& star : universe->MessageStars()) {
            home.push_back({star.targetX, star.targetY});
            elsewhere.push_back({RandomRange(0, kWidth), RandomRange(1, kHeight)});
        }
        // Every message star on its way from the start.
        for (GlyphStar& star : universe->MessageStars()) star.moveCountdown = star.moveStart;
        // The shooting star past its wait, falling.
        for (int i = 0; i < 30000 / kTickMs; ++i) universe->Shooting().Step();
        // The picture flies long enough for the last of its words to come out.
        if (picture != Picture::None) {
            for (int i = 0; i < 1000; ++i) {
                KeepPictureOnTheSky();
                universe->Step();
            }
        }
    }
    ~BusySky() {
        universe->Destroy();
        SetSkyDC(nullptr);
        ResetMainIni();
    }

    // The picture goes back to the right before it leaves, so it never pauses.
    void KeepPictureOnTheSky() {
        FlyingPicture& flying = universe->Flying();
        if (flying.Flying() && flying.x < 100) flying.x = kWidth - flying.shownWidth - 100;
    }

    // Steps until every message star has arrived; from then on the sky is at rest.
    void Settle() {
        while (universe->MessageStars().front().moveCountdown > 0) {
            KeepLineGoing();
            universe->Step();
        }
        for (int i = 0; i < 10; ++i) universe->Step();
    }

    // The line starts over before it finishes: a finished line brings the next message,
    // whose projection is once-a-message work, not a tick's.
    void KeepLineGoing() {
        BOTTOMLINE& line = universe->BottomLine();
        if (line.scrollOffset > kWidth / 2) line.scrollOffset = 0;
    }

    // Keeps the sky at its busiest between steps; run with the timing paused.
    void KeepBusy() {
        KeepPictureOnTheSky();
        StepFlags().glyphMoved = false;
        KeepLineGoing();
        auto& stars = universe->MessageStars();
        if (stars.front().moveCountdown > stars.front().moveEnd) return;
        // A new flight to the other set of places, as a new message would start one.
        flipped = !flipped;
        for (size_t i = 0; i < stars.size(); ++i) {
            GlyphStar& star = stars[i];
            star.startX = star.x;
            star.startY = star.y;
            const gfx::Point& to = flipped ? elsewhere[i] : home[i];
            star.targetX = to.x;
            star.targetY = to.y;
            star.moveCountdown = star.moveStart;
        }
    }

    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> sky;
    std::unique_ptr<Universe> universe;
    std::vector<gfx::Point> home;
    std::vector<gfx::Point> elsewhere;
    bool flipped = false;
};

void StepBusySky(benchmark::State& state, Picture picture) {
    BusySky busy(picture);
    gfx::DirtyRegion& dirty = *busy.surface->Dirty();
    long allocated = 0;
    long twinkling = 0;
    const uint32_t linesBefore = LogLineCount.load();
    for (auto _ : state) {
        state.PauseTiming();
        busy.KeepBusy();
        dirty.Clear();
        state.ResumeTiming();
        const long before = bench::Allocations();
        busy.universe->Step();
        allocated += bench::Allocations() - before;
    }
    for (const STAR& star : busy.universe->Stars()) twinkling += star.twinkleCountdown > 0;
    for (const GlyphStar& star : busy.universe->MessageStars()) twinkling += star.twinkleCountdown > 0;
    const double steps = static_cast<double>(state.iterations());
    state.counters["allocs/step"] = static_cast<double>(allocated) / steps;
    state.counters["log_lines"] = static_cast<double>(LogLineCount.load() - linesBefore);
    state.counters["twinkling"] = static_cast<double>(twinkling);
    if (picture != Picture::None) {
        int shown = 0;
        const FlyingPicture& flying = busy.universe->Flying();
        for (int i = 0; i < flying.WordCount(); ++i) shown += flying.WordBitmap(i).x != 0;
        state.counters["words_flying"] = shown;
    }
}

void BM_SkyStepFullHd(benchmark::State& state) { StepBusySky(state, Picture::None); }
BENCHMARK(BM_SkyStepFullHd)->Unit(benchmark::kMicrosecond);

void BM_SkyStepFullHdWithFlyingPicture(benchmark::State& state) { StepBusySky(state, Picture::WitchWithBanner); }
BENCHMARK(BM_SkyStepFullHdWithFlyingPicture)->Unit(benchmark::kMicrosecond);

// Between two ticks the saver sleeps for tens of milliseconds and the machine works on:
// the raster is no longer in the caches when the next tick starts. Writing a block larger
// than any cache between the steps measures them as the saver runs them.
struct CacheFlusher {
    std::vector<uint64_t> block = std::vector<uint64_t>(size_t{64} << 20 >> 3);
    void Flush() {
        for (size_t i = 0; i < block.size(); i += 8) block[i] += i;
        benchmark::DoNotOptimize(block.data());
    }
};

// The sky as it is most of the time: the message formed, the bottom line scrolling, a few
// stars twinkling, everything else at rest, and the caches cold at every tick. A star
// drawn again as it stands must cost next to nothing here; marked_px is what the step
// leaves for presenting.
void BM_SkyStepFullHdSettled(benchmark::State& state) {
    BusySky sky;
    sky.Settle();
    gfx::DirtyRegion& dirty = *sky.surface->Dirty();
    CacheFlusher flusher;
    long allocated = 0;
    int64_t marked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sky.KeepLineGoing();
        dirty.Clear();
        flusher.Flush();
        state.ResumeTiming();
        const long before = bench::Allocations();
        sky.universe->Step();
        allocated += bench::Allocations() - before;
        state.PauseTiming();
        for (const gfx::Rect& r : dirty.Collect()) marked += int64_t{r.Width()} * r.Height();
        state.ResumeTiming();
    }
    const double steps = static_cast<double>(state.iterations());
    state.counters["allocs/step"] = static_cast<double>(allocated) / steps;
    state.counters["marked_px"] = static_cast<double>(marked) / steps;
}
BENCHMARK(BM_SkyStepFullHdSettled)->Unit(benchmark::kMicrosecond);

// The flying picture's own share of a step: its erase and draw, and thirty words moved.
void BM_FlyingPictureStepFullHd(benchmark::State& state) {
    BusySky busy(Picture::WitchWithBanner);
    gfx::DirtyRegion& dirty = *busy.surface->Dirty();
    long allocated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        busy.KeepPictureOnTheSky();
        dirty.Clear();
        state.ResumeTiming();
        const long before = bench::Allocations();
        busy.universe->Flying().Step();
        allocated += bench::Allocations() - before;
    }
    state.counters["allocs/step"] = static_cast<double>(allocated) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FlyingPictureStepFullHd)->Unit(benchmark::kMicrosecond);

}  // namespace
