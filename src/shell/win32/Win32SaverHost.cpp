// The saver window's side of the Win32 shell: timers, cursor, monitor, and presenting the
// raster the sky is drawn into.
#include "shell/win32/Win32SaverHost.h"

#include "gfx/DirtyRegion.h"
#include "gfx/Surface.h"
#include "base/Log.h"

namespace lumi::win32 {

namespace {

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

bool CaptureScreenUnder(HWND window, gfx::Surface& surface) {
    const int width = surface.Width();
    const int height = surface.Height();
    if (width <= 0 || height <= 0) return false;
    POINT origin{0, 0};
    if (!ClientToScreen(window, &origin)) return false;

    WindowDC screen(nullptr);
    if (!screen.Get()) return false;
    MemoryDC memory(screen.Get());
    if (!memory.Get()) return false;
    BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    BitmapOwner section(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section.Get() || !bits) return false;

    const HGDIOBJ previous = SelectObject(memory.Get(), section.Get());
    const bool copied =
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY | CAPTUREBLT) != 0;
    SelectObject(memory.Get(), previous);
    if (!copied) return false;
    GdiFlush();  // the section's bits are complete only once GDI's batch is done

    // A 32-bit top-down DIB has the surface's own row layout; only the unused top byte
    // may hold anything and must be cleared.
    const auto* source = static_cast<const uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        const uint32_t* from = source + static_cast<size_t>(y) * width;
        uint32_t* to = surface.Row(y);
        for (int x = 0; x < width; ++x) to[x] = from[x] & 0x00FFFFFFu;
    }
    // The screen shows this already; the first paint of the window presents it anyway.
    if (gfx::DirtyRegion* dirty = surface.Dirty()) dirty->Clear();
    return true;
}

void PresentRect(HDC dc, const gfx::Surface& surface, const gfx::Rect& rect) {
    const int left = rect.left < 0 ? 0 : rect.left;
    const int top = rect.top < 0 ? 0 : rect.top;
    const int right = rect.right > surface.Width() ? surface.Width() : rect.right;
    const int bottom = rect.bottom > surface.Height() ? surface.Height() : rect.bottom;
    if (right <= left || bottom <= top) return;
    const int rows = bottom - top;
    // The DIB is the band of whole rows holding the rectangle: source row 0 is row `top`,
    // whatever way the platform counts source rows of a top-down DIB.
    BITMAPINFO info = TopDownInfo(surface.Width(), rows);
    SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(right - left), static_cast<DWORD>(rows), left, 0, 0,
                      static_cast<UINT>(rows), surface.Row(top), &info, DIB_RGB_COLORS);
}

DibSection::DibSection(HDC dc, HBITMAP bitmap, uint32_t* bits)
    : dc_(dc), bitmap_(bitmap), previous_(SelectObject(dc, bitmap)), bits_(bits) {}

DibSection::~DibSection() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

std::shared_ptr<DibSection> DibSection::Create(HDC like, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    HDC dc = CreateCompatibleDC(like);
    if (!dc) return nullptr;
    BITMAPINFO info = TopDownInfo(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        DeleteDC(dc);
        return nullptr;
    }
    return std::shared_ptr<DibSection>(new DibSection(dc, bitmap, static_cast<uint32_t*>(bits)));
}

std::shared_ptr<gfx::Surface> CreateWindowRaster(HWND window, int width, int height,
                                                 std::shared_ptr<DibSection>& dib) {
    WindowDC screen(window);
    dib = screen.Get() ? DibSection::Create(screen.Get(), width, height) : nullptr;
    if (dib) {
        // The section lives as long as the surface over its bits: the release holds it.
        std::shared_ptr<DibSection> holder = dib;
        auto surface = gfx::Surface::Wrap(width, height, dib->Bits(), [holder](uint32_t*) {}, gfx::DirtyTracking::On);
        if (surface) return surface;
        dib.reset();
    }
    AppLog().Info.Log("ScreenSaverProc", "no DIB section; presenting from memory");
    return gfx::Surface::Create(width, height, gfx::DirtyTracking::On);
}

Win32SaverHost::Win32SaverHost(HWND window, std::shared_ptr<gfx::Surface> surface, std::shared_ptr<DibSection> dib)
    : SurfaceHost(TheClock(), std::move(surface)), window_(window), dib_(std::move(dib)), dc_(window) {}

