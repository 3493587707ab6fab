// Wallpaper on Windows: the folder listed with FindFirstFileA, JPEG decoding through
// the system's picture object (OleLoadPicture), the bitmap file in the user's local
// application data, and SystemParametersInfoA to show it.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Wallpaper.h"

namespace lumi {

namespace {

constexpr UINT kSetDeskWallpaper = 20;  // SPI_SETDESKWALLPAPER
constexpr UINT kUpdateIniFile = 1;      // SPIF_UPDATEINIFILE

std::string LastErrorText(const char* what) { return std::string(what) + " failed, error " + std::to_string(GetLastError()); }

// COM for the picture object, for as long as one decoding takes.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT hr_;
};

// The bitmap's pixels as a top-down 32-bit picture.
PictureLoad PictureFromBitmap(HBITMAP bitmap) {
    PictureLoad result;
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0) {
        result.why = "the decoded picture has no size";
        return result;
    }
    const int width = info.bmWidth, height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (int64_t{width} * height > kMaxWallpaperPixels) {
        result.why = "the picture has more than 100 million pixels";
        return result;
    }
    std::optional<gfx::Image> picture = gfx::Image::Create(width, height);
    if (!picture) {
        result.why = "the picture is too large to show";
        return result;
    }
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = -height;  // top-down, as gfx::Image keeps its rows
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        result.why = LastErrorText("GetDIBits");
        return result;
    }
    // GetDIBits gives 0x00RRGGBB; the picture keeps 0x00BBGGRR.
    for (int y = 0; y < height; ++y) {
        uint32_t* out = picture->Row(y);
        const uint32_t* in = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = ((in[x] & 0xFF) << 16) | (in[x] & 0xFF00) | ((in[x] >> 16) & 0xFF);
    }
    result.picture = std::move(picture);
    return result;
}

class Win32Wallpaper : public WallpaperService {
public:
    std::optional<std::vector<std::string>> ListFiles(const std::string& folder, const std::string& patterns) override {
        if (folder.empty()) return std::nullopt;
        const bool ends = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
        WIN32_FIND_DATAA found;
        const HANDLE h = FindFirstFileA((folder + (ends ? "*" : "\\*")).c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) return std::vector<std::string>();
            return std::nullopt;
        }
        std::vector<std::string> names;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (MatchesAnyPattern(patterns, found.cFileName)) names.emplace_back(found.cFileName);
        } while (FindNextFileA(h, &found));
        FindClose(h);
        std::sort(names.begin(), names.end());
        return names;
    }

    PictureLoad LoadPicture(const std::string& path) override {
        PictureLoad result;
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            result.why = LastErrorText("opening the file");
            return result;
        }
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
            static_cast<uint64_t>(size.QuadPart) > kMaxWallpaperFileBytes) {
            CloseHandle(file);
            result.why = "the file is empty or too large";
            return result;
        }
        const DWORD length = static_cast<DWORD>(size.QuadPart);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length);
        if (!block) {
            CloseHandle(file);
            result.why = "no memory for the file";
            return result;
        }
        DWORD got = 0;
        void* bytes = GlobalLock(block);
        const BOOL read = bytes && ReadFile(file, bytes, length, &got, nullptr);
        if (bytes) GlobalUnlock(block);
        CloseHandle(file);
        if (!read || got != length) {
            GlobalFree(block);
            result.why = LastErrorText("reading the file");
            return result;
        }
        ComScope com;
        IStream* stream = nullptr;
        // The stream does not free the block: we do, after the picture is decoded.
        if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream)) || !stream) {
            GlobalFree(block);
            result.why = "cannot make a stream over the file";
            return result;
        }
        IPicture* picture = nullptr;
        const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                                          reinterpret_cast<void**>(&picture));
        stream->Release();
        GlobalFree(block);
        if (FAILED(hr) || !picture) {
            result.why = "the picture cannot be decoded";
            return result;
        }
        OLE_HANDLE handle = 0;
        SHORT type = PICTYPE_UNINITIALIZED;
        if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
            // The picture owns its bitmap: read it before the picture goes.
            result = PictureFromBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
        } else {
            result.why = "the file holds no bitmap picture";
        }
        picture->Release();
        return result;
    }

    std::string NextWallpaperFile(std::string& why) override {
        char base[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) {
            const char* env = std::getenv("LOCALAPPDATA");
            if (!env || !*env) {
                why = "the user has no local application data folder";
                return std::string();
            }
            lstrcpynA(base, env, MAX_PATH);
        }
        const std::string folder = std::string(base) + "\\Lumivane";
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            why = LastErrorText(("creating " + folder).c_str());
            return std::string();
        }
        return folder + "\\wallpaper.bmp";
    }

    FileWrite WritePrivateFile(const std::string& path, const uint8_t* data, size_t size) override {
        const std::string temp = path + ".~" + std::to_string(GetCurrentProcessId());
        const HANDLE file =
            CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return FileWrite::CannotCreate;
        bool ok = true;
        while (ok && size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
            DWORD written = 0;
            ok = WriteFile(file, data, chunk, &written, nullptr) && written == chunk;
            data += chunk;
            size -= chunk;
        }
        ok = CloseHandle(file) && ok;
        if (ok) ok = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        if (!ok) {
            DeleteFileA(temp.c_str());
            return FileWrite::Incomplete;
        }
        return FileWrite::Written;
    }

    bool SetWallpaper(const std::string& file, const gfx::Image&, std::string& why) override {
        if (SystemParametersInfoA(kSetDeskWallpaper, 0, const_cast<char*>(file.c_str()), kUpdateIniFile)) return true;
        why = LastErrorText("SystemParametersInfoA");
        return false;
    }

    bool ChooseFolder(WindowHandle owner, const std::string& title, std::string& folder) override {
        char display[MAX_PATH] = {};
        BROWSEINFOA info{};
        info.hwndOwner = static_cast<HWND>(owner);
        info.pszDisplayName = display;
        info.lpszTitle = title.c_str();
        ComScope com;
        PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
        if (!list) return false;
        char path[MAX_PATH] = {};
        const BOOL ok = SHGetPathFromIDListA(list, path);
        CoTaskMemFree(list);
        if (!ok) return false;
        folder = path;
        return true;
    }
};

Win32Wallpaper win32Wallpaper;

}  // namespace

WallpaperService& PlatformWallpapers() { return win32Wallpaper; }

}  // namespace lumi
