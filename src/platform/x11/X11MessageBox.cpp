// The X11 message box: layout and drawing into a raster (our own text and shapes, so no
// toolkit is needed), and a modal window on a display connection of its own.
#include "platform/x11/X11MessageBox.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "gfx/Canvas.h"
#include "gfx/CodePage.h"
#include "platform/x11/XSupport.h"
#include "base/Log.h"

// Xlib's None macro would swallow BoxIcon::None; the X calls here spell it 0.
#undef None

namespace lumi::x11 {

namespace {

constexpr int kMargin = 18;
constexpr int kIconSize = 32;
constexpr int kIconGap = 14;
constexpr int kButtonMinWidth = 84;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;
constexpr int kBarPadding = 11;
constexpr int kFontEm = 14;

constexpr gfx::Color kBackground = gfx::Rgb(255, 255, 255);
constexpr gfx::Color kBar = gfx::Rgb(240, 240, 240);
constexpr gfx::Color kBarLine = gfx::Rgb(223, 223, 223);
constexpr gfx::Color kInk = gfx::Rgb(30, 30, 30);
constexpr gfx::Color kButtonFace = gfx::Rgb(225, 225, 225);
constexpr gfx::Color kButtonPressed = gfx::Rgb(204, 228, 247);
constexpr gfx::Color kButtonBorder = gfx::Rgb(173, 173, 173);
constexpr gfx::Color kFocusBorder = gfx::Rgb(0, 120, 215);

std::shared_ptr<gfx::Font> BoxFont(int weight) {
    gfx::LogFont request;
    request.height = -kFontEm;
    request.weight = weight;
    return gfx::Font::Create(request);
}

// A canvas only for measuring: DrawText with CalcRect needs no bitmap of any size.
gfx::Rect MeasureText(const std::string& text, int maxWidth) {
    gfx::Canvas canvas(gfx::Surface::Create(1, 1));
    canvas.SelectFont(BoxFont(400));
    gfx::Rect r{0, 0, maxWidth, 0};
    canvas.DrawText(text.empty() ? " " : text, r,
                    gfx::DrawTextFlag::WordBreak | gfx::DrawTextFlag::NoPrefix | gfx::DrawTextFlag::CalcRect);
    // One unbreakable word may be wider than the limit; it is clipped there.
    r.right = std::min(r.right, maxWidth);
    return r;
}

int LabelWidth(const std::string& label) {
    gfx::Canvas canvas(gfx::Surface::Create(1, 1));
    canvas.SelectFont(BoxFont(400));
    return canvas.GetTextExtentPoint32(label).cx;
}

gfx::Color Blend(gfx::Color under, gfx::Color over, int coverage16) {
    auto mix = [&](int a, int b) { return (a * (16 - coverage16) + b * coverage16 + 8) / 16; };
    return gfx::Rgb(mix(gfx::RedOf(under), gfx::RedOf(over)), mix(gfx::GreenOf(under), gfx::GreenOf(over)),
                    mix(gfx::BlueOf(under), gfx::BlueOf(over)));
}

// Fills the shape `inside` (icon coordinates, 0..32) with 4 x 4 samples a pixel, so its
// edges are smooth at this small size.
template <typename Inside>
void PaintShape(gfx::Surface& surface, const gfx::Rect& icon, gfx::Color color, Inside inside) {
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)) ++hits;
            if (hits == 0) continue;
            const int px = icon.left + x, py = icon.top + y;
            const gfx::Color under = surface.GetPixel(px, py);
            if (under != gfx::kInvalidColor) surface.SetPixel(px, py, Blend(under, color, hits));
        }
    }
}

double SegmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy));
}

