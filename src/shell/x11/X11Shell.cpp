// The Linux saver shell on X11: full screen over the whole X screen, a preview inside a
// foreign window (a control panel's, XScreenSaver's, or the root window), or an ordinary
// top-level window. It turns X events into calls on the saver session and presents the
// changed parts of the raster once per tick. Features: XShm (the raster is the shared
// image) or XPutImage presenting, nothing sent to a window that cannot be seen,
// blank cursor and grabs in full screen, single full-screen instance, following a
// foreign window's size, SIGTERM/SIGINT as a close, resume after suspend as a close.
#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

#include "host/FpsOverlay.h"
#include "host/ProgramParts.h"
#include "shell/Shell.h"
#include "host/SurfaceHost.h"
#include "media/Sound.h"
#include "platform/CpuTime.h"
#include "platform/x11/X11MessageBox.h"
#include "platform/x11/XSupport.h"
#include "scene/Universe.h"
#include "sky/SaverRun.h"
#include "sky/SkyDC.h"
#include "sky/SkyErrors.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {

namespace {

using namespace x11;

constexpr long kMaxWaitMs = 250;  // how late a signal or a resume is noticed at worst
// A wait this short (the time to the next tick) is slept without watching the connection.
// The server's answer to a tick's put (its completion) comes a moment after the put and
// would wake the saver a second time each tick; instead it waits in the socket, like any
// input, and is read with one call when the tick comes. Under a hypervisor every system
// call costs, and these were half of the saver's calls.
constexpr long kBlindWaitMs = 100;
constexpr int kDefaultWindowWidth = 800;
constexpr int kDefaultWindowHeight = 600;
constexpr const char* kInstanceAtom = "_LUMIVANE_FULL_SCREEN";

volatile std::sig_atomic_t stopRequested = 0;
extern "C" void OnStopSignal(int) { stopRequested = 1; }

// Termination signals end the run through the normal close, so the teardown and its
// once-a-day write-backs happen (XScreenSaver stops its savers with SIGTERM).
class StopSignals {
public:
    StopSignals() {
        stopRequested = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no restart: the wait in poll returns at once
        for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~StopSignals() {
        for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    static constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction previous_[3] {};
};

// Time the machine spent suspended: the boot-time clock runs on in a suspend, the
// monotonic one stops.
int64_t SuspendedMs() {
    timespec boot{}, mono{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_MONOTONIC, &mono);
    return (static_cast<int64_t>(boot.tv_sec) - mono.tv_sec) * 1000 + (boot.tv_nsec - mono.tv_nsec) / 1000000;
}

WindowHandle HandleOf(Window w) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(w)); }

class X11Host : public SurfaceHost {
public:
    X11Host(Display* display, ::Window window, std::shared_ptr<gfx::Surface> surface, MonitorBox monitor)
        : SurfaceHost(TheClock(), std::move(surface)), display_(display), window_(window), monitor_(monitor) {}

    WindowHandle Window() override { return HandleOf(window_); }
    SkyPoint GetCursorPos() override {
        ::Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        if (!XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &rootX, &rootY, &x, &y, &mask))
            return {};
        return {rootX, rootY};
    }
    void SetCursorPos(SkyPoint at) override {
        XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, at.x, at.y);
        XFlush(display_);
    }
    SkyRect WindowScreenRect() override {
        ::Window child = 0;
        int x = 0, y = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        const SkyRect client = ClientRect();
        return {x, y, x + client.right, y + client.bottom};
    }
    SkyRect PrimaryMonitorRect() override {
        return {monitor_.x, monitor_.y, monitor_.x + monitor_.width, monitor_.y + monitor_.height};
    }
    // An override-redirect window is in no task bar or window list already.
    void SetToolWindowStyle() override {}

private:
    Display* display_;
    ::Window window_;
    MonitorBox monitor_;
};

// Where and how the sky is shown.
struct Place {
    Window window = 0;
    Visual* visual = nullptr;
    int depth = 0;
    int width = 0;
    int height = 0;
    RunMode mode = RunMode::FullScreen;
    MonitorBox monitor;
    bool captureDesktop = false;
    bool showFps = false;
    Atom deleteWindow = None;
};

enum class RunEnd { Closed, WindowGone, Resized, Failed };

