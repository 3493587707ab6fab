// The controls of one Windows dialog or page: the dialog functions on its items, pictures
// as bitmaps the controls show or the logic draws, geometry and timers. The choosers are
// in Win32Choosers.cpp.
#include "shell/win32/Win32Controls.h"

#include "base/Log.h"
#include "gfx/Image.h"
#include "shell/Win32DialogFormats.h"
#include "shell/win32/Win32DialogHost.h"

namespace lumi::win32 {

namespace {

dialogs::Rect RectOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// A 24-bit header for rows as BottomUpBgrRows lays them out.
BITMAPINFO BitmapInfoFor(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// How many times 96 pixels an inch the window's monitor has. The pictures are drawn for
// 96; on a finer monitor they grow with the dialog units around them.
double DpiScale(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Windows 10 knows each window's monitor; older systems have one DPI for all.
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
    if (dpi == 0) {
        const HDC dc = GetDC(window);
        dpi = dc ? static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY)) : 96;
        if (dc) ReleaseDC(window, dc);
    }
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

// Draws the picture into dest with halftone, which keeps a shrunk or grown photo smooth.
void StretchPicture(HDC dc, const gfx::Image& image, const std::vector<uint8_t>& rows, const RECT& dest) {
    const BITMAPINFO info = BitmapInfoFor(image.Width(), image.Height());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // halftone needs it after the mode
    StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, image.Width(),
                  image.Height(), rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// A bitmap a static control can show, width x height pixels. 24 bits, so the current
// static control uses it as it is instead of making a copy of its own (which it does for
// pictures with alpha).
HBITMAP MakeBitmap(const gfx::Image& image, int width, int height) {
    const std::vector<uint8_t> rows = shell::BottomUpBgrRows(image);
    if (rows.empty() || width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info = BitmapInfoFor(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        AppLog().Error.Log("Win32Controls::SetPicture", "CreateDIBSection failed");
        return nullptr;
    }
    if (width == image.Width() && height == image.Height()) {
        memcpy(bits, rows.data(), rows.size());
    } else if (const HDC memory = CreateCompatibleDC(nullptr)) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        StretchPicture(memory, image, rows, RECT{0, 0, width, height});
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    GdiFlush();
    return bitmap;
}

}  // namespace

Win32Controls::Win32Controls(HWND window, DialogKind kind) : window_(window), kind_(kind) {}

Win32Controls::~Win32Controls() { ReleasePictures(); }

HWND Win32Controls::Item(int id) const { return id == 0 ? window_ : GetDlgItem(window_, id); }

HWND Win32Controls::Owner() const {
    const HWND root = GetAncestor(window_, GA_ROOT);
    return root ? root : window_;
}

void Win32Controls::ReleasePictures() {
    for (auto& [id, bitmap] : pictures_) {
        // A control still showing our bitmap gives it up first, so it never draws a
        // deleted one.
        const HWND control = GetDlgItem(window_, id);
        if (control &&
            reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) == bitmap) {
            SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, 0);
        }
        DeleteObject(bitmap);
    }
    pictures_.clear();
}

void Win32Controls::SetCaption(const std::string& caption) { SetWindowTextA(window_, caption.c_str()); }

std::string Win32Controls::Text(int id) const {
    const HWND item = Item(id);
    if (!item) return {};
    const int length = GetWindowTextLengthA(item);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const UINT got = id == 0 ? static_cast<UINT>(GetWindowTextA(item, text.data(), length + 1))
                             : GetDlgItemTextA(window_, id, text.data(), length + 1);
    text.resize(got);
    return text;
}

void Win32Controls::SetText(int id, const std::string& text) {
    if (id == 0) {
        SetWindowTextA(window_, text.c_str());
        return;
    }
    SetDlgItemTextA(window_, id, text.c_str());
}

void Win32Controls::Focus(int id, bool selectAll) {
    const HWND item = Item(id);
    if (!item) return;
    SetFocus(item);
    if (selectAll) SendMessageA(item, EM_SETSEL, 0, -1);
    focusSet_ = true;
}

bool Win32Controls::Checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

void Win32Controls::SetChecked(int id, bool checked) {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Controls::Enable(int id, bool enabled) {
    if (const HWND item = Item(id)) EnableWindow(item, enabled ? TRUE : FALSE);
}

void Win32Controls::Show(int id, bool shown) {
    if (const HWND item = Item(id)) ShowWindow(item, shown ? SW_SHOW : SW_HIDE);
}

void Win32Controls::SetItems(int id, const std::vector<std::string>& items) {
    SendDlgItemMessageA(window_, id, CB_RESETCONTENT, 0, 0);
    for (const auto& item : items) {
        SendDlgItemMessageA(window_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

int Win32Controls::Selection(int id) const {
    const LRESULT index = SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32Controls::SetSelection(int id, int index) {
    // -1 clears the selection.
    SendDlgItemMessageA(window_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32Controls::SetPicture(int id, const gfx::Image* image) {
    const HWND control = GetDlgItem(window_, id);
    if (!control) return;
    HBITMAP bitmap = nullptr;
    if (image && !image->Empty()) {
        RECT room{};
        GetClientRect(control, &room);
        const dialogs::Rect size =
            shell::ScaledPictureSize(image->Width(), image->Height(), DpiScale(window_), room.right, room.bottom);
        bitmap = MakeBitmap(*image, size.width, size.height);
    }
    // What the control showed before is ours only when we made it; one from the template
    // belongs to the control.
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    auto previous = pictures_.find(id);
    if (previous != pictures_.end()) {
        DeleteObject(previous->second);
        pictures_.erase(previous);
    }
    if (bitmap) pictures_[id] = bitmap;
    InvalidateRect(control, nullptr, TRUE);
}

void Win32Controls::PaintItem(dialogs::DialogLogic& logic, const DRAWITEMSTRUCT& item) {
    paintingId_ = static_cast<int>(item.CtlID);
    paintDc_ = item.hDC;
    paintRect_ = item.rcItem;
    struct Done {
        Win32Controls* self;
        ~Done() {
            self->paintingId_ = 0;
            self->paintDc_ = nullptr;
        }
    } done{this};
    logic.Paint(*this);
}

void Win32Controls::DrawPicture(int id, const gfx::Image* image, const dialogs::Rect& dest) {
    // Only the item being painted has a device context to draw into.
    if (id != paintingId_ || !paintDc_) return;
    const HDC dc = paintDc_;
    RECT inner = paintRect_;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &paintRect_, GetSysColorBrush(COLOR_3DSHADOW));
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!image || image->Empty() || dest.width <= 0 || dest.height <= 0) return;
    RECT target{paintRect_.left + dest.x, paintRect_.top + dest.y, 0, 0};
    target.right = target.left + dest.width;
    target.bottom = target.top + dest.height;
    if (dest.width == image->Width() && dest.height == image->Height()) {
        // A picture at its own size grows with the monitor, about the same centre.
        const dialogs::Rect size = shell::ScaledPictureSize(image->Width(), image->Height(), DpiScale(window_),
                                                            inner.right - inner.left, inner.bottom - inner.top);
        target.left += (dest.width - size.width) / 2;
        target.top += (dest.height - size.height) / 2;
        target.right = target.left + size.width;
        target.bottom = target.top + size.height;
    }
    const std::vector<uint8_t> rows = shell::BottomUpBgrRows(*image);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    StretchPicture(dc, *image, rows, target);
    RestoreDC(dc, saved);
}

void Win32Controls::Repaint(int id) {
    if (const HWND item = Item(id)) InvalidateRect(item, nullptr, TRUE);
}

dialogs::Point Win32Controls::CursorPosition() const {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

dialogs::Rect Win32Controls::WindowRect() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return RectOf(r);
}

dialogs::Rect Win32Controls::ControlRect(int id) const {
    RECT r{};
    if (const HWND item = Item(id)) GetWindowRect(item, &r);
    return RectOf(r);
}

void Win32Controls::MoveControl(int id, dialogs::Point topLeft) {
    const HWND control = GetDlgItem(window_, id);
    if (!control) return;
    RECT r{};
    GetWindowRect(control, &r);
    POINT p{topLeft.x, topLeft.y};
    ScreenToClient(window_, &p);
    MoveWindow(control, p.x, p.y, r.right - r.left, r.bottom - r.top, TRUE);
}

bool Win32Controls::IsPushed(int id) const {
    return (SendDlgItemMessageA(window_, id, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

void Win32Controls::StartTimer(int timerId, int milliseconds) {
    if (!SetTimer(window_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds), nullptr)) {
        AppLog().Error.Log("Win32Controls::StartTimer", static_cast<long long>(GetLastError()));
    }
}

void Win32Controls::StopTimer(int timerId) { KillTimer(window_, static_cast<UINT_PTR>(timerId)); }

void Win32Controls::End(int result) {
    if (kind_ == DialogKind::Page) {
        // A page closes with its sheet.
        AppLog().Warning.Log("Win32Controls::End", "a page cannot end itself");
        return;
    }
    EndDialog(window_, result);
}

int Win32Controls::RunModal(int templateId, dialogs::DialogLogic& logic) {
    return RunModalDialog(Owner(), templateId, logic);
}

void Win32Controls::RunSheet(const std::string& caption, const std::vector<dialogs::SheetPage>& pages) {
    RunPropertySheet(Owner(), caption, pages);
}

}  // namespace lumi::win32
