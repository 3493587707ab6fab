// The root window's background: a pixmap kept by the server after we disconnect
// (RetainPermanent), so the picture stays when the saver has ended.
#include "platform/x11/X11Wallpaper.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/x11/XSupport.h"

namespace lumi::x11 {

namespace {

// Our own mark beside the two shared properties: a pixmap is freed only when all three
// name it, so a pixmap another program made (and may still use) is never killed.
constexpr char kOurMark[] = "_LUMIVANE_ROOTPMAP_ID";

Pixmap PixmapProperty(Display* display, Window root, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Pixmap value = 0;
    if (XGetWindowProperty(display, root, property, 0, 1, False, XA_PIXMAP, &type, &format, &count, &after, &data) ==
            Success &&
        type == XA_PIXMAP && format == 32 && count == 1 && data)
        value = static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return value;
}

void SetPixmapProperty(Display* display, Window root, Atom property, Pixmap pixmap) {
    const unsigned long value = pixmap;
    XChangeProperty(display, root, property, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
}

}  // namespace

std::vector<uint32_t> CoverScreen(const gfx::Image& picture, int width, int height) {
    std::vector<uint32_t> out;
    if (picture.Empty() || width <= 0 || height <= 0) return out;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    try {
        out.resize(count);
    } catch (const std::bad_alloc&) {
        return std::vector<uint32_t>();
    }
    // One scale for both axes, the larger one, so the picture covers the screen; the
    // source window is centred on the picture. A screen pixel's centre (x + 1/2) maps
    // to offset + (x + 1/2) × num / den, computed in units of 1 / (2 den).
    const int64_t pw = picture.Width(), ph = picture.Height();
    const bool widthRules = pw * height >= ph * width;  // the picture is wider than the screen
    const int64_t num = widthRules ? ph : pw;            // source pixels ...
    const int64_t den = widthRules ? height : width;     // ... per this many screen pixels
    const auto source = [&](int64_t size, int64_t screen, int64_t at) {
        return std::min<int64_t>(size - 1, (size * den - screen * num + (2 * at + 1) * num) / (2 * den));
    };
    std::vector<int> column(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) column[x] = static_cast<int>(source(pw, width, x));
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>(source(ph, height, y));
        const uint32_t* src = picture.Row(sy);
        uint32_t* dst = out.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = src[column[x]];
            // 0x00BBGGRR to the display's 0x00RRGGBB.
            dst[x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        }
    }
    return out;
}

bool SetRootWindowWallpaper(const gfx::Image& picture, std::string& why) {
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        why = "no X display to paint";
        return false;
    }
    Display* d = display.get();
    InstallErrorHandler();
    const int screen = DefaultScreen(d);
    const Window root = RootWindow(d, screen);
    Visual* visual = DefaultVisual(d, screen);
    const int depth = DefaultDepth(d, screen);
    const int width = DisplayWidth(d, screen), height = DisplayHeight(d, screen);
    const std::string visualProblem = CheckVisual(d, visual, depth);
    if (!visualProblem.empty()) {
        why = "the root window cannot show the picture: " + visualProblem;
        return false;
    }
    std::vector<uint32_t> pixels = CoverScreen(picture, width, height);
    if (pixels.empty()) {
        why = "no memory for the screen-sized picture";
        return false;
    }

    ErrorTrap trap(d);
    PixmapOwner pixmap(d, XCreatePixmap(d, root, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                        static_cast<unsigned>(depth)));
    GcOwner gc(d, XCreateGC(d, pixmap.Get(), 0, nullptr));
    XImage* image = XCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, width * 4);
    if (!image) {
        why = "cannot describe the picture to the X server";
        return false;
    }
    image->byte_order = LSBFirst;  // our pixels are host words; say which way round
    {
        const uint32_t probe = 1;
        if (*reinterpret_cast<const unsigned char*>(&probe) != 1) image->byte_order = MSBFirst;
    }
    XPutImage(d, pixmap.Get(), gc.Get(), image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    image->data = nullptr;  // the vector owns the pixels
    XDestroyImage(image);
    if (trap.Failed()) {
        why = "the X server refused the picture";
        return false;
    }

    const Atom rootId = XInternAtom(d, "_XROOTPMAP_ID", False);
    const Atom esetrootId = XInternAtom(d, "ESETROOT_PMAP_ID", False);
    const Atom ours = XInternAtom(d, kOurMark, False);
    const Pixmap previous = PixmapProperty(d, root, rootId);
    const bool previousIsOurs = previous != 0 && PixmapProperty(d, root, esetrootId) == previous &&
                                PixmapProperty(d, root, ours) == previous;

    XSetWindowBackgroundPixmap(d, root, pixmap.Get());
    XClearWindow(d, root);
    SetPixmapProperty(d, root, rootId, pixmap.Get());
    SetPixmapProperty(d, root, esetrootId, pixmap.Get());
    SetPixmapProperty(d, root, ours, pixmap.Get());
    if (trap.Failed()) {
        why = "the X server refused the root window's background";
        return false;
    }
    // The previous run of ours left its connection's resources behind on purpose;
    // killing that client frees its pixmap.
    if (previousIsOurs && previous != pixmap.Get()) XKillClient(d, previous);
    XSetCloseDownMode(d, RetainPermanent);
    pixmap.Release();
    XSync(d, False);
    return true;
}

}  // namespace lumi::x11
