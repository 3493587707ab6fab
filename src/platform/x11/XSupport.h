// The X11 shell's building blocks: owners for every X resource, the error trap, the visual
// check and the presenter that shows changed parts of the sky's raster in a window.
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

// Owns the window's raster and presents it on a drawable. Where the server shares our
// memory (a local display) the raster lives in a shared-memory image, so presenting a
// changed rectangle is one XShmPutImage and no copy; otherwise XPutImage sends it. A block
// that scrolled is moved with XCopyArea inside the window, which sends no pixels.
class Presenter {
public:
    // A black raster of this size with its presenter; nullptr when there is no memory for it.
    static std::unique_ptr<Presenter> Create(Display* display, Drawable target, Visual* visual, int depth, int width,
                                             int height);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    const std::shared_ptr<gfx::Surface>& Surface() const { return surface_; }

    // What changed since the last call; forgets it afterwards. False when nothing was sent
    // (nothing changed, or the window cannot be seen).
    bool PresentDirty();
    void PresentAll();
    // A window that cannot be seen (unmapped, fully covered) is sent nothing; when it
    // shows again it gets the whole picture.
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    bool UsesSharedMemory() const { return shmImage_ != nullptr; }

    // Call before drawing into the raster: returns once the server no longer reads it.
    void WaitForServer();
    // Takes the completion events of our shared-memory puts and the exposure events of
    // our moves within the window; false for any other event.
    bool HandleEvent(const XEvent& event);

private:
    Presenter(Display* display, Drawable target);
    bool AttachSharedMemory(Visual* visual, int depth, int width, int height);
    void DropSharedMemory();
    void Put(const gfx::Rect& r, bool last);
    bool CompletesLastPut(const XEvent& event) const;

    Display* display_;
    Drawable target_;
    std::shared_ptr<gfx::Surface> surface_;
    GcOwner gc_;
    XImage* shmImage_ = nullptr;  // its data is the surface's pixels
    XShmSegmentInfo shm_{};
    bool shmAttached_ = false;
    int completionType_ = -1;
    bool serverReading_ = false;
    unsigned long lastPutSerial_ = 0;  // the request number of the last put that asked for completion
    bool visible_ = true;
    XImage* plainImage_ = nullptr;  // wraps the surface's pixels too
};

}  // namespace lumi::x11
