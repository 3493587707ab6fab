// The X11 shell's building blocks: owners for every X resource, the error trap, the visual
// check and the presenter that copies changed parts of the sky's raster to a window.
// Included only by the X11 shell's own files.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <memory>
#include <string>

#include "gfx/Surface.h"

namespace lumi::x11 {

struct DisplayCloser {
    void operator()(Display* d) const {
        if (d) XCloseDisplay(d);
    }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Installs the shell's error handler: errors are recorded and logged instead of ending
// the process (Xlib's default), since a preview's foreign window may vanish at any moment.
void InstallErrorHandler();

// Collects the errors of the requests made while it lives; Failed() waits for the server.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    // True when any request since construction failed (round trip to the server).
    bool Failed();

private:
    Display* display_;
};

// An X resource freed with its owner: windows, cursors, pixmaps, GCs.
template <typename Id, int (*Free)(Display*, Id)>
class XOwned {
public:
    XOwned() = default;
    XOwned(Display* display, Id id) : display_(display), id_(id) {}
    ~XOwned() { Reset(); }
    XOwned(XOwned&& other) noexcept : display_(other.display_), id_(other.id_) { other.id_ = 0; }
    XOwned& operator=(XOwned&& other) noexcept {
        if (this != &other) {
            Reset();
            display_ = other.display_;
            id_ = other.id_;
            other.id_ = 0;
        }
        return *this;
    }
    Id Get() const { return id_; }
    // Forgets the resource without freeing it (it is gone already).
    void Release() { id_ = 0; }
    void Reset() {
        if (display_ && id_) Free(display_, id_);
        id_ = 0;
    }

private:
    Display* display_ = nullptr;
    Id id_ = 0;
};

using WindowOwner = XOwned<Window, XDestroyWindow>;
using CursorOwner = XOwned<Cursor, XFreeCursor>;
using PixmapOwner = XOwned<Pixmap, XFreePixmap>;
using GcOwner = XOwned<GC, XFreeGC>;

// A cursor with no visible pixel, for a full-screen saver.
CursorOwner MakeBlankCursor(Display* display, Window window);

// Empty when the visual can show the raster's 0x00RRGGBB pixels unconverted (TrueColor,
// depth 24 or 32, 32 bits a pixel, 8-bit red, green and blue in that order); otherwise
// what is wrong with it, for the user.
std::string CheckVisual(Display* display, const Visual* visual, int depth);

// The primary monitor's rectangle (XRandR), or the first lit monitor, or the screen.
struct MonitorBox {
    int x = 0, y = 0, width = 0, height = 0;
};
MonitorBox PrimaryMonitor(Display* display);

// Copies what the window shows now into the surface (the start-up effects close over the
// real desktop); false, leaving the surface black, when it cannot be read.
bool CaptureWindow(Display* display, Window window, gfx::Surface& surface);

// Presents the raster on a drawable, through shared memory when the server offers it and
// shares our memory (a local display), through the protocol otherwise.
class Presenter {
public:
    static std::unique_ptr<Presenter> Create(Display* display, Drawable target, Visual* visual, int depth,
                                             std::shared_ptr<gfx::Surface> surface);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    // What changed since the last call; forgets it afterwards. False when nothing had.
    bool PresentDirty();
    void PresentAll();
    bool UsesSharedMemory() const { return shmImage_ != nullptr; }

private:
    Presenter(Display* display, Drawable target, std::shared_ptr<gfx::Surface> surface);
    bool AttachSharedMemory(Visual* visual, int depth);
    void Put(const gfx::Rect& r);
    void WaitForServer();

    Display* display_;
    Drawable target_;
    std::shared_ptr<gfx::Surface> surface_;
    GcOwner gc_;
    XImage* shmImage_ = nullptr;
    XShmSegmentInfo shm_{};
    bool shmAttached_ = false;
    bool serverReading_ = false;
    XImage* plainImage_ = nullptr;  // wraps the surface's own pixels
};

}  // namespace lumi::x11
