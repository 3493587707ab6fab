// Resources on Linux: the files of resources/ were compiled into the program as a table.
#include "platform/Resources.h"
#include "platform/posix/EmbeddedResourceTable.h"

namespace lumi {

std::optional<std::string_view> ResourceBytes(ResourceType type, int id, ModuleHandle module) {
    // Only the program itself carries resources here; no other module can be named.
    if (module != nullptr) return std::nullopt;
    const int wanted = type == ResourceType::Bitmap ? 0 : 1;
    for (std::size_t i = 0; i < platform::embedded::kEntryCount; ++i) {
        const platform::embedded::Entry& e = platform::embedded::kEntries[i];
        if (e.type == wanted && e.id == id)
            return std::string_view(reinterpret_cast<const char*>(e.data), e.size);
    }
    return std::nullopt;
}

}  // namespace lumi
