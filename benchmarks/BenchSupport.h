// What the benchmark programs share: a count of the heap allocations made while a step
// runs, and a saver run set to a screen of a given size and tick.
//
// Include this from the one source file of a benchmark program only: it replaces the
// global operator new, which a program may define once.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <unistd.h>

#include "base/Log.h"
#include "content/MessageStore.h"
#include "settings/IniFile.h"
#include "sky/SaverRun.h"
#include "platform/Startup.h"

// The counting operator new below hands out malloc'ed memory, so freeing it is correct;
// GCC cannot see that the pair belongs together.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace lumi::bench {

// Benchmarks start the platform (clock, log) as the programs do, before their main runs.
inline const bool platformStarted = (platform::StartPlatform(), true);

// A fresh folder for a settings file of the benchmark's own ("/tmp/lumi-<name>-XXXXXX/"),
// so the first message is the default greeting written in stars; "$DISABLE" (no settings
// file) when no folder can be made.
inline std::string FreshSettingsFolder(const std::string& name) {
    std::string pattern = "/tmp/lumi-" + name + "-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    return made ? std::string(made) + "/" : std::string("$DISABLE");
}

// A log and a settings file of the benchmark's own, holding the built-in messages, with
// the message store read afresh from it.
inline void StartWithDefaultMessages(const std::string& name) {
    const std::string folder = FreshSettingsFolder(name);
    RestartLogAt(folder + "log.txt");
    ResetMainIni();
    MainIni().Init(folder, "Lumivan.ini");
    ResetMessageStore();
    TheMessageStore().WriteDefaults();
    ResetMessageStore();
}
inline std::atomic<long> allocationCount{0};

// Heap allocations made through operator new since the program started.
inline long Allocations() { return allocationCount.load(std::memory_order_relaxed); }

// A fresh saver run on a screen (and monitor) of this size, stepped every tickMs.
inline void UseScreen(int width, int height, int tickMs) {
    ResetSaverRun();
    SaverRun().ScreenRect = SkyRect{0, 0, width, height};
    SaverRun().MonitorRect = SkyRect{0, 0, width, height};
    SaverRun().RealTickTime = tickMs;
}
}  // namespace lumi::bench

void* operator new(std::size_t size) {
    lumi::bench::allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
