// A linear congruential generator with the constants of the classic Windows C library,
// so a fixed seed draws the same sky on Linux and Windows.
#include "base/Random.h"

#include <atomic>

#include "base/Clock.h"

namespace lumi {

namespace {

std::atomic<bool> seeded{false};
std::atomic<uint32_t> state{1};

}  // namespace

void SeedRandom(uint32_t seed) {
    state.store(seed, std::memory_order_relaxed);
    seeded.store(true, std::memory_order_release);
}

void ResetRandomSeed() { seeded.store(false, std::memory_order_release); }

int RandomRaw() {
    if (!seeded.load(std::memory_order_acquire)) SeedRandom(TheClock().TickCount());
    uint32_t current = state.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = current * 214013u + 2531011u;
    } while (!state.compare_exchange_weak(current, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

int RandomRange(int a, int b) {
    const double r = RandomRaw();
    return static_cast<int>(a + r / 32768.0 * (static_cast<double>(b) - a));
}

double RandomReal(double a, double b) {
    const double r = RandomRaw();
    return a + r / 32768.0 * (b - a);
}

}  // namespace lumi
