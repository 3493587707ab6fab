// A GUI-subsystem program has no console of its own; borrow the one it was started from.
#include <windows.h>

#include <cstdio>

#include "platform/Console.h"

namespace lumi::platform {

void UseParentConsole() {
    // Output already redirected to a file or pipe keeps going there.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) != FILE_TYPE_UNKNOWN) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* ignored = nullptr;
    freopen_s(&ignored, "CONOUT$", "w", stdout);
    freopen_s(&ignored, "CONOUT$", "w", stderr);
}

}  // namespace lumi::platform
