// Bounded copies and appends, case-insensitive search and the clock text.
#include "support/BoundedText.h"

#include <cctype>
#include <cstdio>

#include "support/ErrorReport.h"

namespace lumi {

namespace {
constexpr std::string_view kStrCatMarker = "*StrCat*";
constexpr size_t kSearchLimit = 3999;
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

int StrContainsText(std::string_view text, std::string_view part) {
    // Over the limit the box is shown and only the first 3999 characters are searched,
    // as the fixed buffers this search was made for would hold.
    if (text.size() > kSearchLimit) {
        ShowErrorBox("StrContainsText", "4512");
        text = text.substr(0, kSearchLimit);
    }
    if (part.size() > kSearchLimit) {
        ShowErrorBox("StrContainsText", "4513");
        part = part.substr(0, kSearchLimit);
    }
    if (part.size() > text.size()) return -1;
    for (size_t i = 0; i + part.size() <= text.size(); ++i) {
        size_t j = 0;
        while (j < part.size() &&
               std::toupper(static_cast<unsigned char>(text[i + j])) ==
                   std::toupper(static_cast<unsigned char>(part[j])))
            ++j;
        if (j == part.size()) return static_cast<int>(i);
    }
    return -1;
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
