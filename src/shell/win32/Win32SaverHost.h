// The Win32 saver window as the saver's logic sees it: real timers, cursor and monitor,
// and the window's raster surface presented to the window with SetDIBitsToDevice.
#pragma once

#include <windows.h>

#include <memory>

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
    Win32SaverHost(HWND window, std::shared_ptr<gfx::Surface> surface);

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

private:
    HWND window_;
    // The class has its own DC per window, so holding it for the run costs nothing.
    WindowDC dc_;
};

}  // namespace lumi::win32
