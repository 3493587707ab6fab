// The settings dialogs' controls over a Windows dialog window: texts, checks, lists and
// pictures through the dialog functions, geometry in screen pixels, timers, the nested
// dialogs and property sheet made from this module's templates, and the system's choosers.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "dialogs/Controls.h"

namespace lumi::win32 {

// What kind of window the controls belong to: a page cannot end itself.
enum class DialogKind { Modal, Page };

class Win32Controls : public dialogs::Controls {
public:
    Win32Controls(HWND window, DialogKind kind);
    ~Win32Controls() override;
    Win32Controls(const Win32Controls&) = delete;
    Win32Controls& operator=(const Win32Controls&) = delete;

    // Whether the logic put the focus somewhere while opening: the dialog procedure then
    // answers WM_INITDIALOG with FALSE so the system leaves it there.
    bool FocusSet() const { return focusSet_; }
    // WM_DRAWITEM of an owner-drawn static: the logic paints, and DrawPicture draws into
    // this item's device context.
    void PaintItem(dialogs::DialogLogic& logic, const DRAWITEMSTRUCT& item);
    // Takes the pictures back from the controls and deletes them (the window closes).
    void ReleasePictures();

    WindowHandle Window() const override { return window_; }
    void SetCaption(const std::string& caption) override;
    std::string Text(int id) const override;
    void SetText(int id, const std::string& text) override;
    void Focus(int id, bool selectAll) override;
    bool Checked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void Enable(int id, bool enabled) override;
    void Show(int id, bool shown) override;
    void SetItems(int id, const std::vector<std::string>& items) override;
    int Selection(int id) const override;
    void SetSelection(int id, int index) override;
    void SetPicture(int id, const gfx::Image* image) override;
    void DrawPicture(int id, const gfx::Image* image, const dialogs::Rect& dest) override;
    void Repaint(int id) override;
    dialogs::Point CursorPosition() const override;
    dialogs::Rect WindowRect() const override;
    dialogs::Rect ControlRect(int id) const override;
    void MoveControl(int id, dialogs::Point topLeft) override;
    bool IsPushed(int id) const override;
    void StartTimer(int timerId, int milliseconds) override;
    void StopTimer(int timerId) override;
    void End(int result) override;
    int RunModal(int templateId, dialogs::DialogLogic& logic) override;
    void RunSheet(const std::string& caption, const std::vector<dialogs::SheetPage>& pages) override;
    bool ChooseFile(const std::string& title, const std::vector<dialogs::FileFilter>& filters, std::string& path,
                    unsigned long& error) override;
    bool ChooseFolder(const std::string& title, std::string& path) override;
    void ChooseFont(dialogs::FontChoice& font) override;
    bool OpenHelpPage(const std::string& page) override;
    bool StartPreview() override;

private:
    // The control, or the window itself for 0.
    HWND Item(int id) const;
    // The top-level window: the owner of what this window opens (a page's is the sheet).
    HWND Owner() const;

    HWND window_;
    DialogKind kind_;
    bool focusSet_ = false;
    std::map<int, HBITMAP> pictures_;  // made by SetPicture, owned here
    // Set while PaintItem runs.
    int paintingId_ = 0;
    HDC paintDc_ = nullptr;
    RECT paintRect_{};
};

// The module that holds our templates and bitmaps, and its file's full path.
HMODULE OwnModule();
std::string OwnModulePath();

}  // namespace lumi::win32
