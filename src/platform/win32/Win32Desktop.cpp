// The desktop on Windows: ShellExecuteA "open", and FindFirstFileA for long names.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/Desktop.h"

namespace lumi {

namespace {

// ShellExecuteA reports success with a value above 32.
bool ShellOpen(const std::string& target) {
    if (target.empty()) return false;
    const HINSTANCE r = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_RESTORE);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

class Win32Desktop : public DesktopService {
public:
    bool OpenUrl(const std::string& url) override { return ShellOpen(url); }
    bool OpenFolder(const std::string& folder) override { return ShellOpen(folder); }
};

Win32Desktop win32Desktop;

}  // namespace

DesktopService& PlatformDesktop() { return win32Desktop; }

std::string LongFileName(const std::string& path) {
    // Wildcards would make the lookup report some other file.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return std::string();
    WIN32_FIND_DATAA found;
    const HANDLE h = FindFirstFileA(path.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    FindClose(h);
    const size_t cut = path.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    return folder + found.cFileName;
}

}  // namespace lumi