class EventLoop {
public:
    EventLoop(Display* display, Place& place) : display_(display), place_(place) {}

    RunEnd Run() {
        std::unique_ptr<Presenter> presenter =
            Presenter::Create(display_, place_.window, place_.visual, place_.depth, place_.width, place_.height);
        if (!presenter) {
            std::fprintf(stderr, "lumivane: not enough memory for a %dx%d sky\n", place_.width, place_.height);
            return RunEnd::Failed;
        }
        const std::shared_ptr<gfx::Surface> surface = presenter->Surface();
        if (place_.captureDesktop && !CaptureWindow(display_, DefaultRootWindow(display_), *surface))
            AppLog().Info.Log("X11Shell", "desktop not copied; the sky starts black");
        std::unique_ptr<FpsOverlay> fps;
        if (place_.showFps) fps = std::make_unique<FpsOverlay>(surface, platform::ProcessCpuMicroseconds);
        X11Host host(display_, place_.window, surface, place_.monitor);
        const WindowRole role = place_.mode == RunMode::FullScreen ? WindowRole::FullScreen : WindowRole::Preview;
        SaverSession session(host, TheUniverse(), ProgramSaverParts(), role, PasswordMode::System);
        SetWindowDestroyer([&host](WindowHandle) { host.PostClose(); });
        // The start-up effect draws its frames inside one erase; each is shown before
        // the pause that follows it.
        BindProgramParts(&host, [this, &presenter](uint32_t ms) {
            presenter->PresentDirty();
            XFlush(display_);
            TheClock().Sleep(ms);
            presenter->WaitForServer();
        });
        // A picture drawn in the middle of a tick (the splash) is shown at once.
        struct PresentNow {
            Presenter* presenter;
            Display* display;
        } presentNow{presenter.get(), display_};
        SetSkyPresenter(
            [](void* context) {
                auto* now = static_cast<PresentNow*>(context);
                now->presenter->PresentDirty();
                XFlush(now->display);
            },
            &presentNow);
        InstallSkyErrorPainter();

        session.Create();
        session.Erase(host.EraseTarget());
        presenter->PresentAll();
        XFlush(display_);

        int64_t suspended = SuspendedMs();
        while (!session.Ended() && end_ == RunEnd::Closed) {
            if (stopRequested) {
                AppLog().Info.Log("X11Shell", "stopped by a signal");
                session.RequestClose();
                break;
            }
            // One read of the connection a wake-up; what arrives while the events are
            // handled is read at the next.
            int queued = XEventsQueued(display_, QueuedAfterReading);
            while (!session.Ended() && end_ == RunEnd::Closed && queued > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                Handle(event, session, *presenter);
                queued = XEventsQueued(display_, QueuedAlready);
            }
            session.DispatchPostedClose();
            if (session.Ended() || end_ != RunEnd::Closed) break;

            const int64_t nowSuspended = SuspendedMs();
            if (nowSuspended - suspended > 1000) session.Resumed();
            suspended = nowSuspended;

            // The last put's completion has mostly come in with the events above by now.
            presenter->WaitForServer();
            session.RunDueTimers();
            if (session.Ended()) break;
            if (fps) fps->Frame(TheClock().TickCount(), SaverRun().TickCounter);
            if (presenter->PresentDirty()) XFlush(display_);

            long wait = host.Timers().MsUntilDue(TheClock().TickCount());
            if (wait < 0 || wait > kMaxWaitMs) wait = kMaxWaitMs;
            // Events Xlib has read already (while it flushed) would not wake a poll.
            if (XEventsQueued(display_, QueuedAlready) == 0) {
                pollfd fd{ConnectionNumber(display_), POLLIN, 0};
                poll(&fd, wait <= kBlindWaitMs ? 0 : 1, static_cast<int>(wait));
            }
        }
        // A resize or a vanished window ends the run without the rules' say.
        if (end_ == RunEnd::Resized) session.RequestClose();
        SetSkyPresenter(nullptr, nullptr);
        BindProgramParts(nullptr);
        SetWindowDestroyer(nullptr);
        return end_;
    }

private:
    void Handle(const XEvent& event, SaverSession& session, Presenter& presenter) {
        if (presenter.HandleEvent(event)) return;
        if (event.xany.window != place_.window) return;
        const bool fullScreen = place_.mode == RunMode::FullScreen;
        switch (event.type) {
            case Expose:
                if (event.xexpose.count == 0) presenter.PresentAll();
                break;
            case ConfigureNotify:
                if (!fullScreen && (event.xconfigure.width != place_.width || event.xconfigure.height != place_.height)) {
                    place_.width = event.xconfigure.width;
                    place_.height = event.xconfigure.height;
                    end_ = RunEnd::Resized;
                }
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == place_.window) {
                    session.WindowGone();
                    end_ = RunEnd::WindowGone;
                }
                break;
            case KeyPress:
                if (fullScreen) {
                    session.KeyOrButton();
                } else if (place_.mode == RunMode::Window) {
                    const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
                    if (key == XK_Escape || key == XK_q || key == XK_Q) session.RequestClose();
                }
                break;
            case ButtonPress:
                if (fullScreen) session.KeyOrButton();
                break;
            case MotionNotify:
                if (fullScreen) session.MouseMove({event.xmotion.x_root, event.xmotion.y_root});
                break;
            case FocusOut:
                // Our own grab moves the focus too (NotifyGrab/NotifyUngrab); only a real
                // change of focus is the loss of activation.
                if (fullScreen && (event.xfocus.mode == NotifyNormal || event.xfocus.mode == NotifyWhileGrabbed) &&
                    event.xfocus.detail != NotifyInferior && event.xfocus.detail != NotifyPointer)
                    session.ActivationLost();
                break;
            case VisibilityNotify:
                // A notification popping up over the saver is pushed back under it.
                if (fullScreen && event.xvisibility.state != VisibilityUnobscured) XRaiseWindow(display_, place_.window);
                presenter.SetVisible(event.xvisibility.state != VisibilityFullyObscured);
                break;
            case UnmapNotify:
                presenter.SetVisible(false);
                break;
            case MapNotify:
                presenter.SetVisible(true);
                break;
            case ClientMessage:
                if (place_.deleteWindow != None && static_cast<Atom>(event.xclient.data.l[0]) == place_.deleteWindow)
                    session.RequestClose();
                break;
            default:
                break;
        }
    }

    Display* display_;
    Place& place_;
    RunEnd end_ = RunEnd::Closed;
};

