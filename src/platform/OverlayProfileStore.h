// A profile store that reads through to another and keeps every write in memory: a run
// that may read the user's settings files but must leave them as they are (--snapshot).
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/ProfileStore.h"

namespace lumi {

class OverlayProfileStore final : public ProfileStore {
public:
    explicit OverlayProfileStore(ProfileStore& below) : below_(below) {}

    // A key written through this store reads as written; any other comes from below.
    std::string Read(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view def, size_t size) override;
    // Never reaches the file; always succeeds for names an INI file can hold.
    bool Write(const std::string& path, std::string_view section, std::string_view key,
               std::string_view value) override;

private:
    ProfileStore& below_;
    std::mutex mutex_;
    std::map<std::string, std::string> written_;  // path -> INI text of what was written
};

}  // namespace lumi
