// What the saver window asks of the window system. The Win32, X11 and headless shells
// implement it; the saver window's logic never sees an OS handle.
#pragma once

#include <string>

#include "platform/MessageBox.h"
#include "sky/SkyRect.h"

namespace lumi {

// The device context handed to an erase, opaque to the core.
using EraseCanvas = void*;

class SaverHost {
public:
    virtual ~SaverHost() = default;

    // The saver window (an owner for message boxes, and what the scene parts bind to).
    virtual WindowHandle Window() = 0;

    // Starts (or restarts) the window's timer `id` with the period; the id of the running
    // timer, or 0 when none could be started.
    virtual unsigned SetTimer(unsigned id, unsigned periodMs) = 0;
    virtual void KillTimer(unsigned id) = 0;
    // Queues a close request to the window (it arrives later, as a separate event).
    virtual void PostClose() = 0;

    virtual SkyPoint GetCursorPos() = 0;
    virtual void SetCursorPos(SkyPoint at) = 0;

    // The window's client rectangle.
    virtual SkyRect ClientRect() = 0;
    // Where the window lies on the screen (GetWindowRect): the rectangle the cursor's
    // screen position is compared with. Its origin is negative on a desktop with a
    // monitor left of or above the primary one.
    virtual SkyRect WindowScreenRect() = 0;
    // The primary monitor's rectangle (its origin need not be 0, 0).
    virtual SkyRect PrimaryMonitorRect() = 0;
    // Keeps the saver out of the task bar and the window switcher.
    virtual void SetToolWindowStyle() = 0;

    // Takes the window's drawing surface for the scene (`SkyDC`); false when it cannot.
    virtual bool AcquireSkyDC() = 0;
    virtual void ReleaseSkyDC() = 0;

    // Fills the client rectangle black on the erase canvas.
    virtual void PaintBlack(EraseCanvas canvas) = 0;
    // Draws the timing figures on `SkyDC`: word-wrapped into the rectangle with the
    // platform's plain text drawing, and once more as one line at (1, 200).
    virtual void DrawTimingText(const SkyRect& rect, const std::string& text) = 0;
};

}  // namespace lumi
