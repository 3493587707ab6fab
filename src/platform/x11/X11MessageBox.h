// Message boxes as modal dialog windows on the X display: caption, a drawn icon, the text
// wrapped, and the buttons, answered by mouse or keyboard. Without a display, the terminal.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfx/Surface.h"
#include "platform/MessageBox.h"

struct _XDisplay;

namespace lumi::x11 {

// Widest the wrapped text may be, and the narrowest box.
constexpr int kBoxTextMaxWidth = 500;
constexpr int kBoxMinWidth = 250;

struct BoxButton {
    std::string label;
    BoxResult result = BoxResult::Ok;
    gfx::Rect rect;
};

// Where everything in a box sits, worked out before any window exists.
struct BoxLayout {
    int width = 0;
    int height = 0;
    gfx::Rect icon;  // empty for BoxIcon::None
    gfx::Rect text;
    int barTop = 0;  // where the button strip begins
    std::vector<BoxButton> buttons;
    BoxResult cancel = BoxResult::Ok;  // the answer of Escape and of closing the window
};

// A text taller than maxHeight allows is cut off at the bottom rather than pushing the
// buttons off the screen.
BoxLayout LayoutBox(const std::string& text, BoxIcon icon, BoxButtons buttons, int maxHeight);
// Draws the whole box into a surface of the layout's size. `focus` is the focused
// button, `pressed` the one held down (-1: none).
void PaintBox(gfx::Surface& surface, const BoxLayout& layout, const std::string& text, BoxIcon icon, int focus,
              int pressed);

// How a full-screen saver, which holds the keyboard and pointer, lends them to a box.
struct GrabHandOver {
    std::function<void()> release;
    std::function<void()> restore;
};

class X11MessageBoxes : public MessageBoxService {
public:
    // `fallback` answers when no display can be opened.
    explicit X11MessageBoxes(MessageBoxService& fallback) : fallback_(fallback) {}
    BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override;

    // Set by the full-screen shell while it holds its grabs; empty functions end it. The
    // hand-over runs only for boxes from the thread that set it, since the shell's display
    // connection belongs to that thread.
    void SetGrabHandOver(GrabHandOver handOver);

private:
    MessageBoxService& fallback_;
    std::mutex mutex_;
    GrabHandOver handOver_;
    std::thread::id handOverThread_;
};

// The process-wide X11 boxes, installed for a shell's run when a display can be opened and
// nothing but the platform's boxes was installed before (tests install their own).
class ScopedX11MessageBoxes {
public:
    ScopedX11MessageBoxes();
    ~ScopedX11MessageBoxes();
    ScopedX11MessageBoxes(const ScopedX11MessageBoxes&) = delete;
    ScopedX11MessageBoxes& operator=(const ScopedX11MessageBoxes&) = delete;

    // The installed boxes, or nullptr when the terminal stays in charge.
    X11MessageBoxes* Boxes() { return installed_ ? &boxes_ : nullptr; }

private:
    X11MessageBoxes boxes_;
    // Held open for the run: a server whose last client leaves resets, refusing new
    // connections for a moment, and a box opens its own connection later.
    std::unique_ptr<_XDisplay, void (*)(_XDisplay*)> probe_;
    bool installed_ = false;
};

}  // namespace lumi::x11
