// The wallpaper changer: at each start of the saver, one JPEG picked at random from the
// user's folder becomes the desktop wallpaper, by way of a bitmap file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Image.h"
#include "platform/MessageBox.h"

namespace lumi {

// Settings, in the plain section "WallPaper" of the main settings file.
constexpr char kWallpaperSection[] = "WallPaper";
// The files the changer looks for; ';' separates the patterns.
constexpr char kWallpaperPatterns[] = "*.jpg;*.jpeg";
// A sky narrower than this is the small preview, which leaves the desktop alone.
constexpr int kWallpaperMinSkyRight = 400;
// A folder chooser's buffer must hold any path the system may return.
constexpr size_t kFolderCapacity = 260;

// Whether this run may change the desktop at all: only the saver itself, never a
// snapshot or a test window. Off until the program's entry says otherwise.
enum class WallpaperChanges { Off, On };
void SetWallpaperChanges(WallpaperChanges changes);
WallpaperChanges WallpaperChangesAllowed();

// The entry the sky scene calls once it is built, with the sky's right edge.
void ChangeWallpaperAtStart(int skyRight);
// Non-zero when the wallpaper was set.
int ChangeWallpaper(const std::string& folder, const std::string& pattern);
// The full path of one matching file picked at random, or empty.
void PickRandomFile(const std::string& folder, const std::string& pattern, std::string& result);
// The picture of a JPEG file, or nullopt (the log says why).
std::optional<gfx::Image> LoadPictureFile(const std::string& path);
// Writes the picture as a 24-bit bitmap file: 54 header bytes and bottom-up rows of
// B, G, R padded to four bytes. False when it was not written, after a box saying so.
bool SaveBitmapFile(const std::string& path, const gfx::Image& bitmap);
// 1 when a folder was chosen (path receives it), else 0. A capacity below 260 reports
// internal error 7724 first; a chosen path that does not fit is refused.
int BrowseForFolder(WindowHandle owner, const std::string& title, std::string& path, size_t capacity);

}  // namespace lumi
