// What the settings dialogs' logic needs from a window system: the controls of one dialog
// window (texts, checks, lists, pictures, geometry), its timers, and the nested dialogs and
// choosers it opens. The Windows front-end implements it over dialog templates, the GTK one
// over its widgets, and the tests over a fake, so every rule of the dialogs is written once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace lumi::gfx {
class Image;
}

namespace lumi::dialogs {

// Screen pixels, or a control's own pixels where said.
struct Point {
    int x = 0;
    int y = 0;
};
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

// One line of a file chooser's filter: "WAV files (*.WAV)" with "*.WAV".
struct FileFilter {
    std::string label;
    std::string pattern;
};

// The text font as the font chooser shows and returns it. The colour is 0x00BBGGRR.
struct FontChoice {
    std::string face;
    double pointSize = 10;
    int charSet = 0;
    uint32_t color = 0xFFFF00;
};

class Controls;

// The behaviour of one dialog or property page. The front-end calls these from its event
// handlers; every handler gets the controls of the window it belongs to.
class DialogLogic {
public:
    virtual ~DialogLogic() = default;
    // The window and its controls exist; fill them.
    virtual void Open(Controls& controls) = 0;
    // A button was pressed, a check box or radio button clicked (its state already changed),
    // or a menu/accelerator command arrived. IDC_OK is Return and OK, IDC_CANCEL is Escape,
    // Cancel and the close box. A modal dialog ends itself with Controls::End.
    virtual void Command(Controls& controls, int id) = 0;
    // A timer started with Controls::StartTimer fell due.
    virtual void Timer(Controls& /*controls*/, int /*timerId*/) {}
    // The window is painted: draw what is drawn by hand (DrawPicture).
    virtual void Paint(Controls& /*controls*/) {}
    // Pages only: the sheet's OK stores the page. Called for every page that was opened.
    virtual void Apply(Controls& /*controls*/) {}
    // Pages only: the page is left for another one, or the sheet closes (OK or Cancel)
    // while it is the current page. Called before Apply.
    virtual void Leave(Controls& /*controls*/) {}
};

// One page of a property sheet, in the order shown.
struct SheetPage {
    int templateId = 0;
    std::string caption;
    DialogLogic* logic = nullptr;
};

// The controls of one dialog window and the services it reaches through them. Control
// numbers are those of dialogs/DialogIds.h; 0 is the window itself where said.
class Controls {
public:
    virtual ~Controls() = default;

    // The window, as the owner of message boxes and of the dialogs it opens.
    virtual WindowHandle Window() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;

    // Texts of edits, static texts and buttons. Line breaks are "\r\n" both ways, as the
    // settings file keeps them.
    virtual std::string Text(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    // Puts the keyboard focus on a control, with all its text selected when asked.
    virtual void Focus(int id, bool selectAll) = 0;

    // Check boxes and radio buttons. Setting a check does not produce a Command. Radio
    // buttons are independent here: the logic unchecks the others itself.
    virtual bool Checked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Show(int id, bool shown) = 0;

    // Combo boxes: the entries, and the selected one (-1 for none).
    virtual void SetItems(int id, const std::vector<std::string>& items) = 0;
    virtual int Selection(int id) const = 0;
    virtual void SetSelection(int id, int index) = 0;

    // A picture control shows image at its own size, centred; nullptr shows nothing.
    // The front-end copies what it needs.
    virtual void SetPicture(int id, const gfx::Image* image) = 0;
    // Inside Paint only: fills the control's area less one pixel on each side with white and
    // draws image (if any) scaled into dest, given in the control's own pixels.
    virtual void DrawPicture(int id, const gfx::Image* image, const Rect& dest) = 0;
    // Asks for a repaint of one control, or of the whole window with 0.
    virtual void Repaint(int id) = 0;

    // Geometry for the runaway button, all in screen pixels.
    virtual Point CursorPosition() const = 0;
    virtual Rect WindowRect() const = 0;
    virtual Rect ControlRect(int id) const = 0;
    // Moves a control so that its top-left corner lies at the given screen point.
    virtual void MoveControl(int id, Point topLeft) = 0;
    // True while the button is held down by the mouse or the space bar.
    virtual bool IsPushed(int id) const = 0;

    // Repeating timers of this window, by number.
    virtual void StartTimer(int timerId, int milliseconds) = 0;
    virtual void StopTimer(int timerId) = 0;

    // Ends this modal dialog (or the main dialog) with a result: 1 for OK, 0 for Cancel.
    virtual void End(int result) = 0;

    // Opens a modal dialog owned by this window, driven by logic; returns the result it
    // ended with, or -1 when it could not be shown.
    virtual int RunModal(int templateId, DialogLogic& logic) = 0;
    // Opens the property sheet owned by this window with the first page current, and
    // returns when it closes.
    virtual void RunSheet(const std::string& caption, const std::vector<SheetPage>& pages) = 0;

    // The platform's file chooser: path holds the starting file and receives the choice.
    // False when nothing was chosen; error then holds the chooser's own error code (0 for
    // a cancel), for the log.
    virtual bool ChooseFile(const std::string& title, const std::vector<FileFilter>& filters, std::string& path,
                            unsigned long& error) = 0;
    // The platform's folder chooser: path receives the folder. False when nothing was chosen.
    virtual bool ChooseFolder(const std::string& title, std::string& path) = 0;
    // The platform's font chooser, starting from font; what the user chose comes back in
    // it, or the starting values after a cancel.
    virtual void ChooseFont(FontChoice& font) = 0;

    // Opens the help page carried with the program (a file name such as "lumivan.htm").
    // False when it is missing or nothing could show it.
    virtual bool OpenHelpPage(const std::string& page) = 0;
    // Starts this program's saver to show the sky at once (full screen on Windows, in a
    // window on Linux). False when it could not be started.
    virtual bool StartPreview() = 0;
};

}  // namespace lumi::dialogs
