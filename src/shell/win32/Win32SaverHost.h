// The Win32 saver window as the saver's logic sees it: real timers, cursor and monitor,
// and the window's raster, which lives in a DIB section so presenting a changed rectangle
// is one BitBlt from it (SetDIBitsToDevice from plain memory when no section can be made).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "gfx/DirtyRegion.h"
#include "gfx/Types.h"
#include "host/SurfaceHost.h"

namespace lumi::win32 {

// A window's device context, released when the owner goes.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A GDI bitmap, deleted when the owner goes (it must no longer be selected by then).
class BitmapOwner {
public:
    explicit BitmapOwner(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~BitmapOwner() {
        if (bitmap_) DeleteObject(bitmap_);
    }
    BitmapOwner(const BitmapOwner&) = delete;
    BitmapOwner& operator=(const BitmapOwner&) = delete;
    HBITMAP Get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// A DIB section selected into a memory DC: the raster's pixels, which GDI blits from.
class DibSection {
public:
    // nullptr when GDI cannot make one of this size.
    static std::shared_ptr<DibSection> Create(HDC like, int width, int height);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;
    HDC Dc() const { return dc_; }
    uint32_t* Bits() const { return bits_; }

private:
    DibSection(HDC dc, HBITMAP bitmap, uint32_t* bits);
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    uint32_t* bits_;
};

// The window's raster: in a DIB section when one can be made (dib is set then), in plain
// memory otherwise; nullptr when there is no memory for it at all.
std::shared_ptr<gfx::Surface> CreateWindowRaster(HWND window, int width, int height,
                                                 std::shared_ptr<DibSection>& dib);

// Copies what the screen shows under a window's client area into the surface, so the
// start-up effect closes over the real desktop. False when the screen cannot be read
// (the surface is then left as it was).
bool CaptureScreenUnder(HWND window, gfx::Surface& surface);

// Copies rows top..bottom and columns left..right of the surface to the device context at
// the same place. Each rectangle is sent as a top-down DIB of exactly its rows, which
// keeps clear of the platform's unusual source-row rules for top-down DIBs.
void PresentRect(HDC dc, const gfx::Surface& surface, const gfx::Rect& rect);

// Whether a present forgets what it sent (a tick) or keeps it marked for the next one (a
// present that a paint in progress may clip).
enum class KeepMarked { No, Yes };

class Win32SaverHost final : public SurfaceHost {
public:
    // dib: the section the surface wraps, or nullptr for a surface in plain memory.
    Win32SaverHost(HWND window, std::shared_ptr<gfx::Surface> surface, std::shared_ptr<DibSection> dib);

    WindowHandle Window() override { return window_; }
    unsigned SetTimer(unsigned id, unsigned periodMs) override;
    void KillTimer(unsigned id) override;
    void PostClose() override;
    SkyPoint GetCursorPos() override;
    void SetCursorPos(SkyPoint at) override;
    SkyRect PrimaryMonitorRect() override;
    SkyRect WindowScreenRect() override;
    void SetToolWindowStyle() override;

    // Sends what changed since the last present to the window; once per tick, so a saver
    // that changes a few stars sends a few small rectangles.
    void PresentDirty(KeepMarked keep);
    // Sends the whole surface (a paint of the window).
    void PresentAll(HDC dc);
    // A locked session shows another desktop: nothing is sent until it is unlocked.
    void SetSessionLocked(bool locked);

private:
    // Minimised or behind the lock screen: presenting would be wasted.
    bool Hidden() const;
    void Send(HDC dc, const gfx::Rect& rect);
    // Moves a block that scrolled within the window (no pixels sent), before the marks.
    void MoveScrolledBlock(gfx::DirtyRegion& dirty);

    HWND window_;
    std::shared_ptr<DibSection> dib_;
    bool locked_ = false;
    // The class has its own DC per window, so holding it for the run costs nothing.
    WindowDC dc_;
};

}  // namespace lumi::win32
