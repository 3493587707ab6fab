// Paths, user and version on Windows.
#include <windows.h>
#include <shlobj.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstring>

#include <string>

#include "platform/System.h"

namespace lumi::platform {

namespace {

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

}  // namespace

std::string ModuleFilePath() {
    char buf[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n);
}

std::string ModuleFolder() {
    const std::string path = ModuleFilePath();
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TempFolder() {
    char buf[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, buf);
    if (n == 0 || n > MAX_PATH) return "";
    return WithBackslash(std::string(buf, n));
}

std::string SystemFolder() {
    char buf[256] = {};
    const UINT n = GetSystemDirectoryA(buf, 254);
    if (n == 0 || n >= 254) return "";
    return std::string(buf, n);
}

std::string WindowsFolder() {
    char buf[200] = {};
    const UINT n = GetWindowsDirectoryA(buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return "";
    return std::string(buf, n);
}

std::string SettingsFolder() {
    // An installed .scr lives in the system folder, where users may not write: its
    // settings then go to the roaming application data folder.
    const std::string folder = ModuleFolder();
    if (FolderWritable(folder)) return folder;
    char appData[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData))) {
        const std::string own = WithBackslash(appData) + "Lumivane\\";
        if (MakeFolders(own)) return own;
    }
    return folder;
}

std::string UserName() {
    char buf[79] = {};
    DWORD size = sizeof buf;
    if (!GetUserNameA(buf, &size)) return "";
    return std::string(buf);
}

void SetCommandLine(int, char**) {}

std::string CommandLine() {
    const char* line = GetCommandLineA();
    return line ? line : "";
}

uint32_t PackedOsVersion() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return static_cast<uint32_t>(GetVersion());
#pragma GCC diagnostic pop
}

bool Is32BitProcessOn64BitOs() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32");
    if (!kernel) return false;
    auto fn = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow = FALSE;
    return fn && fn(GetCurrentProcess(), &wow) && wow;
}

char PathSeparator() { return '\\'; }

bool FolderWritable(const std::string& folder) {
    if (folder.empty()) return false;
    // Access rights on Windows are best learnt by trying.
    const std::string probe = WithBackslash(folder) + "lumivane.write-test";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool MakeFolders(const std::string& folder) {
    std::string path;
    for (size_t i = 0; i < folder.size(); ++i) {
        path += folder[i];
        if (((folder[i] == '\\' || folder[i] == '/') && i > 2) || i + 1 == folder.size())
            CreateDirectoryA(path.c_str(), nullptr);
    }
    const DWORD attr = GetFileAttributesA(folder.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The user's temporary folder is the user's own on Windows.
std::string PrivateWorkFolder() {
    const std::string temp = TempFolder();
    if (temp.empty()) return "";
    const std::string folder = temp + "Lumivan.tmp\\";
    return MakeFolders(folder) ? folder : "";
}

std::string LogFolder() { return TempFolder(); }

std::FILE* OpenUserFile(const char* path, const char* mode) {
    if (!path || !*path || !mode || !*mode) return nullptr;
    if (mode[0] != 'w' || !std::strchr(mode, 'x')) return std::fopen(path, mode);
    // The C runtime's fopen may not know "x": a new file only, made by hand.
    const bool update = std::strchr(mode, '+') != nullptr;
    const bool text = std::strchr(mode, 't') != nullptr;
    const int fd = _open(path, _O_CREAT | _O_EXCL | (update ? _O_RDWR : _O_WRONLY) | (text ? _O_TEXT : _O_BINARY),
                         _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, update ? (text ? "w+t" : "w+b") : (text ? "wt" : "wb"));
    if (!f) _close(fd);
    return f;
}

}  // namespace lumi::platform
