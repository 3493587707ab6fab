// The wallpaper-service registry and the file-name matching both platforms share.
#include "platform/Wallpaper.h"

#include <atomic>

namespace lumi {

namespace {

std::atomic<WallpaperService*> installedWallpapers{nullptr};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

WallpaperService& Wallpapers() {
    WallpaperService* s = installedWallpapers.load(std::memory_order_acquire);
    return s ? *s : PlatformWallpapers();
}

void SetWallpapers(WallpaperService* service) { installedWallpapers.store(service, std::memory_order_release); }

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy match with one backtrack point: the last '*' seen.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool MatchesAnyPattern(std::string_view patterns, std::string_view name) {
    while (true) {
        const size_t cut = patterns.find(';');
        const std::string_view one = patterns.substr(0, cut);
        if (!one.empty() && WildcardMatch(one, name)) return true;
        if (cut == std::string_view::npos) return false;
        patterns.remove_prefix(cut + 1);
    }
}

}  // namespace lumi