auto Disc(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

auto Bar(double x0, double y0, double x1, double y1, double halfWidth) {
    return [=](double x, double y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= halfWidth; };
}

void PaintIcon(gfx::Surface& surface, const gfx::Rect& r, BoxIcon icon) {
    const gfx::Color white = gfx::Rgb(255, 255, 255);
    switch (icon) {
        case BoxIcon::None:
            return;
        case BoxIcon::Error:
            PaintShape(surface, r, gfx::Rgb(218, 38, 38), Disc(16, 16, 15.5));
            PaintShape(surface, r, white, Bar(10.5, 10.5, 21.5, 21.5, 1.8));
            PaintShape(surface, r, white, Bar(21.5, 10.5, 10.5, 21.5, 1.8));
            return;
        case BoxIcon::Warning: {
            // Rounded corners: the triangle is grown from a smaller one by a fixed radius.
            const double ax = 16, ay = 4, bx = 29, by = 27, cx = 3, cy = 27, round = 2.5;
            auto inside = [=](double x, double y) {
                auto side = [](double px, double py, double x0, double y0, double x1, double y1) {
                    return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0);
                };
                const double s0 = side(x, y, ax, ay, bx, by), s1 = side(x, y, bx, by, cx, cy),
                             s2 = side(x, y, cx, cy, ax, ay);
                if (s0 >= 0 && s1 >= 0 && s2 >= 0) return true;
                return SegmentDistance(x, y, ax, ay, bx, by) <= round ||
                       SegmentDistance(x, y, bx, by, cx, cy) <= round ||
                       SegmentDistance(x, y, cx, cy, ax, ay) <= round;
            };
            PaintShape(surface, r, gfx::Rgb(252, 196, 25), inside);
            PaintShape(surface, r, gfx::Rgb(40, 40, 40), Bar(16, 11.5, 16, 19.5, 1.7));
            PaintShape(surface, r, gfx::Rgb(40, 40, 40), Disc(16, 24, 1.9));
            return;
        }
        case BoxIcon::Information:
            PaintShape(surface, r, gfx::Rgb(30, 110, 210), Disc(16, 16, 15.5));
            PaintShape(surface, r, white, Disc(16, 9, 2.2));
            PaintShape(surface, r, white, Bar(16, 14, 16, 24, 1.7));
            return;
        case BoxIcon::Question: {
            PaintShape(surface, r, gfx::Rgb(30, 110, 210), Disc(16, 16, 15.5));
            // The hook of the question mark: the upper part of a ring, then a short stem.
            auto hook = [](double x, double y) {
                const double d = std::hypot(x - 16, y - 12.5);
                return std::abs(d - 5) <= 1.7 && (y <= 12.5 || x >= 16);
            };
            PaintShape(surface, r, white, hook);
            PaintShape(surface, r, white, Bar(19.5, 15.5, 16, 18.5, 1.7));
            PaintShape(surface, r, white, Bar(16, 18.5, 16, 20, 1.7));
            PaintShape(surface, r, white, Disc(16, 24.5, 1.9));
            return;
        }
    }
}

void PaintButton(gfx::Canvas& canvas, const BoxButton& button, bool focused, bool pressed) {
    const gfx::Rect& r = button.rect;
    canvas.FillRect(r, gfx::Brush::Solid(focused ? kFocusBorder : kButtonBorder));
    const int border = focused ? 2 : 1;
    canvas.FillRect({r.left + border, r.top + border, r.right - border, r.bottom - border},
                    gfx::Brush::Solid(pressed ? kButtonPressed : kButtonFace));
    gfx::Rect label = r;
    canvas.DrawText(button.label, label,
                    gfx::DrawTextFlag::Center | gfx::DrawTextFlag::VCenter | gfx::DrawTextFlag::SingleLine |
                        gfx::DrawTextFlag::NoPrefix);
}

std::vector<BoxButton> ButtonsOf(BoxButtons buttons) {
    switch (buttons) {
        case BoxButtons::OkCancel:
            return {{"OK", BoxResult::Ok, {}}, {"Cancel", BoxResult::Cancel, {}}};
        case BoxButtons::YesNo:
            return {{"Yes", BoxResult::Yes, {}}, {"No", BoxResult::No, {}}};
        case BoxButtons::Ok:
            break;
    }
    return {{"OK", BoxResult::Ok, {}}};
}

}  // namespace

