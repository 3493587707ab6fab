// Bounded copies and appends, case-insensitive search and the clock text.
#include "base/BoundedText.h"

#include <cctype>
#include <cstdio>


namespace lumi {

namespace {
constexpr std::string_view kStrCatMarker = "*StrCat*";
}  // namespace

bool BoundedCopy(std::string& dst, std::string_view src, size_t capacity) {
    if (capacity < 1 || src.size() >= capacity - 1) return false;
    dst.assign(src);
    return true;
}

void BoundedAppend(std::string& dst, std::string_view src, size_t capacity) {
    if (capacity < 1) return;
    if (dst.size() + src.size() < capacity - 1) {
        dst.append(src);
    } else if (dst.size() + kStrCatMarker.size() < capacity - 1) {
        dst.append(kStrCatMarker);
    } else if (dst.size() > kStrCatMarker.size()) {
        dst.assign(kStrCatMarker);
    }
}


std::string FormatTime(int hour, int minute, bool use24h) {
    char buf[32];
    if (use24h) {
        std::snprintf(buf, sizeof buf, "%i:%02i", hour, minute);
    } else {
        const char* suffix = hour >= 12 ? "PM" : "AM";
        int h = hour % 12;
        if (h == 0) h = 12;
        std::snprintf(buf, sizeof buf, "%i:%02i %s", h, minute, suffix);
    }
    return buf;
}

std::string Truncated(std::string_view text, size_t capacity) {
    if (capacity == 0) return std::string();
    return std::string(text.substr(0, capacity - 1));
}

}  // namespace lumi
