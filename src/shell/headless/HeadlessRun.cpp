// The headless runner: a saver session on a surface and a fake clock, written as a PNG.
#include "shell/headless/HeadlessRun.h"

#include <cstdio>
#include <vector>

#include "gfx/PngWriter.h"
#include "gfx/Surface.h"
#include "host/ProgramParts.h"
#include "base/FakeClock.h"
#include "platform/SystemClock.h"
#include "base/Log.h"
#include "base/Random.h"
#include "mail/NewMail.h"
#include "platform/OverlayProfileStore.h"
#include "settings/IniFile.h"
#include "sky/SkyErrors.h"

namespace lumi {

namespace {

// The run's clock replaces the program's for as long as the run lasts, so every part of
// the sky reads the same fake time.
class ClockOverride {
public:
    explicit ClockOverride(Clock& clock) { SetClock(&clock); }
    ~ClockOverride() { SetClock(nullptr); }
    ClockOverride(const ClockOverride&) = delete;
    ClockOverride& operator=(const ClockOverride&) = delete;
};

// Minutes to add to local time to get UTC at that moment, in the machine's zone (the fake
// clock keeps one offset for the whole run).
long BiasAt(int64_t utcSeconds) {
    const LocalTime local = SystemClock().ToLocal(utcSeconds);
    const int64_t localAsUtc = DaysFromCivil(local.year + 1900, local.month + 1, local.day) * 86400 +
                               local.hour * 3600 + local.minute * 60 + local.second;
    return static_cast<long>((utcSeconds - localAsUtc) / 60);
}

// A snapshot reads the user's settings but leaves the files as they were: what the run
// writes (its bookkeeping, the day's timing calibration, error reports) lives in memory
// and goes with the run, so a real saver run later finds the files untouched.
class SettingsReadOnly {
public:
    SettingsReadOnly() : overlay_(PlatformProfileStore()) { ResetMainIni(&overlay_); }
    ~SettingsReadOnly() { ResetMainIni(); }
    SettingsReadOnly(const SettingsReadOnly&) = delete;
    SettingsReadOnly& operator=(const SettingsReadOnly&) = delete;

private:
    OverlayProfileStore overlay_;
};

}  // namespace

HeadlessHost::HeadlessHost(Clock& clock, std::shared_ptr<gfx::Surface> surface)
    : SurfaceHost(clock, std::move(surface)) {
    const SkyRect r = ClientRect();
    cursor_ = {r.right / 2, r.bottom / 2};
}

WindowHandle HeadlessHost::Window() {
    // Not a window of any window system, but nonzero: a null owner means "no window".
    return reinterpret_cast<WindowHandle>(this);
}

int RunSnapshot(const SnapshotOptions& options, SkyScene& scene, SaverParts& parts, SaverSettingsFile settings) {
    if (options.file.empty() || options.width < 1 || options.height < 1 ||
        options.width > SnapshotOptions::kMaxSide || options.height > SnapshotOptions::kMaxSide ||
        options.ticks < 0 || options.ticks > SnapshotOptions::kMaxTicks) {
        std::fprintf(stderr, "lumivane: --snapshot needs a file, a size of 1 to %d pixels a side and 0 to %ld ticks\n",
                     SnapshotOptions::kMaxSide, SnapshotOptions::kMaxTicks);
        return 2;
    }
    int64_t start = SystemClock().UtcNow();
    if (options.hasAt && !ResolveAtTime(options.at, SystemClock(), start)) {
        std::fprintf(stderr, "lumivane: --at: the sky's clock runs from 1970 to 2038 only\n");
        return 2;
    }
    std::shared_ptr<gfx::Surface> surface =
        gfx::Surface::Create(options.width, options.height, gfx::DirtyTracking::On);
    if (!surface) {
        std::fprintf(stderr, "lumivane: not enough memory for a %dx%d sky\n", options.width, options.height);
        return 1;
    }

    // A picture of the sky must not talk to the user's mail server.
    SuppressMailForProcess();
    FakeClock clock(start * 1000, BiasAt(start));
    ClockOverride useClock(clock);
    if (options.hasSeed) SeedRandom(options.seed);
    AppLog().Info.Log("snapshot", options.file);

    SettingsReadOnly settingsReadOnly;  // outlives the session, which writes as it closes
    InstallSkyErrorPainter();
    HeadlessHost host(clock, surface);
    SaverSession session(host, scene, parts, WindowRole::FullScreen, PasswordMode::System, clock,
                         std::move(settings));
    // The program's parts read the hot corners through this window; without a pause the
    // start-up effect's frames pass on the fake clock.
    BindProgramParts(&host);
    session.Create();
    session.Erase(host.EraseTarget());
    long ticks = 0;
    while (ticks < options.ticks && !session.Ended()) {
        const long wait = host.Timers().MsUntilDue(clock.TickCount());
        if (wait < 0) break;  // no timer: the run was stopped at its start (a hot corner)
        clock.Advance(wait);
        session.RunDueTimers();
        // Nothing presents this window; what changed needs no remembering.
        if (gfx::DirtyRegion* dirty = surface->Dirty()) dirty->Clear();
        ++ticks;
    }

    const std::vector<uint32_t> pixels = surface->ReadPixels();
    const std::vector<uint8_t> png =
        gfx::EncodePng(surface->Width(), surface->Height(), pixels.data(), static_cast<size_t>(surface->Width()));
    const bool written = gfx::WriteEncodedImage(options.file, png);
    // Closed after the picture is taken, so the closing joke never lands in it; the close
    // and the teardown still run as in every real run.
    session.RequestClose();
    BindProgramParts(nullptr);

    if (!written) {
        std::fprintf(stderr, "lumivane: cannot write %s\n", options.file.c_str());
        AppLog().Error.Log("snapshot", "cannot write the picture");
        return 1;
    }
    std::printf("lumivane: wrote %s (%dx%d, ticks: %ld)\n", options.file.c_str(), surface->Width(),
                surface->Height(), ticks);
    return 0;
}

}  // namespace lumi
