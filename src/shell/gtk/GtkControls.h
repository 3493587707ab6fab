// The dialogs' controls interface over GTK widgets: one dialog window or property page,
// its controls found by number in the form a template built, its timers, and the nested
// dialogs, sheet and choosers it opens.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <vector>

#include "dialogs/Controls.h"
#include "shell/gtk/GtkForm.h"

namespace lumi::gtkui {

class GtkControls : public dialogs::Controls {
public:
    // window: the toplevel the controls live in (the sheet's window for a page).
    GtkControls(GtkWindow* window, Form& form, dialogs::DialogLogic& logic);
    ~GtkControls() override;
    GtkControls(const GtkControls&) = delete;
    GtkControls& operator=(const GtkControls&) = delete;

    // Connects the controls to the logic and lets it fill them.
    void Open();
    // Runs until the logic calls End (at once when it already did); returns its result.
    int RunUntilEnd();
    bool Ended() const { return ended_; }
    // A modal window's whole life: Open, the window shown unless the logic ended already,
    // RunUntilEnd, Detach. Returns the logic's result.
    int Run();
    // Passes a command on (Return, Escape, the close box).
    void Command(int id);
    // Stops the timers and cuts the widgets off from the logic, before the window goes.
    void Detach();

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
    struct Binding {
        GtkControls* self;
        int id;
        GtkWidget* widget;
        gulong handler;
    };
    struct TimerSlot {
        GtkControls* self;
        int id;
        guint source;
    };

    GtkWidget* Find(int id) const;
    Binding* BindingOf(int id);
    dialogs::Point ScreenOrigin(GtkWidget* widget) const;
    static void OnClicked(GtkButton* button, Binding* binding);
    static void OnToggled(GtkToggleButton* button, Binding* binding);
    static void OnChanged(GtkComboBox* combo, Binding* binding);
    class Quiet;
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, Binding* binding);
    static gboolean OnTimer(gpointer slot);

    GtkWindow* window_;
    Form& form_;
    dialogs::DialogLogic& logic_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::map<int, std::unique_ptr<TimerSlot>> timers_;
    GMainLoop* loop_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    // While a paint area draws: its number and its cairo context.
    int paintingId_ = 0;
    cairo_t* painting_ = nullptr;
};

// A toplevel for a form, owned by owner (nullptr for the main window): the caption in a
// header bar with the form's header buttons, and the form's content.
GtkWidget* MakeDialogWindow(Form& form, GtkWindow* owner);
// Sends Return, Escape and the close box of window to the controls as OK and Cancel.
void ForwardKeys(GtkWidget* window, GtkControls* controls);

// Return and Escape as a dialog takes them: Escape is Cancel; Return is OK unless a push
// button has the focus (it takes Return itself); in a text box Ctrl+Return and
// Shift+Return insert a line break. True when the key was used.
bool DialogKey(GtkWindow* window, GdkEventKey* event, void (*command)(gpointer, int), gpointer data);

}  // namespace lumi::gtkui