BoxLayout LayoutBox(const std::string& text, BoxIcon icon, BoxButtons buttons, int maxHeight) {
    BoxLayout layout;
    layout.buttons = ButtonsOf(buttons);
    layout.cancel = layout.buttons.back().result;

    int buttonsWidth = 0;
    for (BoxButton& b : layout.buttons) {
        const int w = std::max(kButtonMinWidth, LabelWidth(b.label) + 24);
        b.rect = {0, 0, w, kButtonHeight};
        buttonsWidth += w + (buttonsWidth ? kButtonGap : 0);
    }

    const gfx::Rect measured = MeasureText(text, kBoxTextMaxWidth);
    const int textLeft = kMargin + (icon != BoxIcon::None ? kIconSize + kIconGap : 0);
    layout.width = std::max({kBoxMinWidth, textLeft + measured.right + kMargin, buttonsWidth + 2 * kMargin});

    const int barHeight = kButtonHeight + 2 * kBarPadding;
    int contentHeight = std::max(measured.bottom, icon != BoxIcon::None ? kIconSize : 0);
    const int roomForText = std::max(kIconSize, maxHeight - barHeight - 2 * kMargin);
    contentHeight = std::min(contentHeight, roomForText);

    // A short text sits level with the icon's middle; a long one starts at its top.
    int textTop = kMargin;
    if (icon != BoxIcon::None && measured.bottom < kIconSize) textTop += (kIconSize - measured.bottom) / 2;
    layout.text = {textLeft, textTop, textLeft + measured.right, std::min(textTop + measured.bottom, kMargin + contentHeight)};
    if (icon != BoxIcon::None) layout.icon = {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};

    layout.barTop = kMargin + contentHeight + kMargin;
    layout.height = layout.barTop + barHeight;
    // Buttons sit at the right of the strip, in reading order.
    int x = layout.width - kMargin - buttonsWidth;
    for (BoxButton& b : layout.buttons) {
        const int w = b.rect.right;
        b.rect = {x, layout.barTop + kBarPadding, x + w, layout.barTop + kBarPadding + kButtonHeight};
        x += w + kButtonGap;
    }
    return layout;
}

void PaintBox(gfx::Surface& surface, const BoxLayout& layout, const std::string& text, BoxIcon icon, int focus,
              int pressed) {
    std::shared_ptr<gfx::Surface> target(&surface, [](gfx::Surface*) {});
    gfx::Canvas canvas(target);
    canvas.FillRect({0, 0, layout.width, layout.barTop}, gfx::Brush::Solid(kBackground));
    canvas.FillRect({0, layout.barTop, layout.width, layout.height}, gfx::Brush::Solid(kBar));
    canvas.FillRect({0, layout.barTop, layout.width, layout.barTop + 1}, gfx::Brush::Solid(kBarLine));
    PaintIcon(surface, layout.icon, icon);

    canvas.SelectFont(BoxFont(400));
    canvas.SetBkMode(gfx::BackgroundMode::Transparent);
    canvas.SetTextColor(kInk);
    gfx::Rect textRect = layout.text;
    canvas.DrawText(text, textRect, gfx::DrawTextFlag::WordBreak | gfx::DrawTextFlag::NoPrefix);
    for (size_t i = 0; i < layout.buttons.size(); ++i)
        PaintButton(canvas, layout.buttons[i], static_cast<int>(i) == focus, static_cast<int>(i) == pressed);
}

void X11MessageBoxes::SetGrabHandOver(GrabHandOver handOver) {
    std::lock_guard<std::mutex> lock(mutex_);
    handOver_ = std::move(handOver);
    handOverThread_ = std::this_thread::get_id();
}

