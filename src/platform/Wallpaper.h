// What the wallpaper changer asks of the machine: the files of a folder, a decoded
// JPEG, a private file for the converted picture, and the desktop's own way to show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Image.h"
#include "platform/MessageBox.h"

namespace lumi {

// Pictures with more pixels than this are refused before any pixel memory is taken.
constexpr int64_t kMaxWallpaperPixels = 100'000'000;
// Files larger than this are not read into memory at all.
constexpr size_t kMaxWallpaperFileBytes = size_t{256} << 20;

// A decoded picture, or why there is none (for the log).
struct PictureLoad {
    std::optional<gfx::Image> picture;
    std::string why;
};

enum class FileWrite { Written, CannotCreate, Incomplete };

class WallpaperService {
public:
    virtual ~WallpaperService() = default;
    // The names (not paths) of the plain files in folder that match one of the
    // ';'-separated wildcard patterns without regard to case, sorted, each once;
    // nullopt when the folder cannot be read.
    virtual std::optional<std::vector<std::string>> ListFiles(const std::string& folder,
                                                              const std::string& patterns) = 0;
    // Reads and decodes a JPEG file.
    virtual PictureLoad LoadPicture(const std::string& path) = 0;
    // The file the next converted picture goes to; empty, with why, when there is no
    // place for it.
    virtual std::string NextWallpaperFile(std::string& why) = 0;
    // Writes the bytes under a temporary name beside path, readable by the user only,
    // and renames it to path.
    virtual FileWrite WritePrivateFile(const std::string& path, const uint8_t* data, size_t size) = 0;
    // Makes the written file (whose picture is given too, for desktops we paint
    // ourselves) the desktop wallpaper. False, with why, when it is not set.
    virtual bool SetWallpaper(const std::string& file, const gfx::Image& picture, std::string& why) = 0;
    // The system's folder chooser; false when nothing was chosen or there is none.
    virtual bool ChooseFolder(WindowHandle owner, const std::string& title, std::string& folder) = 0;
};

// The service every request goes through. Defaults to the platform's.
WallpaperService& Wallpapers();
// Installs another service (tests); nullptr restores the platform's. Caller owns it.
void SetWallpapers(WallpaperService* service);
WallpaperService& PlatformWallpapers();

// '*' and '?' wildcards, letters compared without regard to case (ASCII).
bool WildcardMatch(std::string_view pattern, std::string_view name);
// Whether a name matches one of the ';'-separated patterns.
bool MatchesAnyPattern(std::string_view patterns, std::string_view name);

}  // namespace lumi
