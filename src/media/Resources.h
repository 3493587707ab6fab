// The bitmaps and sounds the program carries, addressed by the numbers the settings
// store: compiled resources on Windows, a table embedded at build time on Linux.
#pragma once

#include <optional>

#include "gfx/Image.h"
#include "platform/Resources.h"

namespace lumi {

// The bitmap resource decoded; nullopt when missing or unreadable.
std::optional<gfx::Image> LoadBitmapResource(int id, ModuleHandle module = nullptr);

}  // namespace lumi
