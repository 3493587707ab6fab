// Decoding of bitmap resources through the same reader as the user's own files.
#include "media/Resources.h"

#include "gfx/BmpReader.h"

namespace lumi {

std::optional<gfx::Image> LoadBitmapResource(int id, ModuleHandle module) {
    std::optional<std::string_view> bytes = ResourceBytes(ResourceType::Bitmap, id, module);
    if (!bytes) return std::nullopt;
    return gfx::ReadBmp(*bytes);
}

}  // namespace lumi
