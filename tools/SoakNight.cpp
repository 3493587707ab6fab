// A simulated night: the real saver session on the headless window and a fake clock, run
// for hours of fake time at the saver's own tick period, reporting once per fake hour how
// much memory the process holds, how far the log has got and whether any error text came
// up. Run by tools/soak.sh; not part of the tests (a full night takes a long while).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "base/FakeClock.h"
#include "base/Log.h"
#include "base/Random.h"
#include "gfx/Surface.h"
#include "host/CommandLine.h"
#include "host/ProgramParts.h"
#include "host/SaverSession.h"
#include "moon/Moon.h"
#include "platform/Startup.h"
#include "scene/Universe.h"
#include "shell/headless/HeadlessRun.h"
#include "support/ErrorReport.h"

namespace {

// Resident and peak resident memory of this process, in KiB, as the kernel counts them.
struct Memory {
    long rssKb = -1;
    long peakKb = -1;
};

Memory ReadMemory() {
    Memory m;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) m.rssKb = std::atol(line.c_str() + 6);
        if (line.rfind("VmHWM:", 0) == 0) m.peakKb = std::atol(line.c_str() + 6);
    }
    return m;
}

// The Universe, stepped as the session steps it, with what a night shows counted on the
// way: error texts waiting for the corner of the sky (looked at before each step, since
// the step takes them), messages changing, the moon moving and shooting stars falling.
class WatchedSky : public lumi::SkyScene {
public:
    explicit WatchedSky(lumi::Universe& sky) : sky_(sky) {}

    void Create() override { sky_.Create(); }
    void Step() override {
        LookForErrors();
        sky_.Step();
        ++steps;
        if (sky_.MessageText() != lastMessage_) {
            ++messages;
            lastMessage_ = sky_.MessageText();
        }
        const int moonX = lumi::TheMoon().MoonBmp.x;
        if (moonX != lastMoonX_) ++moonMoves;
        lastMoonX_ = moonX;
        const int age = sky_.Shooting().Age();
        if (age < lastAge_) ++shootingStars;
        lastAge_ = age;
    }
    void Destroy() override {
        LookForErrors();
        sky_.Destroy();
    }

    void LookForErrors() {
        const std::string pending = lumi::PendingErrorText();
        if (pending.empty() || pending == lastError_) return;
        ++errors;
        lastError_ = pending;
        if (firstErrors.size() < 400) firstErrors += (firstErrors.empty() ? "" : " | ") + pending;
    }

    long steps = 0, messages = 0, moonMoves = 0, shootingStars = 0, errors = 0;
    std::string firstErrors;

private:
    lumi::Universe& sky_;
    std::string lastMessage_, lastError_;
    int lastMoonX_ = -1;
    int lastAge_ = 0;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: SoakNight FOLDER [--hours N] [--size WxH] [--at TIME] [--seed N]\n"
                 "  FOLDER holds the run's settings file and log (made if missing)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    lumi::platform::StartPlatform();
    if (argc < 2) return Usage();
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    long hours = 24;
    int width = 1024, height = 768;
    uint32_t seed = 11;
    lumi::AtTime at;
    if (!lumi::ParseAtTime("2024-10-16T18:00Z", at)) return 1;  // a full moon on a Wednesday evening
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--hours") {
            hours = std::atol(value);
        } else if (option == "--size") {
            if (std::sscanf(value, "%dx%d", &width, &height) != 2) return Usage();
        } else if (option == "--at") {
            if (!lumi::ParseAtTime(value, at)) return Usage();
        } else if (option == "--seed") {
            seed = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
        } else {
            return Usage();
        }
    }
    if (hours < 1 || width < 1 || height < 1) return Usage();
    mkdir(folder.c_str(), 0700);

    lumi::FakeClock clock(0, 0);
    int64_t start = 0;
    if (!lumi::ResolveAtTime(at, clock, start)) return Usage();
    clock.SetUtcMilliseconds(start * 1000);
    lumi::SetClock(&clock);
    lumi::SeedRandom(seed);
    const std::string logPath = folder + "soak.log.txt";
    lumi::RestartLogAt(logPath);

    std::shared_ptr<lumi::gfx::Surface> surface =
        lumi::gfx::Surface::Create(width, height, lumi::gfx::DirtyTracking::On);
    if (!surface) return 1;
    lumi::HeadlessHost host(clock, surface);
    WatchedSky sky(lumi::TheUniverse());
    auto session = std::make_unique<lumi::SaverSession>(host, sky, lumi::ProgramSaverParts(),
                                                        lumi::WindowRole::FullScreen, lumi::PasswordMode::System,
                                                        clock, lumi::SaverSettingsFile{folder, "Lumivan.ini"});
    lumi::BindProgramParts(&host);
    session->Create();
    session->Erase(host.EraseTarget());

    std::printf("%5s %9s %10s %10s %9s %8s %10s %8s %6s\n", "hour", "ticks", "rss_KiB", "peak_KiB", "log_lines",
                "messages", "moon_moves", "shooting", "errors");
    const uint32_t firstTick = clock.TickCount();
    long ticks = 0;
    for (long hour = 1; hour <= hours && !session->Ended(); ++hour) {
        const uint32_t hourEnds = firstTick + static_cast<uint32_t>(hour * 3600 * 1000);
        while (!session->Ended() && static_cast<int32_t>(clock.TickCount() - hourEnds) < 0) {
            const long wait = host.Timers().MsUntilDue(clock.TickCount());
            if (wait < 0) break;
            clock.Advance(wait);
            session->RunDueTimers();
            if (lumi::gfx::DirtyRegion* dirty = surface->Dirty()) dirty->Clear();
            ++ticks;
        }
        const Memory m = ReadMemory();
        std::printf("%5ld %9ld %10ld %10ld %9u %8ld %10ld %8ld %6ld\n", hour, ticks, m.rssKb, m.peakKb,
                    lumi::LogLineCount.load(), sky.messages, sky.moonMoves, sky.shootingStars, sky.errors);
        std::fflush(stdout);
    }
    const bool ranThrough = !session->Ended();
    session->RequestClose();
    lumi::BindProgramParts(nullptr);
    session.reset();
    sky.LookForErrors();
    // The log's closing lines at exit read the clock: give it the real one back first.
    lumi::SetClock(nullptr);
    std::printf("ticks %ld, steps %ld, ran through: %s\n", ticks, sky.steps, ranThrough ? "yes" : "no");
    std::printf("error texts: %ld%s%s\n", sky.errors, sky.firstErrors.empty() ? "" : ": ", sky.firstErrors.c_str());
    std::printf("log: %s\n", logPath.c_str());
    return ranThrough && sky.errors == 0 ? 0 : 1;
}
