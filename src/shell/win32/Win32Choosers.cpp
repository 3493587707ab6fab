// The system's choosers and the programs the dialogs start: the file chooser, the folder
// chooser, the font chooser, the help page beside the program, and the saver itself.
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
// The system's header names ChooseFontA through a macro that would rename our member.
#undef ChooseFont

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/Log.h"
#include "dialogs/TextFontChooser.h"
#include "platform/Wallpaper.h"
#include "shell/Win32DialogFormats.h"
#include "shell/win32/Win32Controls.h"

namespace lumi::win32 {

namespace {

// OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER.
constexpr DWORD kOpenFileFlags = 0x81804;
// CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS.
constexpr DWORD kFontFlags = 0x141;
constexpr int kSmallestFont = 5;
constexpr int kLargestFont = 24;
// Room for the chosen file's path; longer starting paths are not offered.
constexpr size_t kFileBuffer = 1024;

bool RunOpenFile(OPENFILENAMEA& request, std::vector<char>& buffer, const std::string& start) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    if (start.size() < buffer.size()) memcpy(buffer.data(), start.data(), start.size());
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    return GetOpenFileNameA(&request) != 0;
}

// The screen's pixels per inch, by which the font chooser turns points into logical heights.
int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

HMODULE OwnModule() {
    HMODULE module = nullptr;
    // The module this code is in, also when a host loads it rather than runs it.
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&OwnModule), &module)) {
        module = GetModuleHandleA(nullptr);
    }
    return module;
}

std::string OwnModulePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD got = GetModuleFileNameA(OwnModule(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) return {};
        if (got < buffer.size()) return std::string(buffer.data(), got);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);  // the path was cut
    }
}

bool Win32Controls::ChooseFile(const std::string& title, const std::vector<dialogs::FileFilter>& filters,
                               std::string& path, unsigned long& error) {
    const std::string filterText = shell::FilterListText(filters);
    std::vector<char> buffer(kFileBuffer);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Owner();
    request.lpstrFilter = filterText.c_str();
    request.nFilterIndex = 1;
    request.lpstrTitle = title.c_str();
    request.lpstrInitialDir = nullptr;
    request.Flags = kOpenFileFlags;
    bool chosen = RunOpenFile(request, buffer, path);
    error = chosen ? 0 : CommDlgExtendedError();
    if (!chosen && error == FNERR_INVALIDFILENAME) {
        // A stored path the chooser cannot start from must not keep it closed for good.
        chosen = RunOpenFile(request, buffer, std::string());
        error = chosen ? 0 : CommDlgExtendedError();
    }
    if (!chosen) return false;
    path.assign(buffer.data());
    return true;
}

bool Win32Controls::ChooseFolder(const std::string& title, std::string& path) {
    // The wallpaper service already carries the system's folder chooser.
    return Wallpapers().ChooseFolder(Owner(), title, path);
}

void Win32Controls::ChooseFont(dialogs::FontChoice& font) {
    const int dpi = ScreenDpi();
    LOGFONTA logical{};
    logical.lfHeight = dialogs::HeightFromPointSize(static_cast<int>(std::lround(font.pointSize)), dpi);
    logical.lfWeight = FW_NORMAL;
    logical.lfCharSet = static_cast<BYTE>(font.charSet);
    const size_t faceLength = std::min(font.face.size(), sizeof logical.lfFaceName - 1);
    memcpy(logical.lfFaceName, font.face.data(), faceLength);

    CHOOSEFONTA request{};
    request.lStructSize = sizeof request;
    // Owned by the dialog, so the dialog waits for it.
    request.hwndOwner = Owner();
    request.lpLogFont = &logical;
    request.iPointSize = 100;
    request.Flags = kFontFlags;
    request.rgbColors = font.color & 0xFFFFFF;
    request.nFontType = SCREEN_FONTTYPE;
    request.nSizeMin = kSmallestFont;
    request.nSizeMax = kLargestFont;
    if (!::ChooseFontA(&request)) {
        const DWORD error = CommDlgExtendedError();
        if (error != 0) AppLog().Error.Log("ChooseFontA", static_cast<unsigned long long>(error));
        return;
    }
    font.face = logical.lfFaceName;
    font.pointSize = dialogs::PointSizeFromHeight(logical.lfHeight, dpi);
    font.charSet = logical.lfCharSet;
    font.color = static_cast<uint32_t>(request.rgbColors) & 0xFFFFFF;
}

bool Win32Controls::OpenHelpPage(const std::string& page) {
    std::string path = OwnModulePath();
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return false;
    path.resize(slash + 1);
    path += page;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        AppLog().Warning.Log("OpenHelpPage - missing", path);
        return false;
    }
    SHELLEXECUTEINFOA request{};
    request.cbSize = sizeof request;
    request.hwnd = Owner();
    request.lpVerb = "open";
    request.lpFile = path.c_str();
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&request)) {
        AppLog().Warning.Log("OpenHelpPage - ShellExecuteExA", static_cast<long long>(GetLastError()));
        return false;
    }
    return true;
}

bool Win32Controls::StartPreview() {
    const std::string self = OwnModulePath();
    if (self.empty()) return false;
    // ShellExecuteA reports success with a value above 32.
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteA(Owner(), "open", self.c_str(), "/s", nullptr, SW_SHOWMAXIMIZED));
    if (started <= 32) AppLog().Warning.Log("StartPreview - ShellExecuteA", static_cast<long long>(started));
    return started > 32;
}

}  // namespace lumi::win32
