// One dialog's widgets as a template builds them: the content, and every control by its
// number, so the controls interface can find it. The helpers build the kinds of control
// the dialogs use, spaced as GNOME's guidelines ask (12 pixels between groups, 6 within).
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

namespace lumi::gtkui {

struct Form {
    std::string title;
    GtkWidget* content = nullptr;  // packed into the window
    std::map<int, GtkWidget*> controls;
    // What Show hides with a control (a text view's scrolled window), when not the control.
    std::map<int, GtkWidget*> outer;
    // For each radio button, the hidden member of its group that is active when the
    // dialog checks none.
    std::map<int, GtkWidget*> noRadio;
    // A layer in which controls can be moved freely (the main dialog's runaway OK), and
    // where each control in it was put (the layer's own pixels).
    GtkWidget* layer = nullptr;
    std::map<int, std::pair<int, int>> placed;
    // Buttons that go into the header bar: start (Cancel) and end (OK).
    GtkWidget* headerStart = nullptr;
    GtkWidget* headerEnd = nullptr;
};

constexpr int kGroupSpacing = 12;
constexpr int kRowSpacing = 6;

// Widgets without a number.
GtkWidget* Label(const std::string& text, GtkWidget* mnemonicFor = nullptr);
GtkWidget* Wrapped(const std::string& text, int widthChars);
GtkWidget* Heading(const std::string& text);
GtkWidget* Column(int spacing = kRowSpacing);
GtkWidget* Row(int spacing = kRowSpacing);
// A heading with its rows below, indented as the guidelines show groups.
GtkWidget* Group(const std::string& title, GtkWidget* body);
void Add(GtkWidget* box, GtkWidget* child, bool expand = false);

// Controls, registered under their numbers. Texts are the dialogs' own ('&' mnemonics,
// code page); labels are UTF-8 with '_' mnemonics.
GtkWidget* Edit(Form& form, int id, int widthChars = 0);
GtkWidget* Password(Form& form, int id);
GtkWidget* TextBox(Form& form, int id, int lines);
GtkWidget* Check(Form& form, int id, const std::string& label);
// Radio buttons of one group, in the order given.
std::vector<GtkWidget*> Radios(Form& form, const std::vector<std::pair<int, std::string>>& buttons);
GtkWidget* Button(Form& form, int id, const std::string& label);
GtkWidget* Combo(Form& form, int id);
GtkWidget* Static(Form& form, int id, const std::string& text = "");
GtkWidget* Picture(Form& form, int id);
GtkWidget* PaintArea(Form& form, int id, int width, int height);
// A label under which a control follows, its mnemonic pointing at it.
GtkWidget* Labelled(const std::string& label, GtkWidget* control, GtkWidget* target = nullptr);
// OK and Cancel in the header bar.
void HeaderButtons(Form& form, const std::string& ok = "_OK", const std::string& cancel = "_Cancel");

}  // namespace lumi::gtkui
