// What the program's start hands from the platform to the folders below it: the real
// clock, the log's place and heading, and the font rasterizer. Every entry point (the programs, the test
// runner, benchmarks, fuzzers) calls StartPlatform before anything else.
#pragma once
#include <string>

namespace lumi::platform {

void StartPlatform();

// The log path the platform gives: the log folder (LogFolder) + module file name +
// ".log.txt"; empty (no log) when the platform gives no safe folder.
std::string DefaultLogPath();

}  // namespace lumi::platform
