// The wallpaper on Linux desktops: the picture goes to the user's cache folder, and the
// running desktop is told through its own tool; anything else gets the X root window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Wallpaper.h"
#include "platform/posix/HelperCommand.h"

namespace lumi {

enum class DesktopKind { Gnome, Cinnamon, Mate, Kde, Xfce, Other };

// The desktop named by XDG_CURRENT_DESKTOP (a ':'-separated list; the first name we know
// wins, without regard to case). nullptr or an unknown list gives Other.
DesktopKind DesktopFromEnvironment(const char* currentDesktop);

// The commands that set file as the wallpaper of a GSettings desktop, or of Plasma; an
// empty list for the others. The first command must succeed; the later ones are extras
// an older version of the desktop may not know.
std::vector<std::vector<std::string>> WallpaperCommands(DesktopKind kind, const std::string& file);

// "file://" and the path, with the characters a URI may not hold escaped as %XX.
std::string FileUri(const std::string& path);

// $XDG_CACHE_HOME/lumivane/ (default ~/.cache/lumivane/), created with mode 0700; empty,
// with why, when it cannot be made or is not a folder of ours.
std::string WallpaperCacheFolder(std::string& why);

// Paints the picture on the X root window; false, with why, when it cannot.
using RootPainter = std::function<bool(const gfx::Image& picture, std::string& why)>;

class PosixWallpaperService : public WallpaperService {
public:
    PosixWallpaperService(HelperRunner run, RootPainter paintRoot);

    std::optional<std::vector<std::string>> ListFiles(const std::string& folder, const std::string& patterns) override;
    PictureLoad LoadPicture(const std::string& path) override;
    // Two names taken in turn, so the path a desktop is given always differs from the
    // one it shows now (GSettings desktops ignore a key set to the value it holds).
    std::string NextWallpaperFile(std::string& why) override;
    FileWrite WritePrivateFile(const std::string& path, const uint8_t* data, size_t size) override;
    bool SetWallpaper(const std::string& file, const gfx::Image& picture, std::string& why) override;
    // The saver has no folder chooser on Linux; the settings program brings its own.
    bool ChooseFolder(WindowHandle owner, const std::string& title, std::string& folder) override;

private:
    bool SetWithTool(DesktopKind kind, const std::string& file, std::string& why);
    bool SetXfce(const std::string& file, std::string& why);

    HelperRunner run_;
    RootPainter paintRoot_;
};

}  // namespace lumi
