// Writes kept as INI text per file, so a value reads back exactly as the file would
// give it (trimmed, one pair of quotes removed, names matched without regard to case).
#include "platform/OverlayProfileStore.h"

#include <optional>

#include "platform/IniText.h"

namespace lumi {

std::string OverlayProfileStore::Read(const std::string& path, std::string_view section, std::string_view key,
                                      std::string_view def, size_t size) {
    if (size == 0) return {};
    std::optional<std::string> value;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = written_.find(path);
        if (it != written_.end()) value = IniLookup(it->second, section, key);
    }
    if (!value) return below_.Read(path, section, key, def, size);
    if (value->size() > size - 1) value->resize(size - 1);
    return *value;
}

bool OverlayProfileStore::Write(const std::string& path, std::string_view section, std::string_view key,
                                std::string_view value) {
    if (path.empty()) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    std::string& text = written_[path];
    std::optional<std::string> updated = IniAssign(text, section, key, value);
    if (!updated) return false;
    text = std::move(*updated);
    return true;
}

}  // namespace lumi
