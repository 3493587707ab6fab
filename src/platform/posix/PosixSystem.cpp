// Paths, user and version on Linux and other POSIX systems.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/System.h"

namespace lumi::platform {

namespace {

std::mutex commandLineMutex;
std::string recordedCommandLine;
// The mkdtemp folder of this process, made when first needed and then reused.
std::mutex scratchMutex;
std::string scratchFolder;

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const struct passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "";
}

// A folder we keep our files in must be a real folder (not a link to one), ours, and
// closed to writes by others: otherwise another user could swap or plant files in it.
bool FolderIsOurs(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// base + "lumivane/", made with mode 0700 or checked when it is there already; "" when
// base is not an absolute folder or the result is not safe.
std::string OwnFolderIn(const std::string& base, bool makeBase) {
    if (base.empty() || base[0] != '/') return "";
    if (makeBase ? !MakeFolders(WithSlash(base)) : access(base.c_str(), W_OK | X_OK) != 0) return "";
    const std::string folder = WithSlash(base) + "lumivane/";
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "";
    return FolderIsOurs(folder) ? folder : "";
}

std::string EnvFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
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
        // No home at all: settings for this run only, in a folder no one else can have
        // prepared, rather than a fixed name in the shared temporary folder.
        if (home.empty()) return PrivateWorkFolder();
        base = WithSlash(home) + ".config/";
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

std::string PrivateWorkFolder() {
    const std::string runtime = EnvFolder("XDG_RUNTIME_DIR");
    if (!runtime.empty()) {
        const std::string folder = OwnFolderIn(runtime, false);
        if (!folder.empty()) return folder;
    }
    // No runtime folder of ours: a fresh folder only we can enter, made once per process.
    std::lock_guard<std::mutex> lock(scratchMutex);
    if (!scratchFolder.empty() && FolderIsOurs(scratchFolder)) return scratchFolder;
    std::string pattern = TempFolder() + "lumivane-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) return "";
    scratchFolder = WithSlash(buf.data());
    return scratchFolder;
}

std::string LogFolder() {
    std::string base = EnvFolder("XDG_STATE_HOME");
    if (base.empty()) {
        const std::string home = HomeFolder();
        if (home.empty() || home[0] != '/') return "";
        base = WithSlash(home) + ".local/state";
    }
    return OwnFolderIn(base, true);
}

std::FILE* OpenUserFile(const char* path, const char* mode) {
    if (!path || !*path || !mode || !*mode) {
        errno = EINVAL;
        return nullptr;
    }
    const bool update = std::strchr(mode, '+') != nullptr;
    const bool exclusive = std::strchr(mode, 'x') != nullptr;
    // Never through a link, and never blocking on a pipe planted under the name.
    int flags = O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | (update ? O_RDWR : 0);
    switch (mode[0]) {
        case 'r': flags |= update ? 0 : O_RDONLY; break;
        case 'w': flags |= (update ? 0 : O_WRONLY) | O_CREAT | (exclusive ? O_EXCL : 0); break;
        case 'a': flags |= (update ? 0 : O_WRONLY) | O_CREAT | O_APPEND; break;
        default: errno = EINVAL; return nullptr;
    }
    const int fd = open(path, flags, 0600);
    if (fd < 0) return nullptr;
    // Emptied only once it is known to be ours: a file of someone else's that we may
    // write to is not ours to destroy.
    struct stat st {};
    const bool ours = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
    if (!ours || (mode[0] == 'w' && !exclusive && ftruncate(fd, 0) != 0)) {
        close(fd);
        errno = ours ? errno : EPERM;
        return nullptr;
    }
    // A file of ours that others may read (made before this rule) is closed to them now.
    if (mode[0] != 'r' && (st.st_mode & 077) != 0) fchmod(fd, st.st_mode & 0700);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const char* streamMode = mode[0] == 'r' ? (update ? "r+" : "r") : mode[0] == 'w' ? (update ? "w+" : "w")
                                                                                    : (update ? "a+" : "a");
    std::FILE* f = fdopen(fd, streamMode);
    if (!f) close(fd);
    return f;
}

}  // namespace lumi::platform
