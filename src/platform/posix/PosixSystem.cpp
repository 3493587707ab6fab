// Paths, user and version on Linux and other POSIX systems.
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/System.h"

namespace lumi::platform {

namespace {

std::mutex commandLineMutex;
std::string recordedCommandLine;

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const struct passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "";
}

}  // namespace

std::string ModuleFilePath() {
    std::vector<char> buf(4096);
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return "lumivane";
    return std::string(buf.data(), static_cast<size_t>(n));
}

std::string ModuleFolder() {
    const std::string path = ModuleFilePath();
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TempFolder() {
    if (const char* t = std::getenv("TMPDIR"); t && *t) return WithSlash(t);
    return "/tmp/";
}

std::string SystemFolder() { return "/usr/share/lumivane/"; }
std::string WindowsFolder() { return "/usr/share/lumivane"; }

std::string SettingsFolder() {
    std::string base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x && x[0] == '/') {
        base = WithSlash(x);
    } else {
        const std::string home = HomeFolder();
        base = home.empty() ? TempFolder() : WithSlash(home) + ".config/";
    }
    const std::string folder = base + "lumivane/";
    MakeFolders(folder);
    return folder;
}

std::string UserName() {
    std::string name;
    if (const struct passwd* pw = getpwuid(getuid()); pw && pw->pw_name) name = pw->pw_name;
    if (name.empty())
        if (const char* u = std::getenv("USER"); u) name = u;
    if (name.size() > 78) name.resize(78);
    return name;
}

void SetCommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc && argv && argv[i]; ++i) {
        if (i) line += ' ';
        line += argv[i];
    }
    std::lock_guard<std::mutex> lock(commandLineMutex);
    recordedCommandLine = line;
}

std::string CommandLine() {
    {
        std::lock_guard<std::mutex> lock(commandLineMutex);
        if (!recordedCommandLine.empty()) return recordedCommandLine;
    }
    // Before main has recorded argv (the log starts that early), read it from /proc.
    std::string line;
    if (FILE* f = std::fopen("/proc/self/cmdline", "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) line += c ? static_cast<char>(c) : ' ';
        std::fclose(f);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

uint32_t PackedOsVersion() {
    // Kernel major in the low byte, minor in the next, patch level as the build number,
    // with the top bit set so the value never matches a Windows version of the table.
    struct utsname u {};
    unsigned major = 0, minor = 0, patch = 0;
    if (uname(&u) == 0) std::sscanf(u.release, "%u.%u.%u", &major, &minor, &patch);
    return (major & 0xFFu) | ((minor & 0xFFu) << 8) | ((0x8000u | (patch & 0x7FFFu)) << 16);
}

bool Is32BitProcessOn64BitOs() {
    if (sizeof(void*) == 8) return false;
    struct utsname u {};
    if (uname(&u) != 0) return false;
    const std::string m = u.machine;
    return m == "x86_64" || m == "aarch64" || m == "ppc64le" || m == "s390x";
}

char PathSeparator() { return '/'; }

bool FolderWritable(const std::string& folder) {
    return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool MakeFolders(const std::string& folder) {
    std::string path;
    for (size_t i = 0; i < folder.size(); ++i) {
        path += folder[i];
        if ((folder[i] == '/' && i > 0) || i + 1 == folder.size()) {
            if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace lumi::platform