namespace {

void SetAtomProperty(Display* display, Window window, const char* name, const std::vector<const char*>& values) {
    std::vector<Atom> atoms;
    for (const char* v : values) atoms.push_back(XInternAtom(display, v, False));
    XChangeProperty(display, window, XInternAtom(display, name, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), static_cast<int>(atoms.size()));
}

// Takes the keyboard and pointer for the box; the saver may need a moment to let go.
bool GrabForBox(Display* display, Window window) {
    bool keyboard = false, pointer = false;
    for (int attempt = 0; attempt < 20 && !(keyboard && pointer); ++attempt) {
        if (!keyboard)
            keyboard = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer = XGrabPointer(display, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                   GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime) == GrabSuccess;
        if (!(keyboard && pointer)) usleep(50 * 1000);
    }
    return keyboard && pointer;
}

int ButtonAt(const BoxLayout& layout, int x, int y) {
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const gfx::Rect& r = layout.buttons[i].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

BoxResult X11MessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption,
                                BoxIcon icon, BoxButtons buttons) {
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) return fallback_.Show(owner, text, caption, icon, buttons);
    Display* d = display.get();
    const int screen = DefaultScreen(d);
    Visual* visual = DefaultVisual(d, screen);
    const int depth = DefaultDepth(d, screen);
    if (!CheckVisual(d, visual, depth).empty()) return fallback_.Show(owner, text, caption, icon, buttons);
    InstallErrorHandler();

