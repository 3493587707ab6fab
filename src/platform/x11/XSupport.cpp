// X11 resources, the error trap, visuals, monitors, the desktop copy and the presenter.
#include "platform/x11/XSupport.h"

#include <X11/extensions/Xrandr.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

#include "base/Log.h"

namespace lumi::x11 {

namespace {

// Errors since the innermost trap began; the handler runs on the GUI thread only.
int errorsSeen = 0;

int RecordError(Display* display, XErrorEvent* e) {
    ++errorsSeen;
    char text[160] = {};
    XGetErrorText(display, e->error_code, text, sizeof text - 1);
    AppLog().Warning.Log("X error", std::string(text) + " (request " + std::to_string(e->request_code) + "." +
                                        std::to_string(e->minor_code) + ")");
    return 0;
}

bool LittleEndianHost() {
    const uint32_t probe = 1;
    unsigned char first = 0;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

}  // namespace

void InstallErrorHandler() { XSetErrorHandler(RecordError); }

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    errorsSeen = 0;
}

bool ErrorTrap::Failed() {
    XSync(display_, False);
    return errorsSeen != 0;
}

CursorOwner MakeBlankCursor(Display* display, Window window) {
    static const char kNoBits[1] = {0};
    PixmapOwner bitmap(display, XCreateBitmapFromData(display, window, kNoBits, 1, 1));
    if (!bitmap.Get()) return CursorOwner();
    XColor black{};
    return CursorOwner(display, XCreatePixmapCursor(display, bitmap.Get(), bitmap.Get(), &black, &black, 0, 0));
}

std::string CheckVisual(Display* display, const Visual* visual, int depth) {
    if (!visual) return "the window has no visual";
    if (visual->c_class != TrueColor) return "the display is not a TrueColor display";
    if (depth != 24 && depth != 32)
        return "the display has a colour depth of " + std::to_string(depth) + " bits; 24 or 32 are needed";
    if (visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF)
        return "the display's pixels are not laid out as 8-bit red, green and blue";
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bitsPerPixel = 0;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth) bitsPerPixel = formats[i].bits_per_pixel;
    if (formats) XFree(formats);
    if (bitsPerPixel != 32)
        return "the display stores " + std::to_string(bitsPerPixel) + " bits a pixel; 32 are needed";
    return "";
}

MonitorBox PrimaryMonitor(Display* display) {
    const int screen = DefaultScreen(display);
    MonitorBox box{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return box;
    const Window root = RootWindow(display, screen);
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return box;
    const RROutput primary = XRRGetOutputPrimary(display, root);
    bool found = false;
    // The primary output first; without one, the first output that shows something.
    for (int pass = 0; pass < 2 && !found; ++pass) {
        for (int i = 0; i < resources->noutput && !found; ++i) {
            if (pass == 0 && resources->outputs[i] != primary) continue;
            XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
            if (!output) continue;
            if (output->crtc) {
                XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, output->crtc);
                if (crtc && crtc->width > 0 && crtc->height > 0) {
                    box = {crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height)};
                    found = true;
                }
                if (crtc) XRRFreeCrtcInfo(crtc);
            }
            XRRFreeOutputInfo(output);
        }
    }
    XRRFreeScreenResources(resources);
    return box;
}

bool CaptureWindow(Display* display, Window window, gfx::Surface& surface) {
    const int w = surface.Width(), h = surface.Height();
    if (w <= 0 || h <= 0) return false;
    ErrorTrap trap(display);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                              ZPixmap);
    if (trap.Failed() || !image) {
        if (image) XDestroyImage(image);
        return false;
    }
    const bool usable = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                        image->blue_mask == 0xFF && image->width >= w && image->height >= h;
    if (usable) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                surface.Row(y)[x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu;
    }
    XDestroyImage(image);
    return usable;
}

Presenter::Presenter(Display* display, Drawable target) : display_(display), target_(target) {}

