#include "shell/gtk/GtkMessageBoxes.h"

#include "shell/gtk/GtkText.h"

namespace lumi::gtkui {

namespace {

// An owner handle is used only when it is one of our own open windows; anything else (an
// id from another program, a window already gone) gives a box without an owner.
GtkWindow* OwnWindow(WindowHandle owner) {
    if (!owner) return nullptr;
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* found = nullptr;
    for (GList* w = windows; w; w = w->next) {
        if (w->data == owner && gtk_widget_get_visible(GTK_WIDGET(w->data))) found = GTK_WINDOW(w->data);
    }
    g_list_free(windows);
    return found;
}

GtkMessageType TypeOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error: return GTK_MESSAGE_ERROR;
        case BoxIcon::Warning: return GTK_MESSAGE_WARNING;
        case BoxIcon::Information: return GTK_MESSAGE_INFO;
        case BoxIcon::Question: return GTK_MESSAGE_QUESTION;
        case BoxIcon::None: break;
    }
    return GTK_MESSAGE_OTHER;
}

}  // namespace

GtkMessageBoxes::GtkMessageBoxes() { SetMessageBoxes(this); }
GtkMessageBoxes::~GtkMessageBoxes() { SetMessageBoxes(nullptr); }

BoxResult GtkMessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                                BoxButtons buttons) {
    GtkWidget* box = gtk_message_dialog_new(OwnWindow(owner), GTK_DIALOG_MODAL, TypeOf(icon), GTK_BUTTONS_NONE, "%s",
                                            ToWidgetText(text).c_str());
    gtk_window_set_title(GTK_WINDOW(box), Utf8FromCodePage(caption).c_str());
    switch (buttons) {
        case BoxButtons::Ok:
            gtk_dialog_add_button(GTK_DIALOG(box), "_OK", GTK_RESPONSE_OK);
            break;
        case BoxButtons::OkCancel:
            gtk_dialog_add_buttons(GTK_DIALOG(box), "_Cancel", GTK_RESPONSE_CANCEL, "_OK", GTK_RESPONSE_OK, nullptr);
            break;
        case BoxButtons::YesNo:
            gtk_dialog_add_buttons(GTK_DIALOG(box), "_No", GTK_RESPONSE_NO, "_Yes", GTK_RESPONSE_YES, nullptr);
            break;
    }
    gtk_dialog_set_default_response(GTK_DIALOG(box), buttons == BoxButtons::YesNo ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    switch (response) {
        case GTK_RESPONSE_OK: return BoxResult::Ok;
        case GTK_RESPONSE_YES: return BoxResult::Yes;
        case GTK_RESPONSE_NO: return BoxResult::No;
        default: break;
    }
    // Escape or the close box: what the platform's boxes answer then.
    return buttons == BoxButtons::YesNo ? BoxResult::No : buttons == BoxButtons::Ok ? BoxResult::Ok : BoxResult::Cancel;
}

}  // namespace lumi::gtkui
