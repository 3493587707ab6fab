// Wallpaper on Linux: folder listing, JPEG reading, the private cache file, and the
// desktop's own tool chosen by XDG_CURRENT_DESKTOP, with the X root window as the
// fallback whenever that tool is missing or fails.
#include "platform/posix/PosixWallpaper.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/System.h"
#include "platform/posix/JpegDecoder.h"
#include "platform/x11/X11Wallpaper.h"
#include "base/Log.h"

namespace lumi {

namespace {

std::atomic<unsigned> tempCounter{0};

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut == 0 ? 1 : cut);
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string LastLine(const std::string& text) {
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
    const size_t cut = t.find_last_of('\n');
    t = cut == std::string::npos ? t : t.substr(cut + 1);
    if (t.size() > 200) t.resize(200);
    return t;
}

// What went wrong with one helper run, for the log.
std::string Failure(const std::vector<std::string>& argv, const HelperResult& r) {
    if (!r.started) return argv[0] + " is not installed";
    std::string why = argv[0] + " failed";
    if (r.exitCode >= 0) why += " with exit code " + std::to_string(r.exitCode);
    else why += " (killed or timed out)";
    const std::string last = LastLine(r.output);
    if (!last.empty()) why += ": " + last;
    return why;
}

}  // namespace

DesktopKind DesktopFromEnvironment(const char* currentDesktop) {
    std::string_view list = currentDesktop ? currentDesktop : "";
    while (!list.empty()) {
        const size_t cut = list.find(':');
        const std::string_view name = list.substr(0, cut);
        for (const char* gnome : {"GNOME", "GNOME-Classic", "GNOME-Flashback", "Unity", "Budgie", "ubuntu", "Pantheon"})
            if (SameText(name, gnome)) return DesktopKind::Gnome;
        if (SameText(name, "X-Cinnamon") || SameText(name, "Cinnamon")) return DesktopKind::Cinnamon;
        if (SameText(name, "MATE")) return DesktopKind::Mate;
        if (SameText(name, "KDE")) return DesktopKind::Kde;
        if (SameText(name, "XFCE")) return DesktopKind::Xfce;
        if (cut == std::string_view::npos) break;
        list.remove_prefix(cut + 1);
    }
    return DesktopKind::Other;
}

std::string FileUri(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (unsigned char c : path) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           std::strchr("/-._~!$&'()*+,;=:@", c) != nullptr;
        if (plain && c != 0) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

std::vector<std::vector<std::string>> WallpaperCommands(DesktopKind kind, const std::string& file) {
    const std::string uri = FileUri(file);
    switch (kind) {
        case DesktopKind::Gnome:
            // The dark-style key came with GNOME 42; older versions refuse it harmlessly.
            return {{"gsettings", "set", "org.gnome.desktop.background", "picture-uri", uri},
                    {"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark", uri}};
        case DesktopKind::Cinnamon:
            return {{"gsettings", "set", "org.cinnamon.desktop.background", "picture-uri", uri}};
        case DesktopKind::Mate:
            return {{"gsettings", "set", "org.mate.background", "picture-filename", file}};
        case DesktopKind::Kde:
            return {{"plasma-apply-wallpaperimage", file}};
        case DesktopKind::Xfce:
        case DesktopKind::Other:
            break;
    }
    return {};
}

std::string WallpaperCacheFolder(std::string& why) {
    std::string base;
    if (const char* x = std::getenv("XDG_CACHE_HOME"); x && x[0] == '/') {
        base = x;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        base = std::string(home) + "/.cache";
    } else {
        why = "neither XDG_CACHE_HOME nor HOME names a folder";
        return std::string();
    }
    if (base.back() != '/') base += '/';
    const std::string folder = base + "lumivane/";
    if (!platform::MakeFolders(folder)) {
        why = "cannot create " + folder + ": " + std::strerror(errno);
        return std::string();
    }
    // A link or someone else's folder here would let them choose where we write.
    struct stat st {};
    if (lstat(folder.substr(0, folder.size() - 1).c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != geteuid()) {
        why = folder + " is not a folder of ours";
        return std::string();
    }
    return folder;
}

PosixWallpaperService::PosixWallpaperService(HelperRunner run, RootPainter paintRoot)
    : run_(std::move(run)), paintRoot_(std::move(paintRoot)) {}

std::optional<std::vector<std::string>> PosixWallpaperService::ListFiles(const std::string& folder,
                                                                         const std::string& patterns) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || !MatchesAnyPattern(patterns, name)) continue;
        struct stat st {};
        const std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        names.push_back(name);
    }
    // readdir's order is the file system's; sorted, a seeded run picks the same file.
    std::sort(names.begin(), names.end());
    return names;
}

