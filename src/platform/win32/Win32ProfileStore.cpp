// Settings files on Windows: the system's profile functions. A relative path would mean the
// Windows folder to them, so callers always pass full paths.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ProfileStore.h"

namespace lumi {

namespace {

// The profile functions take C strings: a name or value ends at its first NUL.
std::string CText(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

class Win32ProfileStore : public ProfileStore {
public:
    std::string Read(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view def, size_t size) override {
        if (size == 0 || path.empty()) return {};
        const DWORD room = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
        std::vector<char> buffer(room, '\0');
        const DWORD n = GetPrivateProfileStringA(CText(section).c_str(), CText(key).c_str(), CText(def).c_str(),
                                                 buffer.data(), room, path.c_str());
        return std::string(buffer.data(), std::min<DWORD>(n, room - 1));
    }

    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override {
        if (path.empty()) return false;
        return WritePrivateProfileStringA(CText(section).c_str(), CText(key).c_str(), CText(value).c_str(),
                                          path.c_str()) != FALSE;
    }
};

// Stateless, so one shared instance serves every settings file.
Win32ProfileStore win32ProfileStore;

}  // namespace

ProfileStore& PlatformProfileStore() { return win32ProfileStore; }

}  // namespace lumi
