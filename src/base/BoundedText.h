// Text helpers that keep the fixed capacities of the stored and shown texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumi {

// Copies src into dst only when src is shorter than capacity - 1; else dst stays as it
// was. Returns whether it copied.
bool BoundedCopy(std::string& dst, std::string_view src, size_t capacity);
// Appends when the result stays below capacity - 1 characters; otherwise appends the
// marker "*StrCat*" when that fits; otherwise, when dst is longer than the marker,
// replaces dst by the marker.
void BoundedAppend(std::string& dst, std::string_view src, size_t capacity);
// "%i:%02i", or "%i:%02i %s" with AM/PM and hours 1 to 12.
std::string FormatTime(int hour, int minute, bool use24h);
// Cuts a text to at most capacity - 1 characters (what fits a C buffer of that size).
std::string Truncated(std::string_view text, size_t capacity);

}  // namespace lumi