PictureLoad PosixWallpaperService::LoadPicture(const std::string& path) {
    PictureLoad result;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.why = std::string("cannot open the file: ") + std::strerror(errno);
        return result;
    }
    struct stat st {};
    std::vector<uint8_t> bytes;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.why = "not a plain file";
    } else if (static_cast<uint64_t>(st.st_size) > kMaxWallpaperFileBytes) {
        result.why = "the file is larger than " + std::to_string(kMaxWallpaperFileBytes >> 20) + " MiB";
    } else {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        if (got < bytes.size()) result.why = "cannot read the whole file";
    }
    close(fd);
    if (!result.why.empty()) return result;
    return DecodeJpeg(bytes.data(), bytes.size());
}

std::string PosixWallpaperService::NextWallpaperFile(std::string& why) {
    const std::string folder = WallpaperCacheFolder(why);
    if (folder.empty()) return std::string();
    const std::string first = folder + "wallpaper-1.bmp";
    struct stat st {};
    return lstat(first.c_str(), &st) == 0 ? folder + "wallpaper-2.bmp" : first;
}

FileWrite PosixWallpaperService::WritePrivateFile(const std::string& path, const uint8_t* data, size_t size) {
    const std::string folder = FolderOf(path);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 20 && fd < 0; ++attempt) {
        temp = folder + "/.wallpaper-" + std::to_string(getpid()) + "-" + std::to_string(tempCounter.fetch_add(1));
        // O_EXCL: never write into a file or through a link someone else put there.
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return FileWrite::CannotCreate;
    }
    if (fd < 0) return FileWrite::CannotCreate;
    bool ok = fchmod(fd, 0600) == 0 && WriteAll(fd, data, size);
    ok = close(fd) == 0 && ok;
    // rename replaces whatever is at path, a link included, and never follows it.
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return FileWrite::Incomplete;
    }
    return FileWrite::Written;
}

bool PosixWallpaperService::SetWithTool(DesktopKind kind, const std::string& file, std::string& why) {
    if (kind == DesktopKind::Xfce) return SetXfce(file, why);
    const std::vector<std::vector<std::string>> commands = WallpaperCommands(kind, file);
    if (commands.empty()) {
        why = "the desktop has no wallpaper tool we know";
        return false;
    }
    for (size_t i = 0; i < commands.size(); ++i) {
        const HelperResult r = run_(commands[i]);
        if (r.started && r.exitCode == 0) continue;
        if (i == 0) {
            why = Failure(commands[i], r);
            return false;
        }
        AppLog().Info.Log("ChangeWallpaper", Failure(commands[i], r));
    }
    return true;
}

bool PosixWallpaperService::SetXfce(const std::string& file, std::string& why) {
    const std::vector<std::string> list = {"xfconf-query", "-c", "xfce4-desktop", "-l"};
    const HelperResult listed = run_(list);
    if (!listed.started || listed.exitCode != 0) {
        why = Failure(list, listed);
        return false;
    }
    // One property per monitor and workspace, such as
    // /backdrop/screen0/monitorHDMI-1/workspace0/last-image.
    int set = 0;
    size_t start = 0;
    while (start < listed.output.size()) {
        size_t end = listed.output.find('\n', start);
        if (end == std::string::npos) end = listed.output.size();
        std::string property = listed.output.substr(start, end - start);
        start = end + 1;
        while (!property.empty() && (property.back() == '\r' || property.back() == ' ')) property.pop_back();
        const std::string suffix = "/last-image";
        if (property.size() <= suffix.size() || property[0] != '/' ||
            property.compare(property.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const std::vector<std::string> command = {"xfconf-query", "-c", "xfce4-desktop", "-p", property, "-s", file};
        const HelperResult r = run_(command);
        if (r.started && r.exitCode == 0) ++set;
        else AppLog().Info.Log("ChangeWallpaper", Failure(command, r));
    }
    if (set == 0) why = "xfconf-query set no last-image property";
    return set > 0;
}

bool PosixWallpaperService::SetWallpaper(const std::string& file, const gfx::Image& picture, std::string& why) {
    const DesktopKind kind = DesktopFromEnvironment(std::getenv("XDG_CURRENT_DESKTOP"));
    bool set = false;
    if (kind != DesktopKind::Other) {
        std::string toolWhy;
        set = SetWithTool(kind, file, toolWhy);
        if (!set) AppLog().Info.Log("ChangeWallpaper", toolWhy + "; painting the X root window instead");
    }
    if (!set) set = paintRoot_(picture, why);
    if (set) {
        // The picture before this one, in the other of our two names, is no longer shown.
        for (const auto& [mine, other] : {std::pair{"/wallpaper-1.bmp", "/wallpaper-2.bmp"},
                                          std::pair{"/wallpaper-2.bmp", "/wallpaper-1.bmp"}}) {
            const size_t n = std::strlen(mine);
            if (file.size() > n && file.compare(file.size() - n, n, mine) == 0)
                unlink((file.substr(0, file.size() - n) + other).c_str());
        }
    }
    return set;
}

bool PosixWallpaperService::ChooseFolder(WindowHandle, const std::string&, std::string&) { return false; }

namespace {
PosixWallpaperService posixWallpapers(RunHelperCommand, x11::SetRootWindowWallpaper);
}

WallpaperService& PlatformWallpapers() { return posixWallpapers; }

}  // namespace lumi
