// The program's one random generator. It behaves like the C library generator the saver
// was designed around (values 0..32767) on every platform, and is seeded once.
#pragma once

#include <cstdint>

namespace lumi {

// Random integer from a to b - 1 for a < b: a + r * 2^-15 * (b - a), truncated toward zero.
int RandomRange(int a, int b);
// The same expression without truncation.
double RandomReal(double a, double b);
// The one seeding point: fixes the sequence (tests, --seed). Without it the first draw
// seeds from the tick count.
void SeedRandom(uint32_t seed);
// Forgets any seed, so the next draw seeds from the tick count again (tests).
void ResetRandomSeed();
// Next raw value 0..32767, seeding first if needed.
int RandomRaw();

}  // namespace lumi