std::unique_ptr<Presenter> Presenter::Create(Display* display, Drawable target, Visual* visual, int depth, int width,
                                             int height) {
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<Presenter> p(new Presenter(display, target));
    p->gc_ = GcOwner(display, XCreateGC(display, target, 0, nullptr));
    if (!p->gc_.Get()) return nullptr;
    if (p->AttachSharedMemory(visual, depth, width, height)) return p;

    p->surface_ = gfx::Surface::Create(width, height, gfx::DirtyTracking::On);
    if (!p->surface_) return nullptr;
    // The protocol path reads straight from the surface: no copy on our side.
    p->plainImage_ = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                  reinterpret_cast<char*>(const_cast<uint32_t*>(p->surface_->Data())),
                                  static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
    if (!p->plainImage_) return nullptr;
    // Our pixels are in this machine's order; Xlib swaps them for a server of the other.
    p->plainImage_->byte_order = LittleEndianHost() ? LSBFirst : MSBFirst;
    XInitImage(p->plainImage_);
    AppLog().Info.Log("Presenter", "XPutImage");
    return p;
}

bool Presenter::AttachSharedMemory(Visual* visual, int depth, int width, int height) {
    if (!XShmQueryExtension(display_)) return false;
    shmImage_ = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                                static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (!shmImage_) return false;
    // The raster's rows are exactly its width; an image padded otherwise cannot be it.
    if (shmImage_->bits_per_pixel != 32 || shmImage_->bytes_per_line != width * 4) {
        DropSharedMemory();
        return false;
    }
    const size_t bytes = static_cast<size_t>(shmImage_->bytes_per_line) * static_cast<size_t>(height);
    shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shm_.shmid >= 0) {
        void* at = shmat(shm_.shmid, nullptr, 0);
        if (at != reinterpret_cast<void*>(-1)) {
            shm_.shmaddr = shmImage_->data = static_cast<char*>(at);
            // Mapped in one call rather than a fault per page as the sky first draws (a
            // tenth of a 1080p start-up under a hypervisor). Older kernels refuse; no matter.
            madvise(at, bytes, MADV_POPULATE_WRITE);
            shm_.readOnly = True;
            // A server on another machine cannot see our memory; it answers with an error.
            ErrorTrap trap(display_);
            const Status status = XShmAttach(display_, &shm_);
            shmAttached_ = status != 0 && !trap.Failed();
        }
        // Marked for removal now, so the segment goes with us however we end.
        shmctl(shm_.shmid, IPC_RMID, nullptr);
    }
    if (shmAttached_) {
        // The sky keeps the mapping while anything still draws into it, which may be after
        // this presenter (and the server's attachment) is gone.
        surface_ = gfx::Surface::Wrap(width, height, reinterpret_cast<uint32_t*>(shm_.shmaddr),
                                      [](uint32_t* pixels) { shmdt(pixels); }, gfx::DirtyTracking::On,
                                      gfx::Surface::Memory::Zeroed);  // a new segment is all zeros
        // Wrap detaches the segment itself when it fails.
        if (!surface_) shm_.shmaddr = nullptr;
    }
    if (!surface_) {
        DropSharedMemory();
        return false;
    }
    completionType_ = XShmGetEventBase(display_) + ShmCompletion;
    AppLog().Info.Log("Presenter", "XShmPutImage");
    return true;
}

void Presenter::DropSharedMemory() {
    if (shmAttached_) {
        XShmDetach(display_, &shm_);
        XSync(display_, False);
        shmAttached_ = false;
    }
    if (shm_.shmaddr) shmdt(shm_.shmaddr);
    shm_.shmaddr = nullptr;
    shmImage_->data = nullptr;
    XDestroyImage(shmImage_);
    shmImage_ = nullptr;
}

Presenter::~Presenter() {
    if (shmImage_) {
        if (shmAttached_) XShmDetach(display_, &shm_);
        XSync(display_, False);
        shmImage_->data = nullptr;  // the surface owns the mapping
        XDestroyImage(shmImage_);
    }
    if (plainImage_) {
        plainImage_->data = nullptr;  // the surface's pixels are not ours to free
        XDestroyImage(plainImage_);
    }
}