// Runs sessions in place until one ends for good; a resize starts a new one at the new
// size, once the size has settled (a window dragged larger sends many).
int RunInPlace(Display* display, Place& place) {
    for (;;) {
        const RunEnd end = EventLoop(display, place).Run();
        if (end == RunEnd::Failed) return 1;
        if (end != RunEnd::Resized) return 0;
        ResetSaverRun();
        for (;;) {
            pollfd fd{ConnectionNumber(display), POLLIN, 0};
            XSync(display, False);
            if (XPending(display) == 0 && poll(&fd, 1, 150) <= 0) break;
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.xany.window != place.window) continue;
                if (event.type == ConfigureNotify) {
                    place.width = event.xconfigure.width;
                    place.height = event.xconfigure.height;
                } else if (event.type == DestroyNotify) {
                    return 0;
                }
            }
        }
        if (place.width <= 0 || place.height <= 0) return 0;
        AppLog().Info.Log("X11Shell", "window resized; the sky starts again");
    }
}

bool UsableVisual(Display* display, const Visual* visual, int depth) {
    const std::string problem = CheckVisual(display, visual, depth);
    if (problem.empty()) return true;
    std::fprintf(stderr, "lumivane: cannot show the sky: %s\n", problem.c_str());
    return false;
}

// The window of a full-screen saver already running on this display, or 0. It is ours
// only while it still exists and still carries our mark (window ids are reused).
Window RunningSaver(Display* display, Atom mark) {
    const Window root = DefaultRootWindow(display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window named = 0;
    if (XGetWindowProperty(display, root, mark, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        if (type == XA_WINDOW && format == 32 && count == 1) named = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    if (!named) return 0;
    ErrorTrap trap(display);
    unsigned char* own = nullptr;
    const int status =
        XGetWindowProperty(display, named, mark, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &own);
    const bool alive = !trap.Failed() && status == Success && own && type == XA_WINDOW && count == 1;
    if (own) XFree(own);
    return alive ? named : 0;
}

void Grab(Display* display, Window window, Cursor cursor) {
    // Another program may hold a grab for a moment (a menu open); try for about a second.
    bool keyboard = false, pointer = false;
    for (int attempt = 0; attempt < 20 && !(keyboard && pointer); ++attempt) {
        if (!keyboard)
            keyboard = XGrabKeyboard(display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
        if (!pointer)
            pointer = XGrabPointer(display, window, True, ButtonPressMask | PointerMotionMask, GrabModeAsync,
                                   GrabModeAsync, None, cursor, CurrentTime) == GrabSuccess;
        if (!(keyboard && pointer)) usleep(50 * 1000);
    }
    if (!keyboard) AppLog().Warning.Log("X11Shell", "keyboard not grabbed");
    if (!pointer) AppLog().Warning.Log("X11Shell", "pointer not grabbed");
}

void WaitForMap(Display* display, Window window) {
    for (int waited = 0; waited < 2000; waited += 20) {
        XEvent event;
        if (XCheckTypedWindowEvent(display, window, MapNotify, &event)) return;
        usleep(20 * 1000);
    }
}

int RunFullScreen(Display* display, X11MessageBoxes* boxes, bool showFps) {
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    Place place;
    place.mode = RunMode::FullScreen;
    place.visual = DefaultVisual(display, screen);
    place.depth = DefaultDepth(display, screen);
    place.width = DisplayWidth(display, screen);
    place.height = DisplayHeight(display, screen);
    place.monitor = PrimaryMonitor(display);
    place.captureDesktop = true;
    place.showFps = showFps;
    if (!UsableVisual(display, place.visual, place.depth)) return 1;

    const Atom mark = XInternAtom(display, kInstanceAtom, False);
    // Checked and claimed with the server held, so two savers started together cannot
    // both see the other missing.
    XGrabServer(display);
    if (const Window running = RunningSaver(display, mark)) {
        XRaiseWindow(display, running);
        XUngrabServer(display);
        XSync(display, False);
        AppLog().Info.Log("X11Shell", "a full-screen saver runs already");
        return 0;
    }
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixmap = None;  // the desktop stays visible until the first picture
    attributes.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | ExposureMask | FocusChangeMask |
                            StructureNotifyMask | VisibilityChangeMask;
    WindowOwner window(display, XCreateWindow(display, root, 0, 0, static_cast<unsigned>(place.width),
                                              static_cast<unsigned>(place.height), 0, place.depth, InputOutput,
                                              place.visual, CWOverrideRedirect | CWBackPixmap | CWEventMask,
                                              &attributes));
    place.window = window.Get();
    XChangeProperty(display, root, mark, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&place.window), 1);
    XChangeProperty(display, place.window, mark, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&place.window), 1);
    XUngrabServer(display);
    XStoreName(display, place.window, "Screen Saver");
    XClassHint hint{const_cast<char*>("lumivane"), const_cast<char*>("Lumivane")};
    XSetClassHint(display, place.window, &hint);

    CursorOwner blank = MakeBlankCursor(display, place.window);
    if (blank.Get()) XDefineCursor(display, place.window, blank.Get());
    XMapRaised(display, place.window);
    WaitForMap(display, place.window);
    XSetInputFocus(display, place.window, RevertToParent, CurrentTime);
    Grab(display, place.window, blank.Get());
    // A box would get no input while we hold it all: we lend it the grabs while it is up.
    if (boxes)
        boxes->SetGrabHandOver({[display] {
                                    XUngrabPointer(display, CurrentTime);
                                    XUngrabKeyboard(display, CurrentTime);
                                    XFlush(display);
                                },
                                [display, &place, &blank] { Grab(display, place.window, blank.Get()); }});

    const int code = RunInPlace(display, place);
    if (boxes) boxes->SetGrabHandOver({});

    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    if (RunningSaver(display, mark) == place.window) XDeleteProperty(display, root, mark);
    window.Reset();
    XSync(display, False);
    return code;
}

int RunPlainWindow(Display* display, const WindowGeometry& geometry, bool showFps) {
    const int screen = DefaultScreen(display);
    Place place;
    place.mode = RunMode::Window;
    place.visual = DefaultVisual(display, screen);
    place.depth = DefaultDepth(display, screen);
    place.width = geometry.width > 0 ? geometry.width : kDefaultWindowWidth;
    place.height = geometry.height > 0 ? geometry.height : kDefaultWindowHeight;
    place.monitor = {0, 0, place.width, place.height};
    place.showFps = showFps;
    if (!UsableVisual(display, place.visual, place.depth)) return 1;

    // X geometry offsets: a negative one counts from the right or bottom edge.
    int x = 0, y = 0;
    if (geometry.hasPosition) {
        x = geometry.x >= 0 ? geometry.x : DisplayWidth(display, screen) + geometry.x - place.width;
        y = geometry.y >= 0 ? geometry.y : DisplayHeight(display, screen) + geometry.y - place.height;
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = KeyPressMask | ExposureMask | StructureNotifyMask | VisibilityChangeMask;
    WindowOwner window(display, XCreateWindow(display, RootWindow(display, screen), x, y,
                                              static_cast<unsigned>(place.width), static_cast<unsigned>(place.height),
                                              0, place.depth, InputOutput, place.visual, CWBackPixel | CWEventMask,
                                              &attributes));
    place.window = window.Get();
    XStoreName(display, place.window, "Lumivane");
    XClassHint hint{const_cast<char*>("lumivane"), const_cast<char*>("Lumivane")};
    XSetClassHint(display, place.window, &hint);
    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = PSize | (geometry.width > 0 ? USSize : 0) | (geometry.hasPosition ? USPosition : 0);
        size->x = x;
        size->y = y;
        size->width = place.width;
        size->height = place.height;
        XSetWMNormalHints(display, place.window, size);
        XFree(size);
    }
    place.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, place.window, &place.deleteWindow, 1);
    XMapRaised(display, place.window);
    WaitForMap(display, place.window);
    return RunInPlace(display, place);
}

int RunInForeignWindow(Display* display, Window target, RunMode mode, bool showFps) {
    XWindowAttributes attributes{};
    {
        ErrorTrap trap(display);
        const Status ok = XGetWindowAttributes(display, target, &attributes);
        if (trap.Failed() || !ok) {
            std::fprintf(stderr, "lumivane: there is no window 0x%lx\n", static_cast<unsigned long>(target));
            return -1;
        }
    }
    Place place;
    place.mode = mode;
    place.window = target;
    place.visual = attributes.visual;
    place.depth = attributes.depth;
    place.width = attributes.width;
    place.height = attributes.height;
    place.showFps = showFps;
    // The sky is the window: messages placed on a monitor larger than it would be lost.
    place.monitor = mode == RunMode::Root ? PrimaryMonitor(display) : MonitorBox{0, 0, place.width, place.height};
    if (!UsableVisual(display, place.visual, place.depth)) return 1;
    {
        ErrorTrap trap(display);
        XSelectInput(display, target, ExposureMask | StructureNotifyMask | VisibilityChangeMask);
        if (trap.Failed()) return -1;
    }
    return RunInPlace(display, place);
}

}  // namespace

int RunSaverShell(const CommandLine& command) {
    if (command.mode == RunMode::ChangePassword) {
        std::fprintf(stderr, "lumivane: the password is the system's business here\n");
        return -1;
    }
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        const char* name = XDisplayName(nullptr);
        std::fprintf(stderr,
                     "lumivane: cannot open the X display \"%s\"; is DISPLAY set?\n"
                     "Without a display, 'lumivane --snapshot sky.png' draws the sky into a picture.\n",
                     name ? name : "");
        return 1;
    }
    InstallErrorHandler();
    StopSignals signals;
    ScopedX11MessageBoxes boxes;
    ProgramSound sound;
    switch (command.mode) {
        case RunMode::FullScreen:
            return RunFullScreen(display.get(), boxes.Boxes(), command.fps);
        case RunMode::Window:
            return RunPlainWindow(display.get(), command.geometry, command.fps);
        case RunMode::Preview:
            return RunInForeignWindow(display.get(), static_cast<Window>(command.window), RunMode::Preview, command.fps);
        case RunMode::Root:
            return RunInForeignWindow(display.get(), DefaultRootWindow(display.get()), RunMode::Root, command.fps);
        default:
            return 2;
    }
}

}  // namespace lumi
