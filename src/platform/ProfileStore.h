// The profile functions the settings store stands on: read and write one key of one
// section of an INI file. Windows uses the system's; elsewhere our own INI text store.
#pragma once

#include <string>
#include <string_view>

namespace lumi {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value of section/key in the file at path, or def when file, section or key is
    // missing; at most size - 1 characters (GetPrivateProfileStringA semantics).
    virtual std::string Read(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view def, size_t size) = 0;
    // Writes section/key = value, creating file, section and key as needed. False when
    // the file could not be written.
    virtual bool Write(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
};

// The store of this platform.
ProfileStore& PlatformProfileStore();

}  // namespace lumi
