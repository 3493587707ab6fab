// Resources on Windows: BITMAP and WAVE entries of the module's compiled resources
// (resources/win32/lumivane.rc). A BITMAP resource holds a packed DIB, which the
// bitmap reader takes as well as a file.
#include <windows.h>

#include "platform/Resources.h"

namespace lumi {

std::optional<std::string_view> ResourceBytes(ResourceType type, int id, ModuleHandle module) {
    HMODULE owner = module != nullptr ? static_cast<HMODULE>(module) : GetModuleHandleA(nullptr);
    if (id <= 0 || id > 0xFFFF) return std::nullopt;  // not expressible as a numbered resource
    LPCSTR kind = type == ResourceType::Bitmap ? MAKEINTRESOURCEA(2) /* RT_BITMAP */ : "WAVE";
    HRSRC found = FindResourceA(owner, MAKEINTRESOURCEA(id), kind);
    if (found == nullptr) return std::nullopt;
    DWORD size = SizeofResource(owner, found);
    // Loaded resources stay mapped for the module's lifetime; nothing to release.
    HGLOBAL loaded = LoadResource(owner, found);
    if (loaded == nullptr || size == 0) return std::nullopt;
    const void* data = LockResource(loaded);
    if (data == nullptr) return std::nullopt;
    return std::string_view(static_cast<const char*>(data), size);
}

}  // namespace lumi
