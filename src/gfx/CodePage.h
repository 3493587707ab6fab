// The program keeps its texts in the single-byte Windows-1252 code page; window systems
// and toolkits on Linux want UTF-8.
#pragma once

#include <string>

namespace lumi::gfx {

// Windows-1252 bytes as UTF-8. Every byte maps to one character (the five unassigned
// positions to the control characters of the same number), so the round trip is exact.
std::string Utf8FromCodePage(const std::string& text);
// UTF-8 as Windows-1252; a character the code page lacks, or a broken sequence, becomes '?'.
std::string CodePageFromUtf8(const std::string& text);

}  // namespace lumi::gfx
