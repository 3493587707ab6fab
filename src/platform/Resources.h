// Looking up the bitmaps and sounds the program carries, by type and number: compiled
// resources on Windows, a table embedded at build time on Linux.
#pragma once
#include <optional>
#include <string_view>

namespace lumi {

enum class ResourceType { Bitmap, Wave };

// A module whose resources are read (HMODULE on Windows); null means the program itself,
// the only module there is on Linux.
using ModuleHandle = void*;

// The stored bytes: for a bitmap a bitmap file or a packed DIB (what a Windows bitmap
// resource holds), for a sound a WAV file. They live as long as the program. nullopt
// when the module carries no such resource. Implemented by the platform.
std::optional<std::string_view> ResourceBytes(ResourceType type, int id, ModuleHandle module = nullptr);

}  // namespace lumi