unsigned Win32SaverHost::SetTimer(unsigned id, unsigned periodMs) {
    return static_cast<unsigned>(::SetTimer(window_, id, periodMs, nullptr));
}

void Win32SaverHost::KillTimer(unsigned id) { ::KillTimer(window_, id); }

void Win32SaverHost::PostClose() { PostMessageA(window_, WM_CLOSE, 0, 0); }

SkyPoint Win32SaverHost::GetCursorPos() {
    POINT p{0, 0};
    if (!::GetCursorPos(&p)) return {};
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

void Win32SaverHost::SetCursorPos(SkyPoint at) { ::SetCursorPos(at.x, at.y); }

SkyRect Win32SaverHost::WindowScreenRect() {
    RECT r{};
    if (!GetWindowRect(window_, &r)) return ClientRect();
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

SkyRect Win32SaverHost::PrimaryMonitorRect() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR monitor = MonitorFromWindow(GetDesktopWindow(), MONITOR_DEFAULTTOPRIMARY);
    if (monitor && GetMonitorInfoA(monitor, &info))
        return {static_cast<int>(info.rcMonitor.left), static_cast<int>(info.rcMonitor.top),
                static_cast<int>(info.rcMonitor.right), static_cast<int>(info.rcMonitor.bottom)};
    // Without the monitor functions the primary display is the one the metrics describe.
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32SaverHost::SetToolWindowStyle() { SetWindowLongA(window_, GWL_EXSTYLE, WS_EX_TOOLWINDOW); }

bool Win32SaverHost::Hidden() const { return locked_ || IsIconic(window_); }

void Win32SaverHost::Send(HDC dc, const gfx::Rect& rect) {
    if (dib_) {
        BitBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), dib_->Dc(), rect.left, rect.top, SRCCOPY);
    } else {
        PresentRect(dc, *Surface(), rect);
    }
}

void Win32SaverHost::MoveScrolledBlock(gfx::DirtyRegion& dirty) {
    const gfx::DirtyRegion::Scroll& scroll = dirty.PendingScroll();
    if (!scroll.valid) return;
    const gfx::Rect& to = scroll.area;
    // The window's own pixels move: what they showed dx to the left lands in the block.
    // Whatever the window could not supply (covered parts) comes back as the update
    // rectangle and is sent from the raster with the marks.
    const RECT clip{to.left, to.top, to.right, to.bottom};
    const RECT from{scroll.dx < 0 ? to.left : to.left - scroll.dx, to.top,
                    scroll.dx < 0 ? to.right - scroll.dx : to.right, to.bottom};
    RECT update{};
    if (!ScrollDC(dc_.Get(), scroll.dx, 0, &from, &clip, nullptr, &update)) {
        dirty.MarkScrollInstead();
        return;
    }
    if (update.right > update.left && update.bottom > update.top)
        dirty.Add({static_cast<int>(update.left), static_cast<int>(update.top), static_cast<int>(update.right),
                   static_cast<int>(update.bottom)});
}

void Win32SaverHost::PresentDirty(KeepMarked keep) {
    gfx::DirtyRegion* dirty = Surface()->Dirty();
    if (!dirty || dirty->IsEmpty()) return;
    // A hidden window gets a paint of the whole when it shows again.
    if (dc_.Get() && !Hidden()) {
        // A block moved now would be moved again by the next present, which sends the
        // same marks once more.
        if (keep == KeepMarked::Yes) dirty->MarkScrollInstead();
        MoveScrolledBlock(*dirty);
        for (const gfx::Rect& r : dirty->Collect()) Send(dc_.Get(), r);
        // GDI may batch the blits; they must have read the section before the sky draws
        // into it again.
        GdiFlush();
    }
    if (keep == KeepMarked::No) dirty->Clear();
}

void Win32SaverHost::PresentAll(HDC dc) {
    // The changes stay marked: a paint may be clipped to a part of the window, and the
    // next present sends them where it is not.
    Send(dc, {0, 0, Surface()->Width(), Surface()->Height()});
    GdiFlush();
}

void Win32SaverHost::SetSessionLocked(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    if (!locked_) InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace lumi::win32