void Presenter::WaitForServer() {
    // The server reads the shared raster while it handles a put, and the sky must not draw
    // into it meanwhile. The completion event of the last put says it is done; it has
    // mostly arrived by the next tick. Without it, a round trip makes sure. Completions of
    // earlier puts (a present of the whole window between ticks) may still be queued:
    // only the last put's counts.
    if (!serverReading_) return;
    XEvent event;
    auto isCompletion = [](Display*, XEvent* e, XPointer self) -> Bool {
        const auto* presenter = reinterpret_cast<const Presenter*>(self);
        return e->type == presenter->completionType_ &&
               reinterpret_cast<const XShmCompletionEvent*>(e)->shmseg == presenter->shm_.shmseg;
    };
    while (XCheckIfEvent(display_, &event, isCompletion, reinterpret_cast<XPointer>(this))) {
        if (CompletesLastPut(event)) {
            serverReading_ = false;
            return;
        }
    }
    // A put that failed (the window went away) sends no completion; the round trip covers
    // that too.
    XSync(display_, False);
    while (XCheckIfEvent(display_, &event, isCompletion, reinterpret_cast<XPointer>(this))) {
    }
    serverReading_ = false;
}

bool Presenter::CompletesLastPut(const XEvent& event) const {
    // Request numbers wrap; the completion carries its put's own.
    return static_cast<long>(event.xany.serial - lastPutSerial_) >= 0;
}

bool Presenter::HandleEvent(const XEvent& event) {
    if (event.type == NoExpose && event.xnoexpose.drawable == target_) return true;
    if (event.type == GraphicsExpose && event.xgraphicsexpose.drawable == target_) {
        // Part of a moved block came from where the window was covered, so it holds no
        // picture. Later moves may have carried that further left along its rows: those
        // rows are sent again whole.
        const XGraphicsExposeEvent& e = event.xgraphicsexpose;
        if (gfx::DirtyRegion* dirty = surface_->Dirty()) dirty->Add({0, e.y, surface_->Width(), e.y + e.height});
        return true;
    }
    if (!shmImage_ || event.type != completionType_) return false;
    if (reinterpret_cast<const XShmCompletionEvent&>(event).shmseg == shm_.shmseg && CompletesLastPut(event))
        serverReading_ = false;
    return true;
}

void Presenter::Put(const gfx::Rect& r, bool last) {
    const gfx::Rect box = gfx::Intersect(r, {0, 0, surface_->Width(), surface_->Height()});
    if (box.IsEmpty()) return;
    if (shmImage_) {
        // Only the last put of a batch asks for its completion: the server handles them in
        // order, so it is done with all of them then.
        if (last) lastPutSerial_ = NextRequest(display_);
        XShmPutImage(display_, target_, gc_.Get(), shmImage_, box.left, box.top, box.left, box.top,
                     static_cast<unsigned>(box.Width()), static_cast<unsigned>(box.Height()), last ? True : False);
        if (last) serverReading_ = true;
        return;
    }
    XPutImage(display_, target_, gc_.Get(), plainImage_, box.left, box.top, box.left, box.top,
              static_cast<unsigned>(box.Width()), static_cast<unsigned>(box.Height()));
}

bool Presenter::PresentDirty() {
    gfx::DirtyRegion* dirty = surface_->Dirty();
    if (!dirty || dirty->IsEmpty()) return false;
    if (!visible_) {
        dirty->Clear();
        return false;
    }
    // The move first: the puts then correct what it got wrong.
    const gfx::DirtyRegion::Scroll& scroll = dirty->PendingScroll();
    if (scroll.valid) {
        const gfx::Rect& to = scroll.area;
        XCopyArea(display_, target_, target_, gc_.Get(), to.left - scroll.dx, to.top, static_cast<unsigned>(to.Width()),
                  static_cast<unsigned>(to.Height()), to.left, to.top);
    }
    const std::vector<gfx::Rect>& rects = dirty->Collect();
    for (size_t i = 0; i < rects.size(); ++i) Put(rects[i], i + 1 == rects.size());
    dirty->Clear();
    return true;
}

void Presenter::PresentAll() {
    if (gfx::DirtyRegion* dirty = surface_->Dirty()) dirty->Clear();
    if (visible_) Put({0, 0, surface_->Width(), surface_->Height()}, true);
}

void Presenter::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    AppLog().Info.Log("Presenter", visible_ ? "window shown" : "window hidden; nothing is sent");
    if (visible_) PresentAll();
}

}  // namespace lumi::x11
