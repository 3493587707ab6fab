// The wallpaper changer's logic; the platform lists, decodes, writes and sets.
#include "media/Wallpaper.h"

#include <atomic>
#include <cstdint>
#include <new>

#include "gfx/BmpReader.h"
#include "platform/System.h"
#include "platform/Wallpaper.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

std::atomic<WallpaperChanges> changesAllowed{WallpaperChanges::Off};

}  // namespace

void SetWallpaperChanges(WallpaperChanges changes) { changesAllowed.store(changes); }
WallpaperChanges WallpaperChangesAllowed() { return changesAllowed.load(); }

void ChangeWallpaperAtStart(int skyRight) {
    IniFile& ini = MainIni();
    if (ini.ReadInt(kWallpaperSection, "Enabled", 0) == 0 || skyRight < kWallpaperMinSkyRight) return;
    if (WallpaperChangesAllowed() != WallpaperChanges::On) return;
    const std::string path = ini.ReadString(kWallpaperSection, "path", "", 255);
    if (path.empty()) return;
    ChangeWallpaper(path, kWallpaperPatterns);
}

void PickRandomFile(const std::string& folder, const std::string& pattern, std::string& result) {
    TpelurLogger& log = AppLog().Info;
    result.clear();
    log.Log("looking in path", folder);
    // An empty name would make "\\*.jpg", the root of the current drive, on Windows.
    const std::optional<std::vector<std::string>> names =
        folder.empty() ? std::nullopt : Wallpapers().ListFiles(folder, pattern);
    if (!names) log.Log("PickRandomFile", "the folder cannot be read");
    const int count = names ? static_cast<int>(names->size()) : 0;
    log.Log("total files", count);
    if (count == 0) return;
    const int n = RandomRange(0, count);
    log.Log("winner file", n);
    const bool ends = folder.back() == '/' || folder.back() == platform::PathSeparator();
    result = folder + (ends ? "" : std::string(1, platform::PathSeparator())) + (*names)[static_cast<size_t>(n)];
    log.Log("winner file", result);
}

std::optional<gfx::Image> LoadPictureFile(const std::string& path) {
    PictureLoad load = Wallpapers().LoadPicture(path);
    if (!load.picture) AppLog().Warning.Log("LoadPictureFile", path + ": " + load.why);
    return std::move(load.picture);
}

bool SaveBitmapFile(const std::string& path, const gfx::Image& bitmap) {
    std::vector<uint8_t> bytes;
    try {
        bytes = gfx::EncodeBmp24(bitmap);
    } catch (const std::bad_alloc&) {
        bytes.clear();
    }
    if (bytes.empty()) {
        ShowErrorBox("Error", "Unable to Allocate Bitmap Memory");
        return false;
    }
    const FileWrite written = Wallpapers().WritePrivateFile(path, bytes.data(), bytes.size());
    if (written != FileWrite::Written) {
        AppLog().Warning.Log("SaveBitmapFile",
                             path + (written == FileWrite::CannotCreate ? ": cannot be created" : ": not written whole"));
        ShowErrorBox("Error", "Unable to Create Bitmap File");
        return false;
    }
    return true;
}

int ChangeWallpaper(const std::string& folder, const std::string& pattern) {
    std::string file;
    PickRandomFile(folder, pattern, file);
    if (file.empty()) return 0;
    const std::optional<gfx::Image> picture = LoadPictureFile(file);
    if (!picture) return 0;
    std::string why;
    const std::string output = Wallpapers().NextWallpaperFile(why);
    if (output.empty()) {
        AppLog().Warning.Log("ChangeWallpaper", "no place for the wallpaper file: " + why);
        return 0;
    }
    if (!SaveBitmapFile(output, *picture)) return 0;
    AppLog().Info.Log("New wallpaper", output);
    if (!Wallpapers().SetWallpaper(output, *picture, why)) {
        AppLog().Warning.Log("ChangeWallpaper", "the wallpaper was not set: " + why);
        return 0;
    }
    return 1;
}

int BrowseForFolder(WindowHandle owner, const std::string& title, std::string& path, size_t capacity) {
    if (capacity < kFolderCapacity) InternalError(owner, 7724);
    std::string chosen;
    if (!Wallpapers().ChooseFolder(owner, title, chosen) || chosen.empty()) return 0;
    // The chosen path and its terminator must fit the caller's buffer.
    if (chosen.size() + 1 > capacity) {
        AppLog().Warning.Log("BrowseForFolder", "the chosen path is too long: " + chosen);
        return 0;
    }
    path = chosen;
    return 1;
}

}  // namespace lumi