    GrabHandOver handOver;
    bool overSaver = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        overSaver = static_cast<bool>(handOver_.release);
        if (overSaver && handOverThread_ == std::this_thread::get_id()) handOver = handOver_;
    }

    const MonitorBox monitor = PrimaryMonitor(d);
    const BoxLayout layout = LayoutBox(text, icon, buttons, monitor.height - 40);
    int focus = 0, pressed = -1;

    // Over the full-screen saver (itself override-redirect, and raised whenever covered)
    // a managed window would be stacked beneath it, so the box bypasses the window
    // manager there too and takes the input the saver lends it.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = overSaver ? True : False;
    attributes.background_pixel = WhitePixel(d, screen);
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask |
                            VisibilityChangeMask;
    const int x = monitor.x + (monitor.width - layout.width) / 2;
    const int y = monitor.y + (monitor.height - layout.height) / 2;
    WindowOwner window(d, XCreateWindow(d, RootWindow(d, screen), x, y, static_cast<unsigned>(layout.width),
                                        static_cast<unsigned>(layout.height), 0, depth, InputOutput, visual,
                                        CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes));
    const Window w = window.Get();
    XStoreName(d, w, caption.c_str());
    // Window managers read _NET_WM_NAME as UTF-8.
    const std::string utf8 = gfx::Utf8FromCodePage(caption);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    XClassHint hint{const_cast<char*>("lumivane"), const_cast<char*>("Lumivane")};
    XSetClassHint(d, w, &hint);
    SetAtomProperty(d, w, "_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DIALOG"});
    SetAtomProperty(d, w, "_NET_WM_STATE", {"_NET_WM_STATE_MODAL", "_NET_WM_STATE_ABOVE"});
    if (XSizeHints* size = XAllocSizeHints()) {
        // A fixed size where the box was placed: window managers then neither resize nor move it.
        size->flags = PPosition | USPosition | PMinSize | PMaxSize;
        size->x = x;
        size->y = y;
        size->min_width = size->max_width = layout.width;
        size->min_height = size->max_height = layout.height;
        XSetWMNormalHints(d, w, size);
        XFree(size);
    }
    const uintptr_t ownerId = reinterpret_cast<uintptr_t>(owner);
    if (ownerId != 0 && ownerId <= 0xFFFFFFFFu) {
        ErrorTrap trap(d);
        XWindowAttributes ownerAttributes;
        if (XGetWindowAttributes(d, static_cast<Window>(ownerId), &ownerAttributes) && !trap.Failed())
            XSetTransientForHint(d, w, static_cast<Window>(ownerId));
    }
    Atom deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &deleteWindow, 1);

    std::unique_ptr<Presenter> presenter = Presenter::Create(d, w, visual, depth, layout.width, layout.height);
    if (!presenter) return fallback_.Show(owner, text, caption, icon, buttons);
    const std::shared_ptr<gfx::Surface> surface = presenter->Surface();
    PaintBox(*surface, layout, text, icon, focus, pressed);

    XMapRaised(d, w);
    if (handOver.release) handOver.release();
    if (overSaver) {
        XSync(d, False);
        if (!GrabForBox(d, w)) AppLog().Warning.Log("X11MessageBox", "input not grabbed for the box");
    }

    BoxResult result = layout.cancel;
    bool answered = false;
    bool focusSet = false;
    auto redraw = [&] {
        presenter->WaitForServer();
        PaintBox(*surface, layout, text, icon, focus, pressed);
        presenter->PresentAll();
    };
    while (!answered) {
        XEvent event;
        XNextEvent(d, &event);
        if (presenter->HandleEvent(event) || event.xany.window != w) continue;
        switch (event.type) {
            case MapNotify:
                // Managed boxes take the focus themselves: without a window manager
                // nobody else gives it.
                if (!overSaver && !focusSet) {
                    ErrorTrap trap(d);
                    XSetInputFocus(d, w, RevertToParent, CurrentTime);
                    focusSet = !trap.Failed();
                }
                break;
            case Expose:
                if (event.xexpose.count == 0) presenter->PresentAll();
                break;
            case VisibilityNotify:
                if (overSaver && event.xvisibility.state != VisibilityUnobscured) XRaiseWindow(d, w);
                break;
            case KeyPress: {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                const int count = static_cast<int>(layout.buttons.size());
                if (key == XK_Return || key == XK_KP_Enter || key == XK_space) {
                    result = layout.buttons[static_cast<size_t>(focus)].result;
                    answered = true;
                } else if (key == XK_Escape) {
                    result = layout.cancel;
                    answered = true;
                } else if (key == XK_Tab || key == XK_ISO_Left_Tab || key == XK_Left || key == XK_Right) {
                    const bool back = key == XK_ISO_Left_Tab || key == XK_Left ||
                                      (key == XK_Tab && (event.xkey.state & ShiftMask));
                    focus = (focus + (back ? count - 1 : 1)) % count;
                    redraw();
                } else if (buttons == BoxButtons::YesNo && (key == XK_y || key == XK_n)) {
                    result = key == XK_y ? BoxResult::Yes : BoxResult::No;
                    answered = true;
                }
                break;
            }
            case ButtonPress:
                if (event.xbutton.button == Button1) {
                    pressed = ButtonAt(layout, event.xbutton.x, event.xbutton.y);
                    if (pressed >= 0) {
                        focus = pressed;
                        redraw();
                    }
                }
                break;
            case ButtonRelease:
                // A click counts where it ends on the button it began on, as on any desktop.
                if (event.xbutton.button == Button1 && pressed >= 0) {
                    if (ButtonAt(layout, event.xbutton.x, event.xbutton.y) == pressed) {
                        result = layout.buttons[static_cast<size_t>(pressed)].result;
                        answered = true;
                    }
                    pressed = -1;
                    if (!answered) redraw();
                }
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) answered = true;
                break;
            case DestroyNotify:
                window.Release();
                answered = true;
                break;
            default:
                break;
        }
    }
    if (overSaver) {
        XUngrabKeyboard(d, CurrentTime);
        XUngrabPointer(d, CurrentTime);
    }
    presenter.reset();
    window.Reset();
    XSync(d, False);
    if (handOver.restore) handOver.restore();
    return result;
}

ScopedX11MessageBoxes::ScopedX11MessageBoxes()
    : boxes_(PlatformMessageBoxes()), probe_(nullptr, [](Display* d) { DisplayCloser()(d); }) {
    if (&MessageBoxes() != &PlatformMessageBoxes()) return;
    probe_.reset(XOpenDisplay(nullptr));
    if (!probe_) return;
    SetMessageBoxes(&boxes_);
    installed_ = true;
}

ScopedX11MessageBoxes::~ScopedX11MessageBoxes() {
    if (installed_ && &MessageBoxes() == &boxes_) SetMessageBoxes(nullptr);
}

}  // namespace lumi::x11
